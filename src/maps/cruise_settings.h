#pragma once
// The "SET" buttons of the cruise and cut-off panel. Beside ComboBoxCruise it loads the default
// cruise values of the chosen cruise mode; beside ComboBoxTpsCutOff (ButtonSetTps) it takes the
// cut-off threshold from the engine's throttle or air-flow signal as it is now, refusing a signal
// outside the usable range, and resets the cut-off time. The four cruise setters themselves are
// plain controls (ParameterEditor::edit with CruiseRpmPeriod, CruisePressure, CruiseTime,
// CruiseMode); the cruise engine speed after an rpm-signal-type change is stored again by
// MainMapEditor::rpmAxisAfterSignalTypeChange.
#include <optional>
#include <string>

#include "live/live_frame.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/prompts.h"

namespace kaldor {

// Cruise defaults by CruiseMode.
inline constexpr int kCruiseDefaultRpm = 1050;
inline constexpr int kCruiseDefaultMillibar = 1150;
inline constexpr int kCruiseDefaultSeconds = 10;

// Every learning of the cut-off threshold leaves this cut-off time.
inline constexpr int kCutOffTimeAfterLearning = 100;

inline constexpr const char* kMsgTpsCutOffHigh = "ERROR TPS CUTOFF VOLTAGE HIGH: ";
inline constexpr const char* kMsgTpsCutOffLow = "ERROR TPS CUTOFF VOLTAGE LOW: ";
inline constexpr const char* kMsgAirFlowCutOffHigh = "AirFlow CUTOFF VOLTAGE HIGH: ";
inline constexpr const char* kMsgAirFlowCutOffLow = "AirFlow CUTOFF VOLTAGE LOW: ";
inline constexpr const char* kMsgTpsCutOff = "TPS cutoff voltage: ";
inline constexpr const char* kMsgAirFlowCutOff = "AirFlow cutoff voltage: ";

// AbNumSpinCrusRpm, AbNumSpinCrusBar, AbNumSpinCrusTime.
struct CruiseSettingsShown {
    double rpm = 0;
    double bar = 0;
    double seconds = 0;
};

// What the three cruise spins show for the image (refresh step CruiseSettings without
// ComboBoxCruise).
[[nodiscard]] CruiseSettingsShown cruiseSettingsShown(const EcuImage& image);

// ButtonTempomatClick: by CruiseMode, the engine speed (word 78), the pressure (word 77) and the
// time (byte 140) it uses, stored and sent in that order; then the three spins from the image.
CruiseSettingsShown cruiseDefaultsChosen(EcuImage& image, FieldSender& sender);

struct CutOffLearning {
    bool stored = false;  // a new threshold was stored and sent
    std::string message;  // shown before the controls change; empty in mode 0
    // AbNumSpinTpsCutOff; nothing when the mode gives the threshold no unit.
    std::optional<double> levelShown;
    int cutOffTime = kCutOffTimeAfterLearning;  // AbNumSpinCutOffTime
};

// ButtonSetTpsClick, with the last live record: throttle (word 4) in the TPS modes, air-flow
// input (word 5) in the air-flow modes. The message goes to the prompts; after it, the cut-off
// time becomes 100 and byte 151 is sent, also when the signal was refused.
CutOffLearning learnCutOffLevel(EcuImage& image, FieldSender& sender, Prompts& prompts,
                                const LiveFrame& frame, char decimalPoint = '.');

}  // namespace kaldor
