// The engine model's fixed data: the drive cycle it repeats and the scales on which its sensors
// report. Shared by the model and the live record it fills; nothing outside the engine uses it.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kaldor::sim::engine {

struct DrivePoint {
    double time;  // seconds into the cycle
    double rpm;
    double load;  // 0 (overrun) .. 1 (full load)
};

// One drive cycle; the engine repeats it for as long as the controller runs. Idle lies below
// the factory switch-on speed, so automatic mode leaves gas and returns to it every cycle.
inline constexpr DrivePoint kDriveCycle[] = {
    {0, 800, 0.05},   {20, 800, 0.05},  {30, 1800, 0.55},  {40, 2400, 0.7},
    {55, 2200, 0.45}, {90, 2250, 0.45}, {100, 3200, 0.95}, {110, 3000, 0.8},
    {120, 1500, 0.0}, {130, 1000, 0.1}, {140, 800, 0.05},  {180, 800, 0.05},
};
inline constexpr double kCycleLength = 180.0;

// Phases of the cycle in which the controller reports its special states (live word 65).
struct FlagPhase {
    double from;
    double to;
    std::uint16_t bit;
};
inline constexpr FlagPhase kFlagPhases[] = {
    {140, 150, 1u << 2},  // emulator measuring
    {60, 90, 1u << 3},    // cruise control
    {112, 120, 1u << 4},  // cut-off on overrun
};

inline constexpr double kAdcVolt = 0.00122;
inline constexpr double kTpsDivider = 3.14;
inline constexpr double kSupplyDivider = 5.8;
inline constexpr double kEgtPerVolt = 286.0;
inline constexpr double kInjectionTick = 0.0044;  // ms

inline std::uint16_t clampWord(double value) {
    if (!(value > 0.0)) {
        return 0;
    }
    return static_cast<std::uint16_t>(std::min(value, 65535.0));
}

inline std::uint16_t adc(double volts) {
    return clampWord(volts / kAdcVolt);
}
inline std::uint16_t tpsAdc(double volts) {
    return clampWord(volts / (kAdcVolt * kTpsDivider));
}
inline std::uint16_t supplyAdc(double volts) {
    return clampWord(volts / (kAdcVolt * kSupplyDivider));
}
inline std::uint16_t injectionTicks(double ms) {
    return clampWord(ms / kInjectionTick);
}

inline double throttleVolts(double load) {
    return 0.6 + 3.8 * load;
}
inline double dieselInjectionMs(double load) {
    return 0.6 + 2.8 * load;
}

}  // namespace kaldor::sim::engine
