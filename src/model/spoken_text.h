#pragma once
#include <cstdint>

namespace kaldor {

// What assistive technology says beyond the shown captions (lamp states, names of controls
// without a caption): this program's own range too.
// English is built in; a language file replaces them (kFirstSpokenTextId on, in this order).
enum class SpokenText : std::uint8_t {
    LampOn,
    LampOff,
    ScopeTrace,  // "%1" the trace's number, "%2" its colour
    Black,
    Red,
    Green,
    Blue,
    CalibrationTables,
    EngineSpeed,
    PressureDifference,
    Progress,  // a transfer's progress bar
    ErrorMemory,
    MainMap,
    CruiseMap,
    // The controls without a caption, by what they hold.
    CdiEmulatorType,
    CdiThreshold,  // "%1" its number
    CdiValue,      // "%1" its number
    DynamicKOn,
    DynamicK,
    AssumedRevision,
    MainEnrichment,
    MainOffset,
    FreqAlgorithm,
    FreqGrid,
    FreqEmulatorDuty,
    ThrottleSignalKind,
    ColumnPresets,
    RowPresets,
    DieselConsumption,
    PropaneConsumption,
    DieselTable,
    GasTable,
    CorrectionTable,
    GasDieselDifference,
    TpsEmulatorTable,
    StepEmulatorTable,
    Count
};

}  // namespace kaldor
