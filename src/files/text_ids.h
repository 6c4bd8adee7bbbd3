#pragma once
// Where each text of a language file goes: the table from TextId to its target (a control by
// objectName, an error text or a status text), the lists whose selection is set again after
// their entries are replaced, and the controls whose font follows the language.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/ecu_image.h"
#include "model/fields.h"
#include "model/spoken_text.h"

namespace kaldor {

using TextId = std::uint32_t;

enum class TextKind : std::uint8_t {
    Caption,     // visible text of a label, check box, button, group box or page
    Menu,        // caption of a menu item
    TextOn,      // two-state button, text shown when on
    TextOff,     // two-state button, text shown when off
    ListItem,    // entry `index` of a drop-down list
    ErrorText,   // entry `index` of the error-text table
    StatusText,  // status text `index` (the order of StatusTexts)
    ReportText,  // text `index` of the set-up report and its dialog (the order of ReportCaption)
    SpokenText,  // text `index` a screen reader says that the window shows nowhere
    WindowText,  // text `index` of the window's own commands and windows (the order of WindowText)
};

// What follows the text of an id: replacing list entries can drop the list's selection, so after
// the last replaced entry of some lists the selection is set again.
enum class Reselect : std::uint8_t {
    None,
    FromField,  // the value of `field` (a flag or an index)
    EntryZero,  // entry 0
};

struct TextTarget {
    TextId id;
    TextKind kind;
    std::string_view control;  // objectName; empty for error and status texts
    std::uint8_t index;        // list entry, error text or status text number
    Reselect reselect;
    FieldId field;  // for Reselect::FromField, otherwise FieldId::Count
};

inline constexpr int kTextIdCount = 170;
inline constexpr int kFontControlCount = 89;
inline constexpr int kErrorTextIdCount = 30;
inline constexpr int kStatusTextIdCount = 12;
inline constexpr TextId kFirstErrorTextId = 100701;
inline constexpr TextId kFirstStatusTextId = 100801;
// The set-up report's texts: a range of this program's own, beside the table the controller kit's
// language files use, which stays as it is.
inline constexpr int kReportTextIdCount = 33;
inline constexpr TextId kFirstReportTextId = 101001;
// The main map's cell view (the log on the map): a range of this program's own likewise.
inline constexpr int kCellTextIdCount = 8;
inline constexpr TextId kFirstCellTextId = 101450;

// The texts of what the window has beside the kit's controls: its later menu items, the undo
// steps and the grid tools, the log viewer, the history, verification and difference dialogs,
// file dialog filters, port problems and status-line texts, and the names of the live signals
// no page shows with a caption. A range of this program's own after the report's; the English
// is built in and stands wherever a language file lacks an id. "%1" and on stand for what the
// window puts in.
enum class WindowText : std::uint8_t {
    VerifyEcu,
    CompareWithFile,
    ExportLogCsv,
    ViewLog,
    History,
    Undo,
    Redo,
    StepOnFields,
    OneCell,
    Cells,
    TwoNames,
    MoreNames,
    Memory,
    UndoClearedConnection,
    UndoClearedLoad,
    UndoClearedMap,
    UndoClearedReset,
    UndoClearedRestore,
    UndoNotConnected,
    UndoLocked,
    NothingToUndo,
    NothingToRedo,
    SendAgain,
    TypedEntry,
    InterpolateHorizontally,
    InterpolateVertically,
    InterpolateCorners,
    SetValue,
    SetValueItem,
    Scale,
    ScaleItem,
    Copy,
    Paste,
    SetValueQuestion,
    ScaleQuestion,
    LogViewerTitle,
    SetupFile,
    SetupDefaults,
    ZoomIn,
    ZoomOut,
    Fit,
    SavePicture,
    ExportRange,
    Reload,
    Cancel,
    ChannelsTable,
    Reading,
    Traces,
    ColumnChannel,
    ColumnValue,
    ColumnUnit,
    ColumnMinimum,
    ColumnMaximum,
    ColumnMean,
    SetupConnected,
    SetupFactory,
    SetupOfFile,
    SetupAsExported,
    Cursor,
    VisibleRange,
    LoggerRunning,
    CouldNotWrite,
    HistoryTitle,
    HistorySerial,
    Compare,
    Restore,
    SaveAs,
    Close,
    HeadingTime,
    HeadingWhat,
    HeadingRevisions,
    HeadingProgram,
    HeadingDifferences,
    HistoryEntries,
    NoEntries,
    NoHistory,
    HistoryCompareTitle,
    EntryMatches,
    EntryDiffers,
    OneLocation,
    Locations,
    RestoreQuestion,
    HistoryConnected,
    HistoryWritePc,
    HistoryBefore,
    HistoryBeforeRestore,
    VerifyMatches,
    VerifyDiffers,
    NothingCompared,
    AdviceLoadAgain,
    NotReadCompletely,
    UnreadBytes,
    ReadAgree,
    ReadDiffers,
    OwnDiffer,
    FileMatches,
    FileDiffers,
    WritePc,
    TakeEcu,
    KeptByEcu,
    HeadingLocation,
    HeadingPc,
    PdfFiles,
    HtmlFiles,
    PortNoSuchDevice,
    PortPermissionDenied,
    PortBusy,
    PortNotOpened,
    PortJoinGroup,
    PortCheckCable,
    PortCloseOther,
    PortGroup,
    PortSee,
    ChannelStepperOpening,
    ChannelAirFlowInput,
    ChannelSupplyVoltage,
    ChannelPowerStage,
    ChannelRailSignal,
    ChannelEmulatorChannel1,
    ChannelEmulatorChannel2,
    ChannelEmulatorCorrection1,
    ChannelEmulatorCorrection2,
    ChannelEngineSpeedThousands,
    ChannelDifferentialPressure,
    ChannelIgnitionVoltage,
    ChannelChartCode1,
    ChannelChartCode2,
    ChannelIgnitionOn,
    ChannelEngineSpeedError,
    ChannelFuelMode,
    ChannelPressureError,
    ChannelTankLevelStep,
    ChannelErrorCounter,
    ChannelEgtCorrection,
    ChannelAirFlowCorrection,
    ChannelGasTemperatureCorrection,
    ChannelGasPressureCorrection,
    ChannelReducerTemperatureCorrection,
    ChannelManifoldPressureCorrection,
    ChannelDifferentialPressureCorrection,
    ChannelEmulatorMeasuring,
    ChannelCruiseActive,
    ChannelCutOffActive,
    ChannelFrequencyIn,
    ChannelFrequencyOut,
    ChannelDtps1In,
    ChannelDtps1Out,
    ChannelDtps2In,
    ChannelDtps2Out,
    ChannelExhaustSignal,
    ChannelExhaustTemperature,
    ChannelOperationsPerSecond,
    ChannelDieselWorkTime,
    ChannelPropaneWorkTime,
    ScatterTitle,
    ScatterAcross,
    ScatterUp,
    ScatterColour,
    ScatterHistogram,
    HistogramName,
    ScatterButton,
    ScatterButtonTip,
    CellsRecordingName,
    CellsGridName,
    NoRecording,
    Count,
};
inline constexpr int kWindowTextIdCount = static_cast<int>(WindowText::Count);
inline constexpr TextId kFirstWindowTextId = 101101;

[[nodiscard]] std::string_view windowTextEnglish(WindowText text);
[[nodiscard]] constexpr TextId windowTextId(WindowText text) {
    return kFirstWindowTextId + static_cast<TextId>(text);
}
// The window text whose English is `english`: how a text the core composes in English (a
// history entry's "connected", a grid tool's name in an undo step) finds its translation.
[[nodiscard]] std::optional<WindowText> windowTextOfEnglish(std::string_view english);

inline constexpr int kSpokenTextIdCount = static_cast<int>(SpokenText::Count);
inline constexpr TextId kFirstSpokenTextId = 101400;
[[nodiscard]] std::string_view spokenTextEnglish(SpokenText text);

// Every id of the kit's table, in ascending order (the report's texts are not among them).
[[nodiscard]] const std::array<TextTarget, kTextIdCount>& textIdTable();
// The report's texts, in ascending order.
[[nodiscard]] const std::array<TextTarget, kReportTextIdCount>& reportTextIdTable();
// The spoken texts, in ascending order.
[[nodiscard]] const std::array<TextTarget, kSpokenTextIdCount>& spokenTextIdTable();
// The cell view's texts, in ascending order: its controls' captions and list entries.
[[nodiscard]] const std::array<TextTarget, kCellTextIdCount>& cellTextIdTable();
// The target of an id, or nullptr for an id neither table lists (its text is ignored).
[[nodiscard]] const TextTarget* findTextId(TextId id);

// The entry to select after a target whose reselect is not None, read from the image (for
// MainMapType this is the raw value: a list shorter than it keeps its selection).
[[nodiscard]] std::optional<int> reselectIndex(const TextTarget& target, const EcuImage& image);

// Controls whose font character set and family follow the language, in the order they are set;
// the first is the main window itself.
[[nodiscard]] const std::array<std::string_view, kFontControlCount>& fontFollowingControls();

}  // namespace kaldor
