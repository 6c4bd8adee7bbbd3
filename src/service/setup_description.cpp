#include "service/setup_description.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "emulation/emulator_cell_names.h"
#include "emulation/emulator_settings.h"
#include "files/text_ids.h"
#include "maps/correction_maps.h"
#include "maps/field_text.h"
#include "maps/map_cell_names.h"
#include "model/codec.h"
#include "model/number_pattern.h"
#include "model/switch_over_edits.h"
#include "service/image_diff.h"
#include "service/setting_rows.h"

namespace kaldor {
namespace {

using F = FieldId;
using C = CaptionFrom;

// The maps and their axes, described cell by cell rather than as settings.
constexpr FieldId kMapFields[] = {
    F::MainMapColumnAxis, F::MainMapRowAxis,  F::MainMap,          F::CruiseMap,
    F::CorrectionMaps,    F::TpsEmulatorAxis, F::TpsEmulatorTable, F::StepEmulatorTable,
};

bool isMapField(FieldId id) {
    return std::find(std::begin(kMapFields), std::end(kMapFields), id) != std::end(kMapFields);
}

// The first setting a page shows of the field; nullptr for a field no page shows.
const SettingRow* describedControlOf(FieldId id) {
    for (const SettingRow& d : pageSettings())
        if (d.field == id && d.described)
            return &d;
    return nullptr;
}

std::string textOf(const SetupTexts& texts, std::string_view name, std::string_view builtIn) {
    const auto found = texts.captions.find(name);
    return found != texts.captions.end() ? found->second : std::string(builtIn);
}

std::string pageCaption(const SetupTexts& texts, std::string_view page) {
    const SettingContainer* c = findSettingPage(page);
    if (c == nullptr)
        return std::string(page);
    const std::string caption = withoutKeyHint(textOf(texts, c->name, c->caption));
    return caption.empty() ? std::string(c->unnamed) : caption;
}

std::string groupCaption(const SetupTexts& texts, std::string_view group) {
    const SettingContainer* c = findSettingGroup(group);
    return c == nullptr ? std::string() : textOf(texts, c->name, c->caption);
}

std::string captionOf(const SettingRow& d, const SetupTexts& texts) {
    CaptionTexts lookup;
    lookup.shown = [&texts](std::string_view name, std::string_view builtIn) {
        return textOf(texts, name, builtIn);
    };
    lookup.spoken = [&texts](SpokenText text) {
        const auto loaded = texts.spokenTexts.find(static_cast<int>(text));
        return loaded != texts.spokenTexts.end() ? loaded->second
                                                 : std::string(spokenTextEnglish(text));
    };
    return settingCaption(d, lookup);
}

// Both bits clear leave the relay list as it was: "off" for a set-up read afresh.
int relayShownItem(const EcuImage& image) {
    return emulatorModeShown(image).relayItem.value_or(0);
}

std::optional<double> shownOf(const SettingRow& d, const EcuImage& image) {
    if (d.bit >= 0)
        return (readField(image, d.field) >> d.bit) & 1u;
    switch (d.shownItem) {
        case ShownItem::EmulatorMode:
            return emulatorModeItem(image);
        case ShownItem::RelayMode:
            return relayShownItem(image);
        case ShownItem::Field:
            break;
    }
    return shownValue(image, d.field);
}

// The value as the control shows it after the refresh.
ShownField controlValue(const SettingRow& d, const EcuImage& image, const SetupTexts& texts) {
    const std::optional<double> shown = shownOf(d, image);
    const std::string raw = "raw " + std::to_string(readField(image, d.field));
    if (!shown)
        return {raw, ""};
    switch (d.editor) {
        case SettingEditor::List: {
            const std::vector<std::string> items = settingItems(d);
            // A value the list does not offer: the list stays empty and says what it holds.
            if (*shown < 0 || *shown >= static_cast<double>(items.size()))
                return {raw, ""};
            const auto index = static_cast<int>(*shown);
            const auto found = texts.items.find({std::string(d.control), index});
            return {
                found != texts.items.end() ? found->second : items[static_cast<std::size_t>(index)],
                ""};
        }
        case SettingEditor::Tick:
            return {*shown != 0 ? "on" : "off", ""};
        case SettingEditor::Spin:
            break;
    }
    return {patternText(*shown, d.spin.pattern), fieldShown(image, d.field, 0).unit};
}

std::string withUnit(const ShownField& shown) {
    return shown.unit.empty() ? shown.value : shown.value + " " + shown.unit;
}

// A cell by its axis values, as its grid heads its row and column.
std::string cellName(const EcuImage& image, FieldId id, std::size_t element,
                     const SetupTexts& texts, unsigned softwareRevision) {
    if (std::optional<std::string> name = emulatorCellName(image, id, element))
        return *name;
    return mapCellName(image, id, element, softwareRevision, [&texts](const CorrectionMapDef& map) {
        return textOf(texts, map.label, map.caption);
    });
}

std::string cellValue(const EcuImage& image, FieldId id, std::size_t element) {
    if (std::optional<std::string> value = emulatorAxisValue(image, id, element))
        return *value;
    return fieldValueText(image, id, element);
}

// A field no page shows: its value with no list item it could be taken for.
std::string internalValue(const EcuImage& image, FieldId id, std::size_t element) {
    const Encoding e = fieldDef(id).encoding;
    if (e == Encoding::Index || e == Encoding::IndexPlus1 || e == Encoding::IndexTimes10 ||
        e == Encoding::IndexTimes81 || e == Encoding::InputChannel)
        return std::to_string(readField(image, id, element));
    return fieldValueText(image, id, element);
}

// A field whose bits each have a control of their own is named by their place together and reads
// as the captions of those that are on.
std::string bitByBitName(const SettingRow& first, const SetupTexts& texts) {
    const std::string group = groupCaption(texts, first.group);
    return pageCaption(texts, first.page) + " / " +
           (group.empty() ? mapsGroupName(F::CorrectionMaps) : group);
}

std::string bitByBitValue(FieldId id, const EcuImage& image, const SetupTexts& texts) {
    std::string on;
    for (const SettingRow& d : pageSettings())
        if (d.field == id && d.bit >= 0 && ((readField(image, id) >> d.bit) & 1u) != 0)
            on += (on.empty() ? "" : ", ") + withoutColon(textOf(texts, d.label, d.caption));
    return on.empty() ? "none" : on;
}

}  // namespace

std::string withoutKeyHint(const std::string& caption) {
    if (!caption.empty() && caption.front() == '[') {
        const std::size_t close = caption.find(']');
        if (close != std::string::npos)
            return caption.substr(close + 1);
    }
    return caption;
}

SetupTexts setupTexts(const LanguageFile& language) {
    SetupTexts texts;
    for (const LanguageEntry& entry : language.entries) {
        const TextTarget* target = findTextId(entry.id);
        if (target == nullptr)
            continue;
        // Menu items too, by their objectName: the history names its commands by them.
        if (target->kind == TextKind::Caption || target->kind == TextKind::Menu)
            texts.captions[std::string(target->control)] = entry.text;
        else if (target->kind == TextKind::ListItem)
            texts.items[{std::string(target->control), target->index}] = entry.text;
        else if (target->kind == TextKind::ErrorText)
            texts.errorTexts[target->index] = entry.text;
        else if (target->kind == TextKind::StatusText)
            texts.statusTexts[target->index] = entry.text;
        else if (target->kind == TextKind::ReportText)
            texts.reportTexts[target->index] = entry.text;
        else if (target->kind == TextKind::WindowText)
            texts.windowTexts[target->index] = entry.text;
        else if (target->kind == TextKind::SpokenText)
            texts.spokenTexts[target->index] = entry.text;
    }
    return texts;
}

std::string windowText(const SetupTexts& texts, WindowText text) {
    const auto loaded = texts.windowTexts.find(static_cast<int>(text));
    return loaded != texts.windowTexts.end() ? loaded->second
                                             : std::string(windowTextEnglish(text));
}

std::string translatedEnglish(const SetupTexts& texts, const std::string& english) {
    const std::optional<WindowText> text = windowTextOfEnglish(english);
    return text ? windowText(texts, *text) : english;
}

SetupDescription describeSetup(const EcuImage& image, const SetupTexts& texts,
                               unsigned softwareRevision) {
    SetupDescription description;
    for (const SettingRow& d : pageSettings()) {
        if (!d.described)
            continue;
        const ShownField shown = controlValue(d, image, texts);
        description.settings.push_back({pageCaption(texts, d.page), groupCaption(texts, d.group),
                                        captionOf(d, texts), shown.value, shown.unit, d.field, 0,
                                        std::string(d.control)});
    }
    for (FieldId id : kMapFields) {
        const FieldDef& def = fieldDef(id);
        for (std::size_t e = 0; e < def.count; ++e)
            description.maps.push_back({"", mapsGroupName(id),
                                        cellName(image, id, e, texts, softwareRevision),
                                        cellValue(image, id, e), "", id, e, ""});
    }
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        const FieldDef& def = fieldAt(i);
        if (describedControlOf(def.id) != nullptr || isMapField(def.id))
            continue;
        for (std::size_t e = 0; e < def.count; ++e)
            description.internal.push_back({"", "internal", fieldElementName(def.id, e),
                                            internalValue(image, def.id, e), "", def.id, e, ""});
    }
    return description;
}

std::string setupElementName(const EcuImage& image, FieldId id, std::size_t element,
                             const SetupTexts& texts, unsigned softwareRevision) {
    if (const SettingRow* d = describedControlOf(id)) {
        if (d->bit >= 0)
            return bitByBitName(*d, texts);
        std::string name = pageCaption(texts, d->page) + " / ";
        const std::string group = groupCaption(texts, d->group);
        if (!group.empty() && d->captionFrom != C::GroupUnit)
            name += group + " / ";
        return name + captionOf(*d, texts);
    }
    if (isMapField(id))
        return mapsGroupName(id) + " " + cellName(image, id, element, texts, softwareRevision);
    return fieldElementName(id, element);
}

std::string setupElementValue(const EcuImage& image, FieldId id, std::size_t element,
                              const SetupTexts& texts) {
    if (const SettingRow* d = describedControlOf(id))
        return d->bit >= 0 ? bitByBitValue(id, image, texts)
                           : withUnit(controlValue(*d, image, texts));
    if (isMapField(id))
        return cellValue(image, id, element);
    return internalValue(image, id, element);
}

}  // namespace kaldor
