#include "emulation/emulator_cell_names.h"

#include "emulation/emulator_maps.h"

namespace kaldor {
namespace {

using F = FieldId;

// The unit the EMU page's throttle map axis is read in for the chosen input.
std::string emuAxisUnit(const EcuImage& image) {
    const unsigned channel = readField(image, F::EmuInputChannel);
    for (std::size_t i = 0; i < kEmuInputs.size(); ++i)
        if (kInputChannelWords[i] == channel)
            return kEmuInputs[i].unit == EmuAxisUnit::InjectionTime ? "ms" : "V";
    return "";
}

}  // namespace

std::optional<std::string> emulatorCellName(const EcuImage& image, FieldId id,
                                            std::size_t element) {
    if (id != F::TpsEmulatorTable && id != F::StepEmulatorTable)
        return std::nullopt;
    const auto columns = static_cast<std::size_t>(kEmuColumns);
    const std::size_t row = element / columns;
    const std::size_t column = element % columns;
    const std::string channel = row == 0 ? "K1" : "K2";
    if (id == F::StepEmulatorTable)
        return channel + " x " + std::to_string(kStepAxis[column]);
    const auto raw = static_cast<std::uint16_t>(readField(image, F::TpsEmulatorAxis, column));
    const auto text = emuAxisText(readField(image, F::EmuInputChannel), raw, '.');
    return channel + " x " +
           (text ? *text + " " + emuAxisUnit(image) : "column " + std::to_string(column + 1));
}

std::optional<std::string> emulatorAxisValue(const EcuImage& image, FieldId id,
                                             std::size_t element) {
    if (id != F::TpsEmulatorAxis)
        return std::nullopt;
    const auto raw = static_cast<std::uint16_t>(readField(image, id, element));
    if (const auto text = emuAxisText(readField(image, F::EmuInputChannel), raw, '.'))
        return *text + " " + emuAxisUnit(image);
    return std::nullopt;
}

}  // namespace kaldor
