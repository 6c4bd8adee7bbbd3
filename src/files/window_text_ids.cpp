// The window's own texts: their English built in (in WindowText order), looked up by text and by
// English, and their targets in the language files' range from kFirstWindowTextId.
#include <cstddef>
#include <iterator>
#include <optional>

#include "files/text_ids.h"
#include "files/text_ids_internal.h"

namespace kaldor {
namespace {

using text_targets::make;

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

}  // namespace

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

const std::array<TextTarget, kWindowTextIdCount>& windowTextIdTable() {
    return kWindowTable;
}

}  // namespace kaldor
