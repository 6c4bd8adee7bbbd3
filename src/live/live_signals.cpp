#include "live/live_signals.h"

#include "model/codec.h"
#include "model/fields.h"
#include "model/fixed_text.h"
#include "model/revision_rules.h"
#include "model/units.h"

namespace kaldor {
namespace {

// Scales of the live inputs beyond the unit conversions: the 1 : 5.8 divider of the supply and
// ignition inputs, the exhaust-gas sensor's degrees per volt, the stepper's percent per position.
constexpr double kSupplyInputDivider = 5.8;
constexpr double kEgtSensorDegreesPerVolt = 286;
constexpr double kStepperPercentPerPosition = 0.3937;
constexpr double kThousandth = 0.001;
// The gas pressure is absolute; against the air it is one bar less.
constexpr double kAtmosphereBar = 1;

using S = LiveSignal;
using R = LiveRawType;
using C = LiveCodec;

struct Place {
    std::uint8_t word;
    LiveRawType raw;
    std::uint8_t bit = 0;
    std::uint8_t width = 0;
};
constexpr Place u16(std::uint8_t word) {
    return {word, R::U16};
}
constexpr Place s16(std::uint8_t word) {
    return {word, R::S16};
}
constexpr Place u32(std::uint8_t word) {
    return {word, R::U32};
}
constexpr Place lowS8(std::uint8_t word) {
    return {word, R::S8, 0};
}
constexpr Place highS8(std::uint8_t word) {
    return {word, R::S8, 8};
}
constexpr Place lowByte(std::uint8_t word) {
    return {word, R::Bits, 0, 8};
}
constexpr Place highByte(std::uint8_t word) {
    return {word, R::Bits, 8, 8};
}
constexpr Place bit(std::uint8_t word, std::uint8_t b) {
    return {word, R::Bits, b, 1};
}
constexpr Place bits(std::uint8_t word, std::uint8_t b, std::uint8_t width) {
    return {word, R::Bits, b, width};
}

struct Shown {
    const char* unit;
    int decimals;
    double minimum;
    double maximum;
};
constexpr Shown kFlag{"", 0, 0, 1};
constexpr Shown kCount16{"", 0, 0, 65535};
constexpr Shown kTemperature{"\u00B0C", 0, -40, 150};
constexpr Shown kPressure{"bar", 2, 0, 3};
constexpr Shown kSensorVolts{"V", 1, 0, 5};
constexpr Shown kEmulatorVolts{"V", 3, 0, 15};
constexpr Shown kAppliedCorrection{"%", 0, -90, 100};
constexpr Shown kInjectionTime{"ms", 2, 0, 288};
constexpr Shown kWorkTime{"s", 0, 0, 4294967295.0};

constexpr LiveSignalDef row(LiveSignal id, const char* name, Place at, LiveCodec codec, Shown shown,
                            LiveCsvColumn csv = {}, int scopeItem = 0) {
    return {id,         name,           at.word,       at.raw,        at.bit, at.width, codec,
            shown.unit, shown.decimals, shown.minimum, shown.maximum, csv,    scopeItem};
}

// A row as the live pages' gauges draw it (see LiveGauge).
constexpr LiveSignalDef onGauges(LiveSignalDef def, LiveGauge gauge) {
    def.gauge = gauge;
    return def;
}
// The bars draw a blank after numbers without a unit of their own.
constexpr LiveGauge kBlankUnit{" "};
constexpr LiveGauge kTwoDigitTemperature{nullptr, 2};
// The pressure meters' scale starts just above zero.
constexpr LiveGauge kPressureDial{" ", 1, {"P[Bar]", 0.001}};

// In LiveSignal order. CSV columns and oscilloscope items are numbered as the export and the
// selectors list them.
constexpr LiveSignalTable kSignals{{
    onGauges(
        row(S::ReducerTemperature, "reducer temperature", s16(0), C::AsIs, kTemperature, {6, 0}),
        kTwoDigitTemperature),
    onGauges(
        row(S::PropaneTemperature, "propane temperature", s16(1), C::AsIs, kTemperature, {7, 0}),
        kTwoDigitTemperature),
    onGauges(row(S::StepperPosition, "stepper position", u16(3), C::AsIs, {"", 0, 0, 250}, {15, 0}),
             kBlankUnit),
    onGauges(row(S::StepperOpening, "stepper opening", u16(3), C::StepperPercent, {"%", 0, 0, 100}),
             {" %"}),
    row(S::Throttle, "throttle TPS", u16(4), C::ThrottleVolts, {"V", 1, 0, 14}, {11, 3}, 2),
    row(S::AirFlowInput, "air flow input", u16(5), C::Volts, {"V", 2, 0, 5}),
    row(S::SupplyVoltage, "battery", u16(6), C::SupplyVolts, {"V", 1, 0, 25}, {9, 2}, 6),
    row(S::PowerStage, "power stage", u16(8), C::AsIs, kCount16),
    row(S::RailSignal, "rail signal", u16(9), C::Volts, {"V", 3, 0, 5}, {13, 3}),
    row(S::RailPressure, "rail pressure", u16(9), C::RailVolts, kSensorVolts),
    row(S::EmulatorChannel1, "emulator input K1", u16(9), C::TpsVolts, kEmulatorVolts),
    row(S::EmulatorChannel2, "emulator input K2", u16(10), C::TpsVolts, kEmulatorVolts),
    row(S::EmulatorCorrection1, "emulator correction K1", lowS8(19), C::AsIs, {"%", 0, -128, 127}),
    row(S::EmulatorCorrection2, "emulator correction K2", highS8(19), C::AsIs, {"%", 0, -128, 127}),
    onGauges(row(S::EngineSpeed, "engine speed", u16(21), C::EngineSpeed, {"rpm", 0, 0, 9999},
                 {1, 0}, 1),
             kBlankUnit),
    // The round meter drawn in thousands, read aloud in rpm.
    onGauges(row(S::EngineSpeedThousands, "engine speed x 1000", u16(21), C::EngineSpeedThousands,
                 {"rpm x 1000", 1, 0, 6}),
             {nullptr, 1, {"RPMx1000", 0}, S::EngineSpeed, 1000}),
    row(S::DifferentialPressure, "differential pressure", u16(24), C::Bar, kPressure, {5, 3}),
    onGauges(row(S::PressureDifference, "pressure difference", u16(24), C::PressureDifference,
                 kPressure),
             kPressureDial),
    onGauges(row(S::TankLevel, "tank level", u16(26), C::Volts, {"V", 2, 0, 5}, {14, 3}),
             kBlankUnit),
    row(S::IgnitionVoltage, "ignition", u16(27), C::SupplyVolts, {"V", 2, 0, 35}, {10, 2}, 5),
    row(S::AirFlow, "air flow", u16(30), C::Volts, kSensorVolts, {12, 3}, 3),
    row(S::ChartCode1, "chart code 1", lowByte(31), C::AsIs, {"", 0, 0, 255}),
    row(S::ChartCode2, "chart code 2", highByte(31), C::AsIs, {"", 0, 0, 255}),
    row(S::RegulatorValve, "regulator valve open", bit(35, 8), C::AsIs, kFlag),
    row(S::DieselValve, "diesel valve open", bit(35, 10), C::AsIs, kFlag),
    row(S::TankValve, "tank valve open", bit(36, 9), C::AsIs, kFlag),
    row(S::IgnitionOn, "ignition on", bit(36, 10), C::AsIs, kFlag),
    row(S::EngineSpeedError, "engine speed error", bit(36, 11), C::AsIs, kFlag),
    // 0 diesel, 1 auto, 2 propane, 3 error; the export writes its status text.
    row(S::FuelMode, "fuel mode", bits(39, 7, 2), C::AsIs, {"", 0, 0, 3}, {2, 0}),
    row(S::PressureError, "pressure error", bit(48, 8), C::AsIs, kFlag),
    row(S::TankLevelStep, "tank level step", lowByte(49), C::AsIs, {"", 0, 0, 4}),
    row(S::ErrorCounter, "error memory changes", u16(50), C::AsIs, kCount16),
    row(S::EgtCorrection, "EGT correction", s16(51), C::TenthsPercent, kAppliedCorrection),
    row(S::AirFlowCorrection, "air flow correction", s16(52), C::TenthsPercent, kAppliedCorrection),
    row(S::GasTemperatureCorrection, "gas temperature correction", s16(53), C::TenthsPercent,
        kAppliedCorrection),
    row(S::GasPressureCorrection, "gas pressure correction", s16(55), C::TenthsPercent,
        kAppliedCorrection),
    row(S::ReducerTemperatureCorrection, "reducer temperature correction", s16(56),
        C::TenthsPercent, kAppliedCorrection),
    row(S::ManifoldPressureCorrection, "manifold pressure correction", s16(57), C::TenthsPercent,
        kAppliedCorrection),
    row(S::DifferentialPressureCorrection, "differential pressure correction", s16(58),
        C::TenthsPercent, kAppliedCorrection),
    row(S::EmulatorMeasuring, "emulator measuring", bit(65, 2), C::AsIs, kFlag),
    row(S::CruiseActive, "cruise control active", bit(65, 3), C::AsIs, kFlag),
    row(S::CutOffActive, "cut-off active", bit(65, 4), C::AsIs, kFlag),
    row(S::FrequencyIn, "emulated frequency in", u16(68), C::AsIs, kCount16),
    row(S::FrequencyOut, "emulated frequency out", u16(69), C::AsIs, kCount16),
    row(S::Dtps1In, "digital throttle 1 in", u16(72), C::InjectionTime, kInjectionTime),
    row(S::Dtps1Out, "throttle 1 out", u16(73), C::InjectionTime, kInjectionTime),
    row(S::Dtps2In, "digital throttle 2 in", u16(74), C::InjectionTime, kInjectionTime),
    row(S::Dtps2Out, "throttle 2 out", u16(75), C::InjectionTime, kInjectionTime),
    onGauges(row(S::GasPressure, "gas pressure", u16(78), C::Bar, kPressure, {3, 3}), kBlankUnit),
    onGauges(row(S::ManifoldPressure, "manifold pressure", u16(79), C::Bar, kPressure, {4, 3}, 4),
             kBlankUnit),
    row(S::ExhaustSignal, "exhaust gas signal", u16(80), C::Volts, kSensorVolts),
    row(S::ExhaustTemperature, "exhaust gas temperature", u16(80), C::ExhaustCelsius,
        {kTemperature.unit, 0, 0, 1100}, {8, 0}, 7),
    row(S::OperationsPerSecond, "operations per second", u16(86), C::AsIs, {"op/s", 0, 0, 65535}),
    row(S::DieselWorkTime, "diesel work time", u32(88), C::AsIs, kWorkTime),
    row(S::PropaneWorkTime, "propane work time", u32(90), C::AsIs, kWorkTime),
}};

constexpr bool rowsInOrder() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        if (static_cast<std::size_t>(kSignals[i].id) != i)
            return false;
    return true;
}
static_assert(rowsInOrder(), "the rows follow LiveSignal, so an id is its row");

constexpr bool placesInsideTheRecord() {
    for (const LiveSignalDef& d : kSignals) {
        const std::size_t words = d.raw == R::U32 ? 2 : 1;
        if (d.word + words > LiveFrame::kWords || d.bit + d.width > 16)
            return false;
    }
    return true;
}
static_assert(placesInsideTheRecord());

// The emulator's input channel is stored as the number of the live word it follows.
constexpr bool inputChannelsAreSignals() {
    constexpr LiveSignal kInputs[] = {S::Throttle,         S::AirFlowInput, S::EmulatorChannel1,
                                      S::EmulatorChannel2, S::Dtps1In,      S::Dtps2In};
    for (std::size_t i = 0; i < std::size(kInputs); ++i)
        if (kSignals[static_cast<std::size_t>(kInputs[i])].word != kInputChannelWords[i])
            return false;
    return true;
}
static_assert(inputChannelsAreSignals());

// The calibration slice and its position are the block's own words, never a signal's.
constexpr bool clearOfTheCalibrationSlice() {
    for (const LiveSignalDef& d : kSignals)
        if (d.word >= CalibrationBlock::kSliceFirstWord &&
            d.word <= CalibrationBlock::kPositionWord)
            return false;
    return true;
}
static_assert(clearOfTheCalibrationSlice());

bool railDivided(const LiveContext& c) {
    return c.dnaEmulatorOn && dnaRailInputDivided(c.softwareRevision, c.hardwareRevision);
}

double converted(LiveCodec codec, std::int64_t raw, const LiveContext& context) {
    const auto counts = static_cast<long>(raw);
    switch (codec) {
        case C::AsIs:
        case C::PressureDifference:
            break;
        case C::Volts:
            return AdcToVolts(counts);
        case C::TpsVolts:
            return AdcToTpsVolts(counts);
        case C::ThrottleVolts:
            return static_cast<double>(raw) * kVoltsPerCount * kTpsInputDivider;
        case C::SupplyVolts:
            return static_cast<double>(raw) * kVoltsPerCount * kSupplyInputDivider;
        case C::ExhaustCelsius:
            return static_cast<double>(raw) * kVoltsPerCount * kEgtSensorDegreesPerVolt;
        case C::Bar:
            return MillibarToBar(counts);
        case C::TenthsPercent:
            return static_cast<double>(raw / 10);
        case C::InjectionTime:
            return RawToInjTime(counts);
        case C::StepperPercent:
            return static_cast<double>(raw) * kStepperPercentPerPosition;
        case C::EngineSpeed:
            return static_cast<double>(
                PeriodToRpm(static_cast<std::uint32_t>(raw), context.rpmSignalType));
        case C::EngineSpeedThousands:
            return static_cast<double>(
                       PeriodToRpm(static_cast<std::uint32_t>(raw), context.rpmSignalType)) *
                   kThousandth;
        case C::RailVolts:
            return railDivided(context) ? AdcToTpsVolts(counts) : AdcToVolts(counts);
    }
    return static_cast<double>(raw);
}

}  // namespace

