#include "rpm_period.h"

#include <array>
#include <cmath>

namespace kaldor::sim {
namespace {

static_assert(sizeof(long double) > sizeof(double), "the period needs 80-bit intermediates");

struct PulseFactors {
    float k1;
    float k2;  // k1 * k2 = pulses per revolution
};

constexpr std::array<PulseFactors, kRpmSignalTypeCount> kPulseFactors{{
    {4, 0.125f}, {4, 0.25f},  {3, 0.5f},   {4, 0.5f},   {5, 0.5f},  {6, 0.5f},  {8, 0.5f},
    {10, 0.5f},  {15, 0.5f},  {20, 0.5f},  {25, 0.5f},  {30, 0.5f}, {35, 0.5f}, {40, 0.5f},
    {45, 0.5f},  {50, 0.5f},  {60, 0.5f},  {70, 0.5f},  {80, 0.5f}, {90, 0.5f}, {100, 0.5f},
    {100, 0.5f}, {100, 0.5f}, {100, 0.5f}, {100, 0.5f},
}};

constexpr long double kOneSixtieth = 0.016666666666666666667L;
constexpr long double kTicksPerSecond = 230414.74654377880439L;  // 1 / 4.34 us
constexpr std::uint32_t kZeroRpmStandIn = 200;

}  // namespace

std::uint32_t rpmToPeriod(std::uint32_t rpm, unsigned signalType) {
    if (signalType >= kRpmSignalTypeCount) {
        return 0;
    }
    const std::uint32_t rounded = rpm == 0 ? kZeroRpmStandIn : rpm / 25 * 25;
    if (rounded == 0) {
        return 0;  // 1..24 rpm has no period
    }
    const float c = static_cast<float>(rounded);
    const PulseFactors& k = kPulseFactors[signalType];
    long double x = kOneSixtieth * static_cast<long double>(c);
    x = x * static_cast<long double>(k.k1);
    x = x * static_cast<long double>(k.k2);
    x = 1.0L / x;
    x = x * kTicksPerSecond;
    const float single = static_cast<float>(x);
    return static_cast<std::uint32_t>(std::trunc(single));
}

}  // namespace kaldor::sim
