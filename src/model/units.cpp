#include "model/units.h"

#include <array>
#include <cmath>

namespace kaldor {
namespace {

// Single-precision k1, k2 for RpmToPeriod: k1 * k2 is the number of pulses per revolution.
struct PeriodFactors {
    float k1;
    float k2;
};
constexpr std::array<PeriodFactors, kRpmSignalTypeCount> kPeriodFactors{{
    {4.0f, 0.125f}, {4.0f, 0.25f},  {3.0f, 0.5f},   {4.0f, 0.5f},   {5.0f, 0.5f},
    {6.0f, 0.5f},   {8.0f, 0.5f},   {10.0f, 0.5f},  {15.0f, 0.5f},  {20.0f, 0.5f},
    {25.0f, 0.5f},  {30.0f, 0.5f},  {35.0f, 0.5f},  {40.0f, 0.5f},  {45.0f, 0.5f},
    {50.0f, 0.5f},  {60.0f, 0.5f},  {70.0f, 0.5f},  {80.0f, 0.5f},  {90.0f, 0.5f},
    {100.0f, 0.5f}, {100.0f, 0.5f}, {100.0f, 0.5f}, {100.0f, 0.5f}, {100.0f, 0.5f},
}};

// Pulses per cycle n for PeriodToRpm's factor f = 1/n (types 2..24; 0 and 1 are special).
// Types 21..24 read back with 120..180 pulses although RpmToPeriod uses 100 for them.
constexpr std::array<int, kRpmSignalTypeCount> kPulsesPerCycle{
    1,  2,  3,  4,  5,  6,  8,  10,  15,  20,  25,  30, 35,
    40, 45, 50, 60, 70, 80, 90, 100, 120, 140, 160, 180};

long double rpmFactor(int type) {
    // 0.25 and 0.125 are exact; every other factor is the extended value nearest to 1/n.
    if (type == 3)
        return 0.25L;
    if (type == 6)
        return 0.125L;
    return 1.0L / static_cast<long double>(kPulsesPerCycle[static_cast<std::size_t>(type)]);
}

// Storing constants: converter counts per volt (4096 / 5) and the throttle inputs' divider.
constexpr double kCountsPerVolt = 819.2;
constexpr double kTpsInputFactor = 0.3185;

constexpr long double kInjTicksPerMs = 227.27272727272725904L;          // 1 / 0.0044 (double)
constexpr long double kOneOverThreePointTwo = 0.31249999999999998265L;  // 1 / 3.2 (double)
constexpr long double kOneSixtieth = 0.016666666666666666667L;
constexpr long double kTicksPerSecond = 230414.74654377880439L;  // 1 / 4.34e-6 (double)

}  // namespace

std::int64_t truncateToInt(long double x) {
    if (std::isnan(x))
        return 0;
    constexpr long double kMax = static_cast<long double>(std::numeric_limits<std::int64_t>::max());
    constexpr long double kMin = static_cast<long double>(std::numeric_limits<std::int64_t>::min());
    if (x >= kMax)
        return std::numeric_limits<std::int64_t>::max();
    if (x <= kMin)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);  // conversion truncates toward zero
}

std::int64_t VoltsToAdc(double volts) {
    return truncateToInt(static_cast<long double>(volts) * kCountsPerVolt);
}

std::int64_t TpsVoltsToAdc(double volts) {
    return truncateToInt((static_cast<long double>(volts) * kCountsPerVolt) * kTpsInputFactor);
}

std::int64_t BarToMillibar(double bar) {
    return truncateToInt(static_cast<long double>(bar) * static_cast<long double>(1000.0f));
}

std::int64_t SecondsToCentiseconds(double seconds) {
    return truncateToInt(static_cast<long double>(seconds) * static_cast<long double>(100.0f));
}

std::int64_t InjTimeToRaw(double ms) {
    const float single = static_cast<float>(ms);
    return truncateToInt(kInjTicksPerMs * static_cast<long double>(single));
}

std::int64_t EnrichmentToRaw(double percent) {
    return truncateToInt(static_cast<long double>(percent) * static_cast<long double>(10.0f) +
                         static_cast<long double>(1000.0f));
}

std::int64_t RpmThresholdToRaw(double volts) {
    const long double halved = static_cast<long double>(volts) * static_cast<long double>(0.5f);
    return truncateToInt((halved * kOneOverThreePointTwo) * kCountsPerVolt);
}

std::int64_t PlainToRaw(double value) {
    return truncateToInt(static_cast<long double>(value));
}

