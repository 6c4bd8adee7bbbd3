#pragma once
// The numbered steps of the refresh, which shows the whole image in every control (ui/refresh.cpp
// runs them in this order). A control bound to a field names the step that shows it; a page that
// stores fields shown on another page names the step that shows them again.
#include <array>
#include <cstddef>

namespace kaldor {

enum class RefreshStep {
    None = 0,  // not refreshed (hidden controls)
    CalibrationHeadings = 1,
    EnginePower = 2,
    Pin = 3,
    CruiseSettings = 4,
    FrequencyEmulator = 5,
    DtpsLimits = 6,
    EmulatorInput = 7,
    EmulatorSettings = 8,
    TpsEmulatorTable = 9,
    StepEmulatorTable = 10,
    DnaType = 11,
    DynamicK = 12,
    CutOff = 13,
    DoubleInjectionTime = 14,
    EnabledErrors = 15,
    RevisionGroups = 16,
    CruiseHeading = 17,
    SetPinButton = 18,
    CdiEmulator = 19,
    RpmSignal = 20,
    EgtAndTurbo = 21,
    Sensors = 22,
    Pressures = 23,
    OnTemperature = 24,
    SwitchOn = 25,
    LevelSensor = 26,
    LevelPoints = 28,
    CorrectionEnables = 29,
    CruiseMap = 30,
    CorrectionMaps = 31,
    WorkingPressure = 32,
    ReturnToGasAndMainMap = 33,
};

// Every step, in the order the refresh runs them.
inline constexpr std::array<RefreshStep, 32> kRefreshSteps{
    RefreshStep::CalibrationHeadings,
    RefreshStep::EnginePower,
    RefreshStep::Pin,
    RefreshStep::CruiseSettings,
    RefreshStep::FrequencyEmulator,
    RefreshStep::DtpsLimits,
    RefreshStep::EmulatorInput,
    RefreshStep::EmulatorSettings,
    RefreshStep::TpsEmulatorTable,
    RefreshStep::StepEmulatorTable,
    RefreshStep::DnaType,
    RefreshStep::DynamicK,
    RefreshStep::CutOff,
    RefreshStep::DoubleInjectionTime,
    RefreshStep::EnabledErrors,
    RefreshStep::RevisionGroups,
    RefreshStep::CruiseHeading,
    RefreshStep::SetPinButton,
    RefreshStep::CdiEmulator,
    RefreshStep::RpmSignal,
    RefreshStep::EgtAndTurbo,
    RefreshStep::Sensors,
    RefreshStep::Pressures,
    RefreshStep::OnTemperature,
    RefreshStep::SwitchOn,
    RefreshStep::LevelSensor,
    RefreshStep::LevelPoints,
    RefreshStep::CorrectionEnables,
    RefreshStep::CruiseMap,
    RefreshStep::CorrectionMaps,
    RefreshStep::WorkingPressure,
    RefreshStep::ReturnToGasAndMainMap,
};

[[nodiscard]] constexpr bool inRunningOrder(const std::array<RefreshStep, 32>& steps) {
    for (std::size_t i = 1; i < steps.size(); ++i)
        if (static_cast<int>(steps[i - 1]) >= static_cast<int>(steps[i]))
            return false;
    return true;
}
static_assert(inRunningOrder(kRefreshSteps), "the refresh runs its steps by number");

}  // namespace kaldor
