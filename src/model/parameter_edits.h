#pragma once
// What the engine and sensor controls do when the user changes them (or leaves them): convert
// the shown value, store it into the image and send the word or byte at once. Where a control
// then shows something else (a rule, a snap, a preset), the function returns what it must show.
// A list with no item selected (index -1) changes and sends nothing.
#include <array>
#include <functional>
#include <optional>

#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/fields.h"
#include "model/prompts.h"

namespace kaldor {

inline constexpr const char* kMsgErrorPass = "ERROR PASS";

// Which of the two rpm-signal controls the signal level shows.
struct RpmSignalVisibility {
    bool thresholdShown;   // AbNumSpinRpmVar
    bool powerStageShown;  // EditAlter
};
[[nodiscard]] RpmSignalVisibility rpmSignalVisibility(unsigned level);

struct LevelSensorPreset {
    std::array<double, 4> points;  // E, 1/4, 2/4, 3/4 in volts
    bool normal;                   // LevelSensorNormal
};
// Level sensor presets by type 0..5.
inline constexpr std::array<LevelSensorPreset, 6> kLevelSensorPresets{{
    {{0.12, 0.22, 0.3, 0.35}, true},   // "0-90"
    {{0.35, 0.3, 0.22, 0.12}, false},  // "90-0"
    {{4.2, 3, 2.5, 2}, false},         // "20k-0"
    {{2.2, 3.7, 3.2, 4.2}, true},      // "0-20k"
    {{4.5, 4.1, 3.8, 3}, false},       // "AEB806"
    {{4.89, 4.8, 4.7, 4.1}, false},    // "Wika"
}};

struct LevelSensorShown {
    std::array<double, 4> points;
    bool invertTicked;
};

class ParameterEditor {
public:
    ParameterEditor(EcuImage& image, FieldSender& sender);

    // The coil type change converts the map's rpm axis and the cruise rpm again when the map
    // type asks for it; the map editors fill this in.
    void setCoilTypeFollowUp(std::function<void()> followUp) {
        m_coilFollowUp = std::move(followUp);
    }

    // A plain control: the shown value converted by the field's codec, stored and sent. False
    // when nothing was stored (no list item chosen).
    bool edit(FieldId field, double shown);

    // Without the vacuum line the minimum pressure is never below 1.1 bar. Returns the value shown.
    [[nodiscard]] double minPressureEdited(double bar);
    // Stores the vacuum line flag, then sets the minimum pressure (0.5 bar connected, 1.2 bar not)
    // through its handler. Returns the minimum pressure to show, or nothing for no item.
    [[nodiscard]] std::optional<double> vacuumChosen(int index);
    // Stores the period of the rpm and returns the rpm the controller will use.
    [[nodiscard]] double switchOnRpmEdited(double rpm);
    // Returns the switch-on rpm to show after the conversion with the new type.
    [[nodiscard]] std::optional<double> coilTypeChosen(int index, double shownRpm);
    [[nodiscard]] std::optional<RpmSignalVisibility> rpmSignalLevelChosen(int index);
    // Sets the four level points from the type's preset (or from the controls as they are).
    [[nodiscard]] std::optional<LevelSensorShown> levelSensorChosen(int index,
                                                                    std::array<double, 4> shown);

private:
    void storeAndSend(FieldId field, std::uint32_t raw);

    EcuImage& m_image;
    FieldSender& m_sender;
    std::function<void()> m_coilFollowUp;
};

enum class PinCheckOutcome { NoPin, Accepted, Refused };

// Asks for the controller's PIN when the image holds one. Either way the in-memory PIN becomes
// 0 once asked, so a second refresh of the same image does not ask again.
[[nodiscard]] PinCheckOutcome checkControllerPin(EcuImage& image, Prompts& prompts);

// "SET PIN": asks for the new PIN twice and writes it to the controller. False when cancelled.
bool setControllerPin(EcuImage& image, FieldSender& sender, Prompts& prompts);

}  // namespace kaldor
