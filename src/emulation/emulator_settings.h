#pragma once
// The DNA chain regulation settings and the signal emulator's switches: the measured range's
// spin editors and the handlers with rules of their own (the settings' lists, ranges and
// bindings are rows of the settings table). The emulator switch and the relay mode share two bits
// of byte 549; both handlers return what the switch, the relay list and the "DNA MAPS" group must
// show, so the three never disagree with the image.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "link/commands.h"
#include "model/codec.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/fields.h"
#include "model/list_items.h"
#include "model/refresh_step.h"

namespace kaldor {

inline constexpr int kRelayDigital = 2;  // kRelayModeItems: "on Digital"

struct SpinRange {
    const char* control;
    double minimum;
    double maximum;
    double step;
};
// The spin editors of the measured range SET builds the throttle map's axis from, one decimal
// shown (the settings' spin editors have their ranges in the settings table).
inline constexpr std::array<SpinRange, 2> kEmulatorSpinRanges{{
    {"AbNumSpinDnaMin1", 0, 5, 0.1},
    {"AbNumSpinDnaMax1", 0, 5, 0.1},
}};

// A value as the spin editor `control` takes it: limited to its range (unchanged for a control
// without one).
[[nodiscard]] double limitedToSpin(std::string_view control, double value);

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
