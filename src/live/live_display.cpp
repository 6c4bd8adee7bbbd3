#include "live/live_display.h"

#include <string>

#include "live/live_signals.h"
#include "model/fixed_text.h"
#include "model/units.h"

namespace kaldor {
namespace {

// Tank level step -> the five LEDs (an empty tank lights only the reserve LED).
constexpr std::array<std::array<bool, 5>, 5> kLevelLeds{{
    {true, false, false, false, false},
    {false, true, false, false, false},
    {false, true, true, false, false},
    {false, true, true, true, false},
    {false, true, true, true, true},
}};

// The consumption estimate: boost above half a bar times a factor that adapts by half a unit a
// record within its bounds, and a diesel figure that follows it 0.2 l/h a record.
constexpr long kBoostBaseMillibar = 500;
constexpr double kFactorStep = 0.5;
constexpr double kFactorLowest = 7.0;
constexpr double kFactorHighest = 12.0;
constexpr double kDieselStep = 0.2;
constexpr int kConsumptionDecimals = 1;
constexpr int kShareDecimals = 2;

}  // namespace

FuelMode fuelMode(const LiveFrame& frame) {
    return static_cast<FuelMode>(liveRaw(frame, LiveSignal::FuelMode));
}

const std::string& fuelModeText(FuelMode mode, const StatusTexts& texts) {
    switch (mode) {
        case FuelMode::Diesel:
            return texts.diesel;
        case FuelMode::Auto:
            return texts.autoMode;
        case FuelMode::Propane:
            return texts.propane;
        case FuelMode::Error:
            break;
    }
    return texts.error;
}

WorkTimes recordedWorkTimes(const LiveFrame& frame) {
    return {static_cast<std::uint32_t>(liveRaw(frame, LiveSignal::DieselWorkTime)),
            static_cast<std::uint32_t>(liveRaw(frame, LiveSignal::PropaneWorkTime))};
}

StatusIndicator statusIndicatorFor(const LiveFrame& frame, const StatusTexts& texts) {
    if (liveRaw(frame, LiveSignal::IgnitionOn) == 0 ||
        liveRaw(frame, LiveSignal::EngineSpeedError) != 0)
        return {1, true, texts.errorRpmIgnition};
    const FuelMode mode = fuelMode(frame);
    if (mode != FuelMode::Error)
        return {0, false, fuelModeText(mode, texts)};
    if (liveRaw(frame, LiveSignal::PressureError) != 0)
        return {1, true, texts.errorPressure};
    return {1, true, texts.error};
}

StatusIndicator notConnectedIndicator(const StatusTexts& texts) {
    return {1, true, texts.errorCom};
}

std::optional<std::array<bool, 5>> tankLevelLeds(std::uint8_t level) {
    if (level >= kLevelLeds.size())
        return std::nullopt;
    return kLevelLeds[level];
}

std::optional<std::array<bool, 5>> tankLevelLeds(const LiveFrame& frame) {
    return tankLevelLeds(static_cast<std::uint8_t>(liveRaw(frame, LiveSignal::TankLevelStep)));
}

WorkTimeShares workTimeShares(const LiveFrame& frame, const StatusTexts& texts) {
    WorkTimeShares s;
    const WorkTimes times = recordedWorkTimes(frame);
    if (times.diesel != 0 && times.gas != 0) {
        const double total = static_cast<double>(times.diesel) + static_cast<double>(times.gas);
        s.diesel = times.diesel * 100.0 / total;
        s.propane = times.gas * 100.0 / total;
    }
    // The diesel text has no blank before its share.
    s.propaneText = texts.workTime + " " + texts.propane + ": " + std::to_string(times.gas) +
                    " [s] " + fixedText(s.propane, kShareDecimals) + " [%]";
    s.dieselText = texts.workTime + " " + texts.diesel + ": " + std::to_string(times.diesel) +
                   " [s]" + fixedText(s.diesel, kShareDecimals) + " [%]";
    return s;
}

void ConsumptionEstimate::update(const LiveFrame& frame) {
    // A closed stepper counts as not on propane.
    const bool onPropane =
        fuelMode(frame) == FuelMode::Propane && liveRaw(frame, LiveSignal::StepperPosition) != 0;
    if (onPropane) {
        if (m_factor >= kFactorLowest)
            m_factor -= kFactorStep;
    } else if (m_factor <= kFactorHighest) {
        m_factor += kFactorStep;
    }
    // Below half a bar the difference is negative, not wrapped.
    const long boost =
        static_cast<long>(liveRaw(frame, LiveSignal::ManifoldPressure)) - kBoostBaseMillibar;
    const double x = MillibarToBar(boost) * m_factor;
    m_diesel += x > m_diesel ? kDieselStep : -kDieselStep;
    m_propane = onPropane ? x : 0.0;
}

std::string ConsumptionEstimate::dieselText() const {
    return fixedText(m_diesel, kConsumptionDecimals) + " l/h";
}

std::string ConsumptionEstimate::propaneText() const {
    return fixedText(m_propane, kConsumptionDecimals) + " l/h";
}

}  // namespace kaldor
