#pragma once
// The live signal table: every value the program shows, scopes, logs or exports from the live
// record has one row here, as every parameter has one in the field table. A row says where the
// signal sits in the record (word, and bit or byte), how it is read (its raw type), how it is
// converted (its codec, with the exact constants and operand order the pages have always used),
// its unit, decimals and display range, its CSV column, its oscilloscope item and how the live
// pages' gauges draw it. Pages, maps, the scope and the CSV export read signals by name through
// it; no other file names a live word.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "live/live_frame.h"
#include "model/connection_state.h"
#include "model/ecu_image.h"

namespace kaldor {

enum class LiveSignal : std::uint8_t {
    ReducerTemperature,
    PropaneTemperature,
    StepperPosition,
    StepperOpening,
    Throttle,
    AirFlowInput,
    SupplyVoltage,
    PowerStage,
    RailSignal,
    RailPressure,
    EmulatorChannel1,
    EmulatorChannel2,
    EmulatorCorrection1,
    EmulatorCorrection2,
    EngineSpeed,
    EngineSpeedThousands,
    DifferentialPressure,
    PressureDifference,
    TankLevel,
    IgnitionVoltage,
    AirFlow,
    ChartCode1,
    ChartCode2,
    RegulatorValve,
    DieselValve,
    TankValve,
    IgnitionOn,
    EngineSpeedError,
    FuelMode,
    PressureError,
    TankLevelStep,
    ErrorCounter,
    EgtCorrection,
    AirFlowCorrection,
    GasTemperatureCorrection,
    GasPressureCorrection,
    ReducerTemperatureCorrection,
    ManifoldPressureCorrection,
    DifferentialPressureCorrection,
    EmulatorMeasuring,
    CruiseActive,
    CutOffActive,
    FrequencyIn,
    FrequencyOut,
    Dtps1In,
    Dtps1Out,
    Dtps2In,
    Dtps2Out,
    GasPressure,
    ManifoldPressure,
    ExhaustSignal,
    ExhaustTemperature,
    OperationsPerSecond,
    DieselWorkTime,
    PropaneWorkTime,
    Count
};
inline constexpr std::size_t kLiveSignalCount = static_cast<std::size_t>(LiveSignal::Count);

// How a signal's raw number is read from its word.
enum class LiveRawType : std::uint8_t {
    U16,   // the word, unsigned
    S16,   // the word, two's complement
    U32,   // the word and the next one, low word first
    S8,    // the byte at `bit` (0 low, 8 high), two's complement
    Bits,  // `width` bits from `bit` up, unsigned (a flag, a mode, an unsigned byte)
};

// How a raw number becomes the value shown. Context codecs take the controller's set-up.
enum class LiveCodec : std::uint8_t {
    AsIs,                  // the raw number as it stands
    Volts,                 // AdcToVolts
    TpsVolts,              // AdcToTpsVolts: behind the throttle inputs' divider
    ThrottleVolts,         // counts x 0.00122 x 3.14 in doubles, in that order
    SupplyVolts,           // counts x 0.00122 x 5.8: behind the 1 : 5.8 divider
    ExhaustCelsius,        // counts x 0.00122 x 286 (the sensor's degrees per volt)
    Bar,                   // MillibarToBar
    TenthsPercent,         // tenths of a percent as whole percent, truncated toward zero
    InjectionTime,         // RawToInjTime, ms
    StepperPercent,        // positions x 0.3937
    EngineSpeed,           // PeriodToRpm by the image's RpmSignalType (context)
    EngineSpeedThousands,  // the same x 0.001
    PressureDifference,    // the word in bar with the regulator's vacuum line connected,
                           // otherwise the gas pressure less one bar (context)
    RailVolts,             // TpsVolts where the DNA emulator divides the rail input, else Volts
                           // (context: DnaEmulatorOn and the revisions)
};

// The column of the CSV export (1 the first after the time), 0 for a signal not exported. The
// export has its own decimals.
struct LiveCsvColumn {
    int column = 0;
    int decimals = 0;
};

// How the bars and round meters of the live pages draw a signal, beside its unit, decimals and
// display range: the number with the row's decimals and at least `leastDigits` digits before the
// point ("##00" draws 5 as "05"), followed on a bar by the unit text. A round meter draws the
// dial's unit text and starts its scale at the dial's minimum where the row gives a dial, else
// it draws the bar's unit text over the display range. A gauge is read aloud as `spokenAs` (the
// signal itself unless given): its shown value times `spokenScale`, with that signal's unit and
// decimals (the meter drawn in thousands of rpm is read in rpm).
struct LiveDial {
    const char* unitText = nullptr;  // UTF-8; nullptr: none of its own
    double minimum = 0;
};
struct LiveGauge {
    const char* unitText = nullptr;  // UTF-8; nullptr: the row's unit
    int leastDigits = 1;
    LiveDial dial{};
    std::optional<LiveSignal> spokenAs{};
    double spokenScale = 1;
};

struct LiveSignalDef {
    LiveSignal id;
    const char* name;  // also the CSV header, followed by " [unit]" when there is a unit
    std::uint8_t word;
    LiveRawType raw;
    std::uint8_t bit;    // S8 and Bits: the lowest bit in the word
    std::uint8_t width;  // Bits: how many
    LiveCodec codec;
    const char* unit;  // UTF-8; empty for a count, a flag or a mode
    int decimals;      // as the pages show the value
    double minimum;    // display range
    double maximum;
    LiveCsvColumn csv;
    int scopeItem;  // item of the oscilloscope's selectors, 0 for none
    LiveGauge gauge{};
};

using LiveSignalTable = std::array<LiveSignalDef, kLiveSignalCount>;
[[nodiscard]] const LiveSignalTable& liveSignals();
[[nodiscard]] const LiveSignalDef& liveSignalDef(LiveSignal id);

// What the context codecs need of the controller's set-up, taken once per record.
struct LiveContext {
    int rpmSignalType = 0;
    bool regulatorVacuumConnected = false;
    bool dnaEmulatorOn = false;
    unsigned hardwareRevision = 0;
    unsigned softwareRevision = 0;
};
[[nodiscard]] LiveContext liveContext(const EcuImage& image, const ConnectionState& connection);

// The raw number as the row's raw type reads it.
[[nodiscard]] std::int64_t liveRaw(const LiveFrame& frame, LiveSignal id);
// The value the pages show.
[[nodiscard]] double liveValue(const LiveFrame& frame, LiveSignal id, const LiveContext& context);
// The value with the row's decimals ('.' as the separator).
[[nodiscard]] std::string liveText(const LiveFrame& frame, LiveSignal id,
                                   const LiveContext& context);
// A raw number from elsewhere converted by a signal's codec (the calibration block's chart
// series hold throttle counts). Not for PressureDifference, which reads a second word.
[[nodiscard]] double liveValueOfRaw(LiveSignal id, std::int64_t raw, const LiveContext& context);
// "name [unit]", or the name alone.
[[nodiscard]] std::string liveCsvHeader(const LiveSignalDef& def);
// A word the controller's settings name by its number (the emulator's input channel). Numbers
// past the record read 0.
[[nodiscard]] std::uint16_t liveWordNumbered(const LiveFrame& frame, unsigned word);

// The signal a name stands for (its row's name, any case), nothing for another name.
[[nodiscard]] std::optional<LiveSignal> liveSignalNamed(std::string_view name);

// One collected record on its way to the pages: the frame and the set-up its codecs need.
struct LiveRecord {
    const LiveFrame& frame;
    LiveContext context;

    [[nodiscard]] std::int64_t raw(LiveSignal id) const { return liveRaw(frame, id); }
    [[nodiscard]] bool on(LiveSignal id) const { return liveRaw(frame, id) != 0; }
    [[nodiscard]] double value(LiveSignal id) const { return liveValue(frame, id, context); }
    [[nodiscard]] std::string text(LiveSignal id) const { return liveText(frame, id, context); }
};

}  // namespace kaldor
