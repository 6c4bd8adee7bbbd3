#include "files/text_ids.h"

#include <algorithm>

#include "files/text_ids_internal.h"
#include "model/settings_table.h"

namespace kaldor {
namespace {

using text_targets::make;

constexpr TextTarget caption(TextId id, std::string_view control) {
    return make(id, TextKind::Caption, control);
}
constexpr TextTarget menu(TextId id, std::string_view control) {
    return make(id, TextKind::Menu, control);
}
constexpr TextTarget textOn(TextId id, std::string_view control) {
    return make(id, TextKind::TextOn, control);
}
constexpr TextTarget textOff(TextId id, std::string_view control) {
    return make(id, TextKind::TextOff, control);
}
constexpr TextTarget item(TextId id, std::string_view control, int index) {
    return make(id, TextKind::ListItem, control, index);
}
// The last replaced entry of a list that then selects by an image field.
constexpr TextTarget itemThen(TextId id, std::string_view control, int index, FieldId field) {
    return make(id, TextKind::ListItem, control, index, Reselect::FromField, field);
}
// The last replaced entry of a list that then selects entry 0.
constexpr TextTarget itemThenZero(TextId id, std::string_view control, int index) {
    return make(id, TextKind::ListItem, control, index, Reselect::EntryZero);
}

// Ids below the error texts.
constexpr TextTarget kControlTexts[] = {
    caption(100001, "TabSheet1"),
    caption(100002, "TabSheet2"),
    caption(100003, "TabSheet3"),
    caption(100004, "TabSheet4"),
    menu(100101, "File1"),
    menu(100102, "savetodisk1"),
    menu(100103, "loadtoECU1"),
    menu(100104, "exit1"),
    menu(100105, "port1"),
    menu(100106, "F10autoconnect1"),
    menu(100107, "options1"),
    menu(100108, "F2readings1"),
    menu(100109, "F3parameters1"),
    menu(100110, "F4adjustment1"),
    menu(100111, "F5diagnostic1"),
    menu(100112, "petro1"),
    menu(100113, "auto1"),
    menu(100114, "propane1"),
    menu(100115, "RESET1"),
    menu(100116, "language1"),
    menu(100117, "help1"),
    menu(100121, "English1"),
    menu(100122, "Polish1"),
    menu(100123, "Russian1"),
    menu(100124, "Thai1"),
    menu(100125, "Lithuania1"),
    menu(100126, "LoadMap1"),
    caption(100201, "LabelPasDif"),
    caption(100202, "LabelPasVac"),
    caption(100203, "LabelPasAbs"),
    caption(100204, "LabelPasRpm"),
    caption(100205, "LabelTempG"),
    caption(100206, "LabelTempR"),
    caption(100207, "LabelAirFlow"),
    caption(100208, "LabelTPSpas"),
    caption(100209, "LabelRailPresPas"),
    caption(100210, "LabelPasLevel"),
    caption(100211, "LabelPasLevel2"),
    caption(100212, "AbLEDReduktor"),
    caption(100213, "AbLEDZaworEzaw"),
    caption(100214, "AbLEDdiesel"),
    caption(100215, "LabelPasStatus"),
    textOff(100216, "AbColBitBtnPasBenzyna"),
    textOn(100217, "AbColBitBtnPasBenzyna"),
    textOff(100218, "AbColBitBtnPasAutomat"),
    textOn(100219, "AbColBitBtnPasAutomat"),
    textOff(100220, "AbColBitBtnPasGaz"),
    textOn(100221, "AbColBitBtnPasGaz"),
    caption(100301, "LabelOdLambda"),
    caption(100302, "LabelTPS"),
    caption(100303, "LabelCommonRail"),
    caption(100304, "LabelOdT"),
    caption(100305, "LabelOdTg"),
    caption(100306, "LabelOdTR"),
    caption(100307, "LabelOdLevel"),
    caption(100308, "AbLEDRed"),
    caption(100309, "AbLEDEzaw"),
    caption(100310, "AbLEDdies"),
    caption(100311, "LabelStep"),
    caption(100416, "LabelRegulatorMode"),
    caption(100417, "LabelEGT"),
    caption(100418, "GroupBoxPar3"),
    caption(100463, "LabelPower"),
    item(100464, "ComboBoxEnginePower", 0),
    caption(100502, "CheckBoxModPchar"),
    caption(100504, "LabelMapSmooth"),
    caption(100505, "LabelMapDefine"),
    caption(100506, "ButtonMapSmooth"),
    itemThenZero(100521, "ComboBoxInjTdefs", 0),
    item(100531, "ComboBoxMapReset", 1),
    item(100532, "ComboBoxMapReset", 2),
    item(100533, "ComboBoxMapReset", 3),
    itemThenZero(100534, "ComboBoxMapReset", 4),
    caption(100601, "TabSheet6"),
    caption(100602, "TabSheet7"),
    caption(100603, "TabSheet8"),
    caption(100612, "ButtonErrorShow"),
    textOn(100613, "AbColBitBtnErase"),
    textOff(100614, "AbColBitBtnErase"),
};

// Ids above the status texts.
constexpr TextTarget kLateControlTexts[] = {
    caption(100901, "ButtonSaveEeprom"),
    caption(100904, "ButtonSetTps"),
    caption(100905, "ButtonTempomat"),
};

// The settings' captions and list items: their ids are rows of the settings table.
template <typename Add>
void addSettingTexts(Add add) {
    for (const SettingRow& row : settingsTable()) {
        if (row.captionId != 0)
            add(caption(row.captionId, row.label));
        for (int i = 0; i < row.itemIds; ++i) {
            const TextId id = row.firstItemId + TextId(i);
            const bool last = i + 1 == row.itemIds;
            if (last && row.reselect == ItemReselect::FromField)
                add(itemThen(id, row.control, i, row.field));
            else if (last && row.reselect == ItemReselect::EntryZero)
                add(itemThenZero(id, row.control, i));
            else
                add(item(id, row.control, i));
        }
    }
}

// In id order; a table that would not hold kTextIdCount texts leaves the rest empty (id 0),
// which the tests of the table catch. Made at its first use, after the settings table.
std::array<TextTarget, kTextIdCount> sortedTable() {
    std::array<TextTarget, kTextIdCount> table{};
    std::size_t n = 0;
    const auto add = [&table, &n](const TextTarget& target) {
        if (n < table.size())
            table[n++] = target;
    };
    for (const TextTarget& target : kControlTexts)
        add(target);
    for (int i = 0; i < kErrorTextIdCount; ++i)
        add(make(kFirstErrorTextId + TextId(i), TextKind::ErrorText, {}, i));
    for (int i = 0; i < kStatusTextIdCount; ++i)
        add(make(kFirstStatusTextId + TextId(i), TextKind::StatusText, {}, i));
    for (const TextTarget& target : kLateControlTexts)
        add(target);
    addSettingTexts(add);
    std::sort(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(n),
              [](const TextTarget& a, const TextTarget& b) { return a.id < b.id; });
    return table;
}

const std::array<TextTarget, kTextIdCount>& table() {
    static const std::array<TextTarget, kTextIdCount> sorted = sortedTable();
    return sorted;
}

constexpr std::array<TextTarget, kReportTextIdCount> kReportTable = [] {
    std::array<TextTarget, kReportTextIdCount> table{};
    for (int i = 0; i < kReportTextIdCount; ++i)
        table[static_cast<std::size_t>(i)] =
            make(kFirstReportTextId + TextId(i), TextKind::ReportText, {}, i);
    return table;
}();
static_assert(kReportTextIdCount <= 256, "the index is one byte");

constexpr std::array<TextTarget, kCellTextIdCount> kCellTable{{
    caption(101450, "ButtonMapCells"),
    caption(101451, "ButtonCellsOpen"),
    caption(101452, "LabelCellsRecordingCaption"),
    caption(101453, "LabelCellsStatisticCaption"),
    caption(101454, "LabelCellsSignalCaption"),
    make(101455, TextKind::ListItem, "ComboBoxCellsStatistic", 0),
    make(101456, TextKind::ListItem, "ComboBoxCellsStatistic", 1),
    make(101457, TextKind::ListItem, "ComboBoxCellsStatistic", 2),
}};
static_assert(kCellTable.front().id == kFirstCellTextId &&
                  kCellTable.back().id == kFirstCellTextId + kCellTextIdCount - 1,
              "the cell view's ids follow each other from its first");
static_assert(kFirstCellTextId > kFirstReportTextId + kReportTextIdCount);

constexpr std::array<std::string_view, kFontControlCount> kFontControls = {
    "TForm1",
    "TabSheet1",
    "TabSheet2",
    "TabSheet3",
    "TabSheet4",
    "LabelPasDif",
    "LabelPasVac",
    "LabelPasAbs",
    "LabelPasRpm",
    "LabelTempG",
    "LabelTempR",
    "LabelAirFlow",
    "LabelTPSpas",
    "LabelRailPresPas",
    "LabelPasLevel",
    "LabelPasLevel2",
    "AbLEDReduktor",
    "AbLEDZaworEzaw",
    "AbLEDdiesel",
    "LabelPasStatus",
    "AbColBitBtnPasBenzyna",
    "AbColBitBtnPasAutomat",
    "AbColBitBtnPasGaz",
    "AbLEDStatus",
    "LabelOdLambda",
    "LabelTPS",
    "LabelCommonRail",
    "LabelOdT",
    "LabelOdTg",
    "LabelOdTR",
    "LabelOdLevel",
    "AbLEDRed",
    "AbLEDEzaw",
    "AbLEDdies",
    "LabelStep",
    "LabelRpmPower",
    "LabelCoilType",
    "LabelEgtEn",
    "LabelEgtT",
    "LabelTurbo",
    "LabelTGSEnsor",
    "LabelTRsensor",
    "LabelPresSensTyp",
    "LabelMapTyp",
    "LabelMinPsys",
    "LabelPsysDelay",
    "LabelOnTemp",
    "LabelRpmSWitch",
    "LabelDelayGaz",
    "LabelEmulator",
    "LabelRegulatorMode",
    "LabelEGT",
    "LabelMapType",
    "GroupBoxPar3",
    "LabelRefTime",
    "CheckBoxLevelSensorNegativ",
    "CheckBoxWskaznikZasilany",
    "ComboBoxDciEn",
    "ComboBoxRegulatorVacum",
    "ComboBoxEnginePower",
    "LabelRegulatorVacum",
    "LabelPower",
    "ComboBoxEGT",
    "ComboBoxTurbo",
    "LabelCisnieniePracy",
    "CheckBoxModPchar",
    "LabelMapSmooth",
    "LabelMapDefine",
    "ButtonMapSmooth",
    "ComboBoxMapa",
    "ComboBoxInjTdefs",
    "ComboBoxMapReset",
    "ComboBoxTpsCutOff",
    "ComboBoxCruise",
    "TabSheet6",
    "TabSheet7",
    "TabSheet8",
    "LabelDiagErrorAuto",
    "ButtonErrorShow",
    "AbColBitBtnErase",
    "ComboBoxGazAutoOn",
    "StringGridErrorMemory",
    "LabelWTD",
    "LabelWTG",
    "ButtonSaveEeprom",
    "LabelCutOff",
    "LabelTempomat",
    "ButtonSetTps",
    "ButtonTempomat",
};

}  // namespace

const std::array<TextTarget, kTextIdCount>& textIdTable() {
    return table();
}

const std::array<TextTarget, kReportTextIdCount>& reportTextIdTable() {
    return kReportTable;
}

const std::array<TextTarget, kCellTextIdCount>& cellTextIdTable() {
    return kCellTable;
}

const TextTarget* findTextId(TextId id) {
    if (id >= kFirstCellTextId && id - kFirstCellTextId < TextId(kCellTextIdCount))
        return &kCellTable[id - kFirstCellTextId];
    if (id >= kFirstWindowTextId && id - kFirstWindowTextId < TextId(kWindowTextIdCount))
        return &windowTextIdTable()[id - kFirstWindowTextId];
    if (id >= kFirstReportTextId && id - kFirstReportTextId < TextId(kReportTextIdCount))
        return &kReportTable[id - kFirstReportTextId];
    if (id >= kFirstSpokenTextId && id - kFirstSpokenTextId < TextId(kSpokenTextIdCount))
        return &spokenTextIdTable()[id - kFirstSpokenTextId];
    const auto& kTable = table();
    const auto it = std::lower_bound(kTable.begin(), kTable.end(), id,
                                     [](const TextTarget& t, TextId key) { return t.id < key; });
    return it != kTable.end() && it->id == id ? &*it : nullptr;
}

std::optional<int> reselectIndex(const TextTarget& target, const EcuImage& image) {
    switch (target.reselect) {
        case Reselect::FromField:
            return static_cast<int>(readField(image, target.field));
        case Reselect::EntryZero:
            return 0;
        case Reselect::None:
            break;
    }
    return std::nullopt;
}

const std::array<std::string_view, kFontControlCount>& fontFollowingControls() {
    return kFontControls;
}

}  // namespace kaldor
