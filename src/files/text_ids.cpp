#include "files/text_ids.h"

#include <algorithm>

#include "model/settings_table.h"

namespace kaldor {
namespace {

constexpr TextTarget make(TextId id, TextKind kind, std::string_view control, int index = 0,
                          Reselect reselect = Reselect::None, FieldId field = FieldId::Count) {
    return {id, kind, control, static_cast<std::uint8_t>(index), reselect, field};
}
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

// In SpokenText order.
constexpr std::array<std::string_view, kSpokenTextIdCount> kSpokenEnglish{
    "on",
    "off",
    "scope trace %1 (%2)",
    "black",
    "red",
    "green",
    "blue",
    "calibration tables",
    "engine speed",
    "differential pressure",
    "transfer progress",
    "Error memory",
    "Main map",
    "Cruise map",
    "CDi emulator type",
    "CDi threshold %1",
    "CDi value %1",
    "dynamic coefficient on",
    "dynamic coefficient",
    "assumed software revision",
    "main enrichment [%]",
    "main injection offset [ms]",
    "frequency algorithm",
    "frequency grid",
    "frequency emulator duty",
    "throttle signal kind",
    "column presets",
    "row presets",
    "diesel consumption [l/h]",
    "propane consumption [l/h]",
    "diesel table",
    "gas table",
    "correction table",
    "gas and diesel difference [%]",
    "TPS emulator table",
    "step emulator table",
};

constexpr std::array<TextTarget, kSpokenTextIdCount> kSpokenTable = [] {
    std::array<TextTarget, kSpokenTextIdCount> table{};
    for (int i = 0; i < kSpokenTextIdCount; ++i)
        table[static_cast<std::size_t>(i)] =
            make(kFirstSpokenTextId + TextId(i), TextKind::SpokenText, {}, i);
    return table;
}();
static_assert(kSpokenTextIdCount <= 50, "the spoken texts keep to 101400-101449");
static_assert(kFirstSpokenTextId >= kFirstWindowTextId + kWindowTextIdCount &&
                  kFirstSpokenTextId + kSpokenTextIdCount <= kFirstCellTextId,
              "the spoken texts follow the window's and end below the cell view's");

constexpr std::string_view kWindowEnglish[] = {
    "verify ECU",  // VerifyEcu
    "compare with file...",  // CompareWithFile
    "export log as CSV",  // ExportLogCsv
    "view log...",  // ViewLog
    "history...",  // History
    "undo",  // Undo
    "redo",  // Redo
    "%1 on %2",  // StepOnFields
    "%1 cell",  // OneCell
    "%1 cells",  // Cells
    "%1 and %2",  // TwoNames
    "%1 and %2 more",  // MoreNames
    "memory",  // Memory
    "undo history cleared: new connection",  // UndoClearedConnection
    "undo history cleared: configuration loaded",  // UndoClearedLoad
    "undo history cleared: map loaded",  // UndoClearedMap
    "undo history cleared: controller reset",  // UndoClearedReset
    "undo history cleared: history entry restored",  // UndoClearedRestore
    "undo and redo need a connected controller",  // UndoNotConnected
    "undo and redo are refused while the controller is locked",  // UndoLocked
    "nothing to undo",  // NothingToUndo
    "nothing to redo",  // NothingToRedo
    "send again",  // SendAgain
    "typed entry",  // TypedEntry
    "interpolate horizontally",  // InterpolateHorizontally
    "interpolate vertically",  // InterpolateVertically
    "interpolate from the corners",  // InterpolateCorners
    "set to value",  // SetValue
    "set to value...",  // SetValueItem
    "scale",  // Scale
    "scale by percent...",  // ScaleItem
    "copy",  // Copy
    "paste",  // Paste
    "set the selected cells to",  // SetValueQuestion
    "scale the selected cells to percent",  // ScaleQuestion
    "%1 - log viewer",  // LogViewerTitle
    "set-up file...",  // SetupFile
    "defaults",  // SetupDefaults
    "zoom in",  // ZoomIn
    "zoom out",  // ZoomOut
    "fit",  // Fit
    "save picture",  // SavePicture
    "export range as CSV",  // ExportRange
    "reload",  // Reload
    "cancel",  // Cancel
    "channels at the cursor",  // ChannelsTable
    "reading",  // Reading
    "traces",  // Traces
    "channel",  // ColumnChannel
    "value",  // ColumnValue
    "unit",  // ColumnUnit
    "minimum",  // ColumnMinimum
    "maximum",  // ColumnMaximum
    "mean",  // ColumnMean
    "set-up: the connected ECU",  // SetupConnected
    "set-up: the factory defaults",  // SetupFactory
    "set-up: %1",  // SetupOfFile
    "set-up: as exported (the CSV holds converted values)",  // SetupAsExported
    "cursor %1 (record %2 of %3)",  // Cursor
    "visible %1 to %2",  // VisibleRange
    "The logger is running: these are the lines it has logged so far; \"reload\" adds what it has logged since.",  // LoggerRunning
    "Could not write \"%1\": %2",  // CouldNotWrite
    "history",  // HistoryTitle
    "ECU serial number:",  // HistorySerial
    "compare",  // Compare
    "restore",  // Restore
    "save as...",  // SaveAs
    "close",  // Close
    "time",  // HeadingTime
    "what happened",  // HeadingWhat
    "revisions",  // HeadingRevisions
    "program",  // HeadingProgram
    "differences from the PC",  // HeadingDifferences
    "history entries",  // HistoryEntries
    "No entries kept for this ECU.",  // NoEntries
    "No controller history has been kept yet.",  // NoHistory
    "ECU %1, %2: %3",  // HistoryCompareTitle
    "The entry of %1 matches the PC",  // EntryMatches
    "The entry of %1 differs from the PC in %2",  // EntryDiffers
    "%1 location",  // OneLocation
    "%1 locations",  // Locations
    "Restore the entry of %1 (%2) of ECU %3 to the ECU?",  // RestoreQuestion
    "connected",  // HistoryConnected
    "writing the PC's values",  // HistoryWritePc
    "before %1",  // HistoryBefore
    "before restore of %1",  // HistoryBeforeRestore
    "ECU memory matches the PC (768 bytes)",  // VerifyMatches
    "ECU memory differs from the PC in %1: %2",  // VerifyDiffers
    "Nothing could be compared: no byte of the ECU memory could be read.",  // NothingCompared
    "Reconnect with F10, then load again.",  // AdviceLoadAgain
    "ECU memory could not be read completely (%1 unread).",  // NotReadCompletely
    "bytes %1",  // UnreadBytes
    "The bytes read agree with the PC.",  // ReadAgree
    "In the bytes read it differs from the PC in %1: %2",  // ReadDiffers
    "The ECU's own locations differ and are never written: %1",  // OwnDiffer
    "\"%1\" matches the PC",  // FileMatches
    "\"%1\" differs from the PC in %2",  // FileDiffers
    "write the PC's values",  // WritePc
    "take the controller's values",  // TakeEcu
    "Kept by the ECU, never written:",  // KeptByEcu
    "location",  // HeadingLocation
    "PC",  // HeadingPc
    "PDF files",  // PdfFiles
    "HTML files",  // HtmlFiles
    "no such device",  // PortNoSuchDevice
    "permission denied",  // PortPermissionDenied
    "busy (another program holds it)",  // PortBusy
    "could not be opened",  // PortNotOpened
    "; join the group \"%1\" and log in again (%2)",  // PortJoinGroup
    "; check the cable and the device named in [Ports]",  // PortCheckCable
    "; close the other program and try again",  // PortCloseOther
    "group %1",  // PortGroup
    "see %1",  // PortSee
    "stepper opening",  // ChannelStepperOpening
    "air flow input",  // ChannelAirFlowInput
    "battery",  // ChannelSupplyVoltage
    "power stage",  // ChannelPowerStage
    "rail signal",  // ChannelRailSignal
    "emulator input K1",  // ChannelEmulatorChannel1
    "emulator input K2",  // ChannelEmulatorChannel2
    "emulator correction K1",  // ChannelEmulatorCorrection1
    "emulator correction K2",  // ChannelEmulatorCorrection2
    "engine speed x 1000",  // ChannelEngineSpeedThousands
    "differential pressure",  // ChannelDifferentialPressure
    "ignition",  // ChannelIgnitionVoltage
    "chart code 1",  // ChannelChartCode1
    "chart code 2",  // ChannelChartCode2
    "ignition on",  // ChannelIgnitionOn
    "engine speed error",  // ChannelEngineSpeedError
    "fuel mode",  // ChannelFuelMode
    "pressure error",  // ChannelPressureError
    "tank level step",  // ChannelTankLevelStep
    "error memory changes",  // ChannelErrorCounter
    "EGT correction",  // ChannelEgtCorrection
    "air flow correction",  // ChannelAirFlowCorrection
    "gas temperature correction",  // ChannelGasTemperatureCorrection
    "gas pressure correction",  // ChannelGasPressureCorrection
    "reducer temperature correction",  // ChannelReducerTemperatureCorrection
    "manifold pressure correction",  // ChannelManifoldPressureCorrection
    "differential pressure correction",  // ChannelDifferentialPressureCorrection
    "emulator measuring",  // ChannelEmulatorMeasuring
    "cruise control active",  // ChannelCruiseActive
    "cut-off active",  // ChannelCutOffActive
    "emulated frequency in",  // ChannelFrequencyIn
    "emulated frequency out",  // ChannelFrequencyOut
    "digital throttle 1 in",  // ChannelDtps1In
    "throttle 1 out",  // ChannelDtps1Out
    "digital throttle 2 in",  // ChannelDtps2In
    "throttle 2 out",  // ChannelDtps2Out
    "exhaust gas signal",  // ChannelExhaustSignal
    "exhaust gas temperature",  // ChannelExhaustTemperature
    "operations per second",  // ChannelOperationsPerSecond
    "diesel work time",  // ChannelDieselWorkTime
    "propane work time",  // ChannelPropaneWorkTime
    "scatter plot",  // ScatterTitle
    "across:",  // ScatterAcross
    "up:",  // ScatterUp
    "colour:",  // ScatterColour
    "histogram:",  // ScatterHistogram
    "histogram",  // HistogramName
    "scatter plot...",  // ScatterButton
    "two channels of the visible range against each other",  // ScatterButtonTip
    "recording",  // CellsRecordingName
    "cells of the recording",  // CellsGridName
    "-",  // NoRecording
};
static_assert(std::size(kWindowEnglish) == static_cast<std::size_t>(WindowText::Count));
static_assert(kWindowTextIdCount <= 256, "the index is one byte");
static_assert(kFirstWindowTextId >= kFirstReportTextId + kReportTextIdCount &&
                  kFirstWindowTextId + kWindowTextIdCount <= 101400,
              "the window's range follows the report's and ends below the next range");

constexpr std::array<TextTarget, kWindowTextIdCount> kWindowTable = [] {
    std::array<TextTarget, kWindowTextIdCount> table{};
    for (int i = 0; i < kWindowTextIdCount; ++i)
        table[static_cast<std::size_t>(i)] =
            make(kFirstWindowTextId + TextId(i), TextKind::WindowText, {}, i);
    return table;
}();

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

std::string_view spokenTextEnglish(SpokenText text) {
    const auto index = static_cast<std::size_t>(text);
    return index < kSpokenEnglish.size() ? kSpokenEnglish[index] : std::string_view();
}

const std::array<TextTarget, kSpokenTextIdCount>& spokenTextIdTable() {
    return kSpokenTable;
}

const std::array<TextTarget, kCellTextIdCount>& cellTextIdTable() {
    return kCellTable;
}

std::string_view windowTextEnglish(WindowText text) {
    const auto at = static_cast<std::size_t>(text);
    return at < std::size(kWindowEnglish) ? kWindowEnglish[at] : std::string_view();
}

std::optional<WindowText> windowTextOfEnglish(std::string_view english) {
    for (std::size_t i = 0; i < std::size(kWindowEnglish); ++i)
        if (kWindowEnglish[i] == english)
            return static_cast<WindowText>(i);
    return std::nullopt;
}

const TextTarget* findTextId(TextId id) {
    if (id >= kFirstCellTextId && id - kFirstCellTextId < TextId(kCellTextIdCount))
        return &kCellTable[id - kFirstCellTextId];
    if (id >= kFirstWindowTextId && id - kFirstWindowTextId < TextId(kWindowTextIdCount))
        return &kWindowTable[id - kFirstWindowTextId];
    if (id >= kFirstReportTextId && id - kFirstReportTextId < TextId(kReportTextIdCount))
        return &kReportTable[id - kFirstReportTextId];
    if (id >= kFirstSpokenTextId && id - kFirstSpokenTextId < TextId(kSpokenTextIdCount))
        return &kSpokenTable[id - kFirstSpokenTextId];
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
