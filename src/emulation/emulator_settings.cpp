#include "emulation/emulator_settings.h"

#include <algorithm>

namespace kaldor {
namespace {

bool isItem(int item, std::size_t count) {
    return item >= 0 && static_cast<std::size_t>(item) < count;
}

}  // namespace

double limitedToSpin(std::string_view control, double value) {
    for (const SpinRange& r : kEmulatorSpinRanges)
        if (control == r.control)
            return std::clamp(value, r.minimum, r.maximum);
    return value;
}

EmulatorModeShown emulatorModeShown(const EcuImage& image) {
    const bool on = readField(image, FieldId::DnaEmulatorOn) != 0;
    const bool digital = readField(image, FieldId::EmulatorRelayDigital) != 0;
    EmulatorModeShown shown;
    shown.switchItem = on ? 1 : 0;
    if (digital)
        shown.relayItem = kRelayDigital;
    else if (on)
        shown.relayItem = 1;
    shown.mapsShown = on || digital;
    return shown;
}

std::optional<EmulatorModeShown> emulatorSwitchChosen(EcuImage& image, FieldSender& sender,
                                                      int item) {
    if (!isItem(item, kOffOnItems.size()))
        return std::nullopt;
    storeField(image, FieldId::DnaEmulatorOn, static_cast<std::uint32_t>(item));
    storeField(image, FieldId::EmulatorRelayDigital, 0);
    EmulatorModeShown shown = emulatorModeShown(image);
    // "OFF" also puts the relay list to "off", which the image alone would leave as it is.
    shown.relayItem = item;
    sender.sendField(FieldId::DnaEmulatorOn);
    return shown;
}

std::optional<EmulatorModeShown> relayModeChosen(EcuImage& image, FieldSender& sender, int item) {
    if (!isItem(item, kRelayModeItems.size()))
        return std::nullopt;
    const bool digital = item == kRelayDigital;
    storeField(image, FieldId::DnaEmulatorOn, digital ? 0u : static_cast<std::uint32_t>(item));
    storeField(image, FieldId::EmulatorRelayDigital, digital ? 1u : 0u);
    sender.sendField(FieldId::EmulatorRelayDigital);
    EmulatorModeShown shown = emulatorModeShown(image);
    shown.relayItem = item;
    return shown;
}

void eraseDiesel(CommandSet& commands) {
    commands.simple(Command::CmdEraseDiesel);
}

void eraseDieselGas(CommandSet& commands) {
    commands.simple(Command::CmdEraseDieselGas);
}

std::optional<int> toggledGroupHeight(std::string_view group, int height) {
    for (const FoldingGroup& g : kFoldingGroups)
        if (group == g.group)
            return height > g.foldedHeight ? g.foldedHeight : g.unfoldedHeight;
    return std::nullopt;
}

}  // namespace kaldor
