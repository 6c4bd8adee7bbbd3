#pragma once
// The readings display worked out from one live record: every value and text the side panel,
// the readings page and the emulator page show, plus the state kept between records (emulator
// extremes, consumption estimate, last error counter). The window only copies these into its
// widgets, so all of it is tested here without a screen.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "live/live_frame.h"
#include "live/status_texts.h"
#include "model/connection_state.h"
#include "model/controller_defaults.h"
#include "model/ecu_image.h"

namespace kaldor {

// Scales of the live words beyond the unit conversions: the 1 : 5.8 divider of the supply and
// ignition inputs and the exhaust-gas sensor's degrees per volt.
inline constexpr double kSupplyInputDivider = 5.8;
inline constexpr double kEgtSensorDegreesPerVolt = 286;

enum class FuelMode : std::uint8_t { Diesel = 0, Auto = 1, Propane = 2, Error = 3 };

[[nodiscard]] inline FuelMode fuelMode(const LiveFrame& f) {
    return static_cast<FuelMode>((f.word(39) >> 7) & 3);
}

// The diesel and gas work counters the controller reports in every record (seconds).
[[nodiscard]] inline WorkTimes recordedWorkTimes(const LiveFrame& f) {
    return {f.dword(88), f.dword(90)};
}

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

struct DisplayState {
    double channel1Max = -1.0;
    double channel2Max = -1.0;
    double channel1Min = 20.0;
    double channel2Min = 20.0;
    double consumptionFactor = 11.0;  // l/h per bar of boost above 0.5 bar
    double dieselConsumption = 15.0;
    double propaneConsumption = 0.0;
    std::uint16_t lastErrorCounter = 0;

    void resetEmulatorExtremes() {
        channel1Max = channel2Max = -1.0;
        channel1Min = channel2Min = 20.0;
    }
};

// What is visible decides which parts are worked out, as in the window.
struct DisplayVisibility {
    bool dnaGroup = false;      // GroupBoxDnaSimple
    bool emulatorPage = false;  // TabSheet10
};

struct Readings {
    // Emulator page (only when it is visible).
    bool emulatorTexts = false;
    std::string labelK1, labelK2, labelDtps1, labelDtps2, labelDtpsOut1, labelDtpsOut2;
    std::string labelFreq1Val, labelFreq1ValOut, labelOperations;

    std::string editAkum;
    double supplyVolts = 0;   // battery
    double contactVolts = 0;  // ignition contact
    bool ignitionOn = false;
    double dieselShare = 0, propaneShare = 0;
    bool cutOff = false, cruise = false;
    std::string labelWtg, labelWtd;
    double egtVolts = 0, egtCelsius = 0;
    std::string editAlter;
    std::int64_t rpm = 0;
    double rpmThousands = 0;
    double pressureDifference = 0;
    double airFlow = 0;
    double tps = 0;
    double rail = 0;
    bool emulatorVoltages = false;
    std::string labelVemu1, labelVemu2;
    std::string labelDnaMaxMinK1, labelDnaMaxMinK2;
    double vacuum = 0, absolutePressure = 0;
    std::string editDieselL, editGazL;
    double step = 0, stepPercent = 0;
    double propaneTemperature = 0, regulatorTemperature = 0;
    double level = 0;
    std::optional<std::array<bool, 5>> levelLeds;
    bool regulatorValve = false, tankValve = false, dieselValve = false;
    StatusIndicator status;
    bool errorCounterChanged = false;
};

// Works out one record's display and moves the state on (extremes, consumption, error counter).
[[nodiscard]] Readings computeReadings(const LiveFrame& frame, const EcuImage& image,
                                       const ConnectionState& connection,
                                       const DisplayVisibility& visible, const StatusTexts& texts,
                                       DisplayState& state);

// printf-style fixed decimals with '.' as the separator.
[[nodiscard]] std::string fixed(double value, int decimals);

}  // namespace kaldor
