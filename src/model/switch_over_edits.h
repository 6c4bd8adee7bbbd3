#pragma once
// What the cut-off, CDi emulator and power class controls do when the user changes them (or
// leaves them), beyond storing one field through its codec: the cut-off level that is sent even
// when its mode gives it no unit, the CDi thresholds and values that refuse out-of-range numbers,
// and the two presets that set several fields at once. The plain controls of the same groups
// (cut-off mode and time, emulator type, dynamic coefficient, frequency emulator) go through
// ParameterEditor::edit; the double injection time, which rewrites both maps, is in
// maps/double_injection.h.
#include <array>
#include <cstddef>
#include <optional>

#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/fields.h"

namespace kaldor {

// ComboBoxDciEn: the emulator mode is not stored as such; each item sets the emulator's on and
// type bits and its four levels.
struct EmulatorModePreset {
    const char* item;
    bool on;                    // CdiEmulatorOn
    bool dieselMap;             // CdiEmulatorType
    std::array<int, 4> values;  // CdiValue1..4
};
inline constexpr std::array<EmulatorModePreset, 11> kEmulatorModes{{
    {"N/A", false, false, {0, 10, 20, 30}},
    {"CDi (Mode 1)", true, false, {0, 10, 20, 30}},
    {"CDi (Mode 2)", true, false, {0, 20, 30, 40}},
    {"CDi (Mode 3)", true, false, {0, 30, 50, 60}},
    {"CDi (Mode 4)", true, false, {0, 40, 60, 85}},
    {"CDi (Mode 5)", true, false, {0, 50, 70, 90}},
    {"Diesel Map (Mode 1)", true, true, {0, 10, 20, 30}},
    {"Diesel Map (Mode 2)", true, true, {0, 20, 30, 40}},
    {"Diesel Map (Mode 3)", true, true, {0, 30, 50, 60}},
    {"Diesel Map (Mode 4)", true, true, {0, 40, 60, 85}},
    {"Diesel Map (Mode 5)", true, true, {0, 50, 70, 90}},
}};
// The diesel-map items follow the five CDi items.
inline constexpr int kDieselMapModeOffset = 5;

// ComboBoxEnginePower: each power class sets ComboBoxDK and AbNumSpinDynamicK.
struct PowerClassPreset {
    const char* item;
    bool dynamicOn;  // ComboBoxDK item
    int dynamicK;
};
inline constexpr std::array<PowerClassPreset, 9> kPowerClasses{{
    {"OFF", false, 100},
    {"0     -  50  HP", true, 200},
    {"50   -  90  HP", true, 180},
    {"90   - 150 HP", true, 160},
    {"150 - 250 HP", true, 140},
    {"250 - 350 HP", true, 120},
    {"350 - 500 HP", true, 100},
    {"500 - 600 HP", true, 80},
    {"over 600 HP", true, 60},
}};

// The CDi levels a control accepts; anything else leaves the word and sends nothing.
inline constexpr int kCdiThresholdMax = 254;
inline constexpr int kCdiValueMax = 100;
inline constexpr int kCdiThresholdCount = 3;
inline constexpr int kCdiValueCount = 4;

// What the emulator controls show after a mode was chosen.
struct CdiEmulatorModeShown {
    int emulatorType;           // ComboBoxEmulatorType item
    std::array<int, 4> values;  // AbNumSpinV1..V4
};

// What the two dynamic-coefficient controls show after a power class was chosen.
struct PowerClassShown {
    int dynamicItem;  // ComboBoxDK
    int dynamicK;     // AbNumSpinDynamicK
};

class SwitchOverEditor {
public:
    SwitchOverEditor(EcuImage& image, FieldSender& sender);

    // AbNumSpinTpsCutOff: stored by the unit the cut-off mode gives it; a mode without one keeps
    // the word. Word 76 is sent either way.
    void cutOffLevelEdited(double volts);
    // AbNumSpinCdi1..3 (which 0..2) and AbNumSpinV1..4 (which 0..3). False when the value was
    // refused: nothing stored, nothing sent.
    bool cdiThresholdEdited(int which, double value);
    bool cdiValueEdited(int which, double value);
    // ComboBoxDciEn: the preset's bits and levels, words 370..373, then word 274. Nothing for no
    // item; an index beyond the list stores nothing but still sends.
    std::optional<CdiEmulatorModeShown> emulatorModeChosen(int index);
    // ComboBoxEnginePower: ComboBoxDK's handler (word 274), then AbNumSpinDynamicK's (word 175).
    // Nothing for an index the list does not hold.
    std::optional<PowerClassShown> enginePowerChosen(int index);

private:
    bool storeInRange(FieldId field, double value, int maximum);

    EcuImage& m_image;
    FieldSender& m_sender;
};

// Refresh step EnginePower: the power class the dynamic coefficient stands for (0 while it is off).
// May lie outside the list, which then shows no item.
[[nodiscard]] int enginePowerItem(const EcuImage& image);
// Refresh step CdiEmulator: the emulator mode the on and type bits and the second level stand for.
[[nodiscard]] int emulatorModeItem(const EcuImage& image);

// ComboBoxLevel ("IdS 1".."IdS 3"): the software revision the program assumes from now on. The
// connection state keeps it; nothing is written. Nothing for no item.
[[nodiscard]] std::optional<unsigned> assumedSoftwareRevision(int levelIndex);

}  // namespace kaldor
