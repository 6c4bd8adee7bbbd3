#pragma once
// What the pages make of a record beyond single signals: the status lamp, the tank level LEDs,
// the work-time shares and their texts, and the consumption estimate kept from record to record.
// Signals themselves come from the live signal table.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "live/live_frame.h"
#include "live/status_texts.h"
#include "model/controller_defaults.h"

namespace kaldor {

enum class FuelMode : std::uint8_t { Diesel = 0, Auto = 1, Propane = 2, Error = 3 };

[[nodiscard]] FuelMode fuelMode(const LiveFrame& frame);
// The status text of a fuel mode ("error" for mode 3).
[[nodiscard]] const std::string& fuelModeText(FuelMode mode, const StatusTexts& texts);

// The diesel and gas work counters the controller reports in every record (seconds).
[[nodiscard]] WorkTimes recordedWorkTimes(const LiveFrame& frame);

struct StatusIndicator {
    int status = 1;  // 1 lit (an error), 0 dark
    bool flashing = true;
    std::string caption;
};

// The indicator for a record; the not-connected state is set by the polling step instead.
[[nodiscard]] StatusIndicator statusIndicatorFor(const LiveFrame& frame, const StatusTexts& texts);
[[nodiscard]] StatusIndicator notConnectedIndicator(const StatusTexts& texts);

// The five tank level LEDs for a level step, or nothing for 5 and above (LEDs stay as they are).
[[nodiscard]] std::optional<std::array<bool, 5>> tankLevelLeds(std::uint8_t level);
[[nodiscard]] std::optional<std::array<bool, 5>> tankLevelLeds(const LiveFrame& frame);

// LabelWTG and LabelWTD: the time run on each fuel and its share of the whole; both shares are 0
// until both counters have run.
struct WorkTimeShares {
    double diesel = 0;
    double propane = 0;
    std::string propaneText;
    std::string dieselText;
};
[[nodiscard]] WorkTimeShares workTimeShares(const LiveFrame& frame, const StatusTexts& texts);

// The consumption figures of the hidden EditDieselL and EditGazL: a factor that adapts while the
// engine runs on propane, and the diesel figure smoothed toward the boost-based estimate.
class ConsumptionEstimate {
public:
    void update(const LiveFrame& frame);

    [[nodiscard]] double factor() const { return m_factor; }  // l/h per bar above 0.5 bar
    [[nodiscard]] double diesel() const { return m_diesel; }
    [[nodiscard]] double propane() const { return m_propane; }
    [[nodiscard]] std::string dieselText() const;
    [[nodiscard]] std::string propaneText() const;

private:
    double m_factor = 11.0;
    double m_diesel = 15.0;
    double m_propane = 0.0;
};

}  // namespace kaldor
