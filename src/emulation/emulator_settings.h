#pragma once
// The DNA chain regulation settings and the signal emulator's switches: the lists and ranges of
// their controls, which of them are plain bindings of a field, and the handlers with rules of
// their own. The emulator switch and the relay mode share two bits of byte 549; both handlers
// return what the switch, the relay list and the "DNA MAPS" group must show, so the three never
// disagree with the image.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "link/commands.h"
#include "model/codec.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/fields.h"
#include "model/refresh_step.h"

namespace kaldor {

// ComboBoxMappingTempOK ("Temp.Start[C]:"): item "0" stores 10, "60" stores 70.
inline constexpr std::array<std::string_view, 7> kMappingTempOkItems{"0",  "10", "20", "30",
                                                                     "40", "50", "60"};
// ComboBoxMappingRozdz ("Mapp.Vacum[dV]").
inline constexpr std::array<std::string_view, 25> kMappingSpreadItems{
    "10",  "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",  "100", "110", "120", "130",
    "140", "150", "160", "170", "180", "190", "200", "210", "220", "230", "240", "250"};
// ComboBoxMappingTpsDelta ("Mapp.V[dT]:").
inline constexpr std::array<std::string_view, 20> kMappingTpsDeltaItems{
    "10",  "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",  "100",
    "110", "120", "130", "140", "150", "160", "170", "180", "190", "200"};
// ComboBoxTpsType ("V Type:").
inline constexpr std::array<std::string_view, 13> kTpsTypeItems{
    "1V", "1.25V", "1.5V", "2V", "2.5V", "3V", "4V", "4.5V", "5V", "7.5V", "10V", "12V", "15V"};
// ComboBoxMappingIteracja ("IterationTime[s]:").
inline constexpr std::array<std::string_view, 10> kMappingIterationItems{
    "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"};
// ComboBoxDNAEmuSelect ("DNA EMU:"), ComboBoxTpsEmul, ComboBoxEmulatorStep.
// ComboBoxeEmulatorRelayOn ("DNA Emulator:").
inline constexpr std::array<std::string_view, 3> kRelayModeItems{"off", "on Analog", "on Digital"};
inline constexpr int kRelayDigital = 2;
// ComboBoxDnaSigRis1 ("Chan.1:"), ComboBoxDnaSigRis2 ("Chan.2:").
inline constexpr std::array<std::string_view, 2> kSignalDirectionItems{"rising", "falling"};

struct SpinRange {
    const char* control;
    double minimum;
    double maximum;
    double step;
};
// The spin editors refuse values outside these.
inline constexpr std::array<SpinRange, 6> kEmulatorSpinRanges{{
    {"AbNumSpinMaxTps", 0, 15, 0.05},   // "Max V[V]:"
    {"AbNumSpinMinTps", 0, 15, 0.05},   // "Min V[V]:"
    {"AbNumSpinMaxDTps", 1, 100, 0.2},  // "MaxDTps:"
    {"AbNumSpinMinDTps", 0, 50, 0.1},   // "MinDTps:"
    // The measured range SET builds the throttle map's axis from, one decimal shown.
    {"AbNumSpinDnaMin1", 0, 5, 0.1},
    {"AbNumSpinDnaMax1", 0, 5, 0.1},
}};

// A value as the spin editor `control` takes it: limited to its range (unchanged for a control
// without one).
[[nodiscard]] double limitedToSpin(std::string_view control, double value);

// A control bound to a field: the refresh step shows it through the field's codec; a plain one's
// edit only stores the shown value through the same codec and sends the field.
struct EmulatorBinding {
    const char* control;
    FieldId field;
    RefreshStep refreshStep;
    bool plainEdit;
};
inline constexpr std::array<EmulatorBinding, 15> kEmulatorBindings{{
    {"AbNumSpinMaxDTps", FieldId::DnaMaxDTps, RefreshStep::DtpsLimits, true},
    {"AbNumSpinMinDTps", FieldId::DnaMinDTps, RefreshStep::DtpsLimits, true},
    // Its handler converts and sends the throttle map's axis as well (EmulatorMaps).
    {"ComboBoxActivInput", FieldId::EmuInputChannel, RefreshStep::EmulatorInput, false},
    {"ComboBoxDnaSigRis1", FieldId::DnaSignal1Falling, RefreshStep::EmulatorSettings, true},
    {"ComboBoxDnaSigRis2", FieldId::DnaSignal2Falling, RefreshStep::EmulatorSettings, true},
    {"ComboBoxMappingTempOK", FieldId::MappingTempOk, RefreshStep::EmulatorSettings, true},
    {"ComboBoxMappingRozdz", FieldId::MappingSpread, RefreshStep::EmulatorSettings, true},
    {"ComboBoxMappingTpsDelta", FieldId::MappingTpsDelta, RefreshStep::EmulatorSettings, true},
    {"ComboBoxTpsType", FieldId::TpsType, RefreshStep::EmulatorSettings, true},
    {"ComboBoxMappingIteracja", FieldId::MappingIteration, RefreshStep::EmulatorSettings, true},
    {"AbNumSpinMaxTps", FieldId::DnaMaxTps, RefreshStep::EmulatorSettings, true},
    {"AbNumSpinMinTps", FieldId::DnaMinTps, RefreshStep::EmulatorSettings, true},
    {"ComboBoxTpsEmul", FieldId::TpsEmulatorOn, RefreshStep::EmulatorSettings, true},
    // Its handler keeps the relay list and "DNA MAPS" in step (emulatorSwitchChosen).
    {"ComboBoxDNAEmuSelect", FieldId::DnaEmulatorOn, RefreshStep::EmulatorSettings, false},
    {"ComboBoxEmulatorStep", FieldId::StepEmulatorOn, RefreshStep::EmulatorSettings, true},
}};

// What the emulator switch, the relay list and the group GroupBoxMapsEmu ("DNA MAPS") show.
struct EmulatorModeShown {
    int switchItem = 0;            // ComboBoxDNAEmuSelect
    std::optional<int> relayItem;  // ComboBoxeEmulatorRelayOn; nothing: left as it is
    bool mapsShown = false;        // GroupBoxMapsEmu
};

// Refresh step EmulatorSettings's share: the relay list shows "on Analog" or "on Digital" by the
// bits and is left as it is when both are 0.
[[nodiscard]] EmulatorModeShown emulatorModeShown(const EcuImage& image);

// ComboBoxDNAEmuSelect: the switch sets the emulator bit and clears the digital relay; the relay
// list follows ("OFF" -> "off", "ON" -> "on Analog"); word 274 is sent. Nothing for no item.
[[nodiscard]] std::optional<EmulatorModeShown> emulatorSwitchChosen(EcuImage& image,
                                                                    FieldSender& sender, int item);
// ComboBoxeEmulatorRelayOn: "on Digital" clears the emulator bit and sets the digital relay,
// "off" and "on Analog" set the emulator bit by the item and clear the relay; word 274 is sent.
// The switch shows the emulator bit as it now is. Nothing for no item.
[[nodiscard]] std::optional<EmulatorModeShown> relayModeChosen(EcuImage& image, FieldSender& sender,
                                                               int item);

// ButtonEraseDiesel ("erase diesel") and Button12 ("erase diesel-gas"): the controller forgets
// what the chain regulation learned; nothing changes on the PC.
void eraseDiesel(CommandSet& commands);
void eraseDieselGas(CommandSet& commands);

// Groups that fold away when their frame is clicked.
struct FoldingGroup {
    const char* group;
    int foldedHeight;
    int unfoldedHeight;
};
inline constexpr std::array<FoldingGroup, 2> kFoldingGroups{{
    {"GroupBoxDNA", 18, 217},
    {"GroupBoxSignalEmulator", 3, 275},
}};
// The height after a click on the group's frame: an unfolded group folds, a folded one unfolds.
// Nothing for a group that does not fold.
[[nodiscard]] std::optional<int> toggledGroupHeight(std::string_view group, int height);

}  // namespace kaldor