const LiveSignalTable& liveSignals() {
    return kSignals;
}

const LiveSignalDef& liveSignalDef(LiveSignal id) {
    return kSignals[static_cast<std::size_t>(id)];
}

LiveContext liveContext(const EcuImage& image, const ConnectionState& connection) {
    LiveContext c;
    c.rpmSignalType = static_cast<int>(readField(image, FieldId::RpmSignalType));
    c.regulatorVacuumConnected = readField(image, FieldId::RegulatorVacuumConnected) != 0;
    c.dnaEmulatorOn = readField(image, FieldId::DnaEmulatorOn) != 0;
    c.hardwareRevision = connection.hardwareRevision;
    c.softwareRevision = connection.softwareRevision;
    return c;
}

std::int64_t liveRaw(const LiveFrame& frame, LiveSignal id) {
    const LiveSignalDef& d = liveSignalDef(id);
    switch (d.raw) {
        case R::U16:
            return frame.word(d.word);
        case R::S16:
            return frame.signedWord(d.word);
        case R::U32:
            return frame.dword(d.word);
        case R::S8:
            return static_cast<std::int8_t>(static_cast<std::uint8_t>(frame.word(d.word) >> d.bit));
        case R::Bits:
            return (frame.word(d.word) >> d.bit) & ((1u << d.width) - 1u);
    }
    return 0;
}

