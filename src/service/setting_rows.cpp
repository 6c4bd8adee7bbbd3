#include "service/setting_rows.h"

#include <algorithm>

#include "diagnostics/enabled_errors.h"
#include "emulation/emulator_maps.h"
#include "maps/correction_maps.h"
#include "maps/map_types.h"
#include "model/codec.h"
#include "model/list_items.h"
#include "model/switch_over_edits.h"

namespace kaldor {
namespace {

// "on"/"off" of each correction map: the row is the map's label, its grid, then this list.
SettingRow correctionEnable(const CorrectionMapDef& map) {
    SettingRow row = settingRow(map.enableCombo, FieldId::CorrectionMapEnable, "TabSheet5", "");
    row.captionFrom = CaptionFrom::LabelPlace;
    row.label = map.label;
    row.caption = map.caption;
    row.place = 2;
    row.items = kOffOnItems.data();
    row.itemCount = kOffOnItems.size();
    row.bit = static_cast<int>(map.enableBit);
    return row;
}

SettingRow enabledErrorTick(const EnabledErrorBox& box) {
    SettingRow row =
        settingRow(box.checkBox, FieldId::EnabledErrors, "TabSheet5", "GroupBoxEnError");
    row.captionFrom = CaptionFrom::Own;
    row.label = box.checkBox;
    row.caption = box.caption;
    row.editor = SettingEditor::Tick;
    row.bit = static_cast<int>(box.bit);
    return row;
}

std::vector<SettingRow> withFamilies() {
    const SettingsTable table = settingsTable();
    std::vector<SettingRow> rows(table.begin(), table.end());
    const auto firstOf = [&rows](std::string_view control) {
        return std::find_if(rows.begin(), rows.end(),
                            [control](const SettingRow& r) { return r.control == control; });
    };
    // The advanced page: the correction maps on its left, the groups on its right.
    std::vector<SettingRow> enables;
    for (const CorrectionMapDef& map : correctionMaps())
        enables.push_back(correctionEnable(map));
    rows.insert(firstOf("AbNumSpinTpsCutOff"), enables.begin(), enables.end());
    std::vector<SettingRow> errors;
    for (const EnabledErrorBox& box : kEnabledErrorBoxes)
        errors.push_back(enabledErrorTick(box));
    rows.insert(firstOf("AbNumSpinV4") + 1, errors.begin(), errors.end());
    return rows;
}

template <typename Row, std::size_t N>
std::vector<std::string> itemTextsOf(const std::array<Row, N>& rows) {
    std::vector<std::string> items;
    for (const Row& row : rows)
        items.emplace_back(row.item);
    return items;
}

}  // namespace

const std::vector<SettingRow>& pageSettings() {
    static const std::vector<SettingRow> rows = withFamilies();
    return rows;
}

const SettingRow* findPageSetting(std::string_view control) {
    const std::vector<SettingRow>& rows = pageSettings();
    const auto found = std::find_if(
        rows.begin(), rows.end(), [control](const SettingRow& r) { return r.control == control; });
    return found != rows.end() ? &*found : nullptr;
}

std::vector<std::string> settingItems(const SettingRow& row) {
    std::vector<std::string> items;
    if (row.editor != SettingEditor::List)
        return items;
    switch (row.source) {
        case ListSource::Items:
            items.assign(row.items, row.items + row.itemCount);
            break;
        case ListSource::OnTemperatures:
            for (int t = kOnTemperatureFirst; t <= kOnTemperatureLast; ++t)
                items.push_back(std::to_string(t));
            break;
        case ListSource::EgtMaxima:
            for (int i = 0; i < kEgtMaxItems; ++i)
                items.push_back(egtMaxItem(i));
            break;
        case ListSource::EmulatorModes:
            items = itemTextsOf(kEmulatorModes);
            break;
        case ListSource::MapTypes:
            items = itemTextsOf(kMapTypes);
            break;
        case ListSource::EmuInputs:
            items = itemTextsOf(kEmuInputs);
            break;
    }
    return items;
}

std::string withoutColon(std::string text) {
    while (!text.empty() && (text.back() == ':' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string_view groupBuiltInCaption(std::string_view group) {
    const SettingContainer* c = findSettingGroup(group);
    return c != nullptr ? c->caption : std::string_view();
}

std::string settingCaption(const SettingRow& row, const CaptionTexts& texts) {
    switch (row.captionFrom) {
        case CaptionFrom::Label:
        case CaptionFrom::Own:
            return withoutColon(texts.shown(row.label, row.caption));
        case CaptionFrom::GroupUnit:
            return texts.shown(row.group, groupBuiltInCaption(row.group)) + ", " +
                   texts.shown(row.label, row.caption);
        case CaptionFrom::LabelPlace:
            return withoutColon(texts.shown(row.label, row.caption)) + " " +
                   std::to_string(row.place);
        case CaptionFrom::Spoken:
            break;
    }
    std::string name = texts.spoken(row.spoken);
    if (const std::size_t at = name.find("%1"); row.place > 0 && at != std::string::npos)
        name.replace(at, 2, std::to_string(row.place));
    return name;
}

}  // namespace kaldor