std::uint32_t RpmToPeriod(std::uint32_t rpm, int signalType) {
    if (signalType < 0 || signalType >= kRpmSignalTypeCount)
        return 0;
    const std::uint32_t rounded = rpm == 0 ? 200u : rpm / 25u * 25u;
    const float c = static_cast<float>(rounded);
    const PeriodFactors& k = kPeriodFactors[static_cast<std::size_t>(signalType)];
    long double x = kOneSixtieth * static_cast<long double>(c);
    x = x * static_cast<long double>(k.k1);
    x = x * static_cast<long double>(k.k2);
    // An rpm of 1..24 rounds down to 0 and has no period; the division below then gives
    // infinity, which saturates to the longest period rather than being undefined.
    x = 1.0L / x;
    x = x * kTicksPerSecond;
    const float single = static_cast<float>(x);
    const std::int64_t ticks = truncateToInt(static_cast<long double>(single));
    if (ticks < 0)
        return 0;
    if (ticks > std::numeric_limits<std::uint32_t>::max())
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(ticks);
}

std::uint16_t periodForField(std::uint32_t period) {
    return period > 0xFFFFu ? std::uint16_t{0xFFFF} : static_cast<std::uint16_t>(period);
}

std::int64_t AxisBarToMillibar(long double bar) {
    return truncateToInt(bar * 1000);
}

std::int64_t AxisTpsToCounts(long double volts) {
    return truncateToInt((volts * kTpsInputFactor) * kCountsPerVolt);
}

std::int64_t AxisAirFlowToCounts(long double volts) {
    return truncateToInt(volts * kCountsPerVolt);
}

std::int64_t AxisTpsRowToCounts(long double volts) {
    return truncateToInt(volts * 260.9152);
}

std::int64_t EmuAxisTpsVoltsToCounts(long double volts) {
    return truncateToInt(volts * kCountsPerVolt * kTpsInputFactor + 1);
}

std::int64_t EmuAxisVoltsToCounts(long double volts) {
    return truncateToInt(volts * kCountsPerVolt + 1);
}

double AdcToVolts(long raw) {
    return static_cast<double>(static_cast<long double>(raw) * kVoltsPerCount);
}

double AdcToTpsVolts(long raw) {
    return static_cast<double>((static_cast<long double>(raw) * kTpsInputDivider) * kVoltsPerCount);
}

double MillibarToBar(long raw) {
    return static_cast<double>(static_cast<long double>(raw) * 0.001);
}

double CentisecondsToSeconds(long raw) {
    return static_cast<double>(static_cast<long double>(raw) * 0.01);
}

double RawToInjTime(long raw) {
    return static_cast<double>(static_cast<float>(static_cast<long double>(raw) * 0.0044));
}

double AxisTpsFromCounts(long raw) {
    return static_cast<double>(static_cast<long double>(raw) * 0.0038308);
}

double EmuAxisTpsVoltsFromCounts(long raw) {
    return static_cast<double>((static_cast<long double>(raw) * kVoltsPerCount) * kTpsInputDivider);
}

double RpmThresholdFromRaw(long raw) {
    return static_cast<double>(((static_cast<long double>(raw) * 2) * 3.2) * kVoltsPerCount);
}

std::int64_t PeriodToRpm(std::uint32_t period, int signalType) {
    float b = static_cast<float>(static_cast<long double>(period) * 4.34e-6);
    if (b == 0.0f)
        b = 1e-7f;
    if (period >= 65500u)
        return 0;
    long double x = 1.0L / static_cast<long double>(b);
    x = x * 60;
    if (signalType == 0) {
        x = x * 8;
        x = x * 0.25L;
    } else if (signalType == 1) {
        x = x * 4;
        x = x * 0.25L;
    } else if (signalType >= 2 && signalType < kRpmSignalTypeCount) {
        x = x * 2;
        x = x * rpmFactor(signalType);
    } else {
        x = 0;
    }
    const float e = static_cast<float>(x);
    const std::int64_t up = truncateToInt(std::ceil(static_cast<long double>(e)));
    return up / 25 * 25;
}

std::uint16_t toWordField(std::int64_t raw) {
    if (raw < -32768)
        raw = -32768;
    if (raw > 0xFFFF)
        raw = 0xFFFF;
    return static_cast<std::uint16_t>(raw & 0xFFFF);
}

std::int16_t fromSignedWord(std::uint16_t word) {
    return static_cast<std::int16_t>(word >= 0x8000u ? static_cast<int>(word) - 0x10000
                                                     : static_cast<int>(word));
}

}  // namespace kaldor