double liveValue(const LiveFrame& frame, LiveSignal id, const LiveContext& context) {
    const LiveSignalDef& d = liveSignalDef(id);
    if (d.codec == C::PressureDifference)
        return context.regulatorVacuumConnected
                   ? MillibarToBar(static_cast<long>(liveRaw(frame, id)))
                   : MillibarToBar(static_cast<long>(liveRaw(frame, S::GasPressure))) -
                         kAtmosphereBar;
    return converted(d.codec, liveRaw(frame, id), context);
}

std::string liveText(const LiveFrame& frame, LiveSignal id, const LiveContext& context) {
    return fixedText(liveValue(frame, id, context), liveSignalDef(id).decimals);
}

double liveValueOfRaw(LiveSignal id, std::int64_t raw, const LiveContext& context) {
    return converted(liveSignalDef(id).codec, raw, context);
}

std::string liveCsvHeader(const LiveSignalDef& def) {
    std::string header = def.name;
    if (*def.unit != '\0')
        header += std::string(" [") + def.unit + "]";
    return header;
}

std::uint16_t liveWordNumbered(const LiveFrame& frame, unsigned word) {
    return frame.word(word);
}

std::optional<LiveSignal> liveSignalNamed(std::string_view name) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (const LiveSignalDef& d : kSignals) {
        const std::string_view n = d.name;
        if (n.size() != name.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < n.size() && same; ++i)
            same = lower(n[i]) == lower(name[i]);
        if (same)
            return d.id;
    }
    return std::nullopt;
}

}  // namespace kaldor
