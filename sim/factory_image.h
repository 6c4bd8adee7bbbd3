// The parameter image a controller leaves the factory with, and the PIN packing it uses.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "protocol.h"

namespace kaldor::sim {

using ParameterImage = std::array<std::uint8_t, kImageSize>;

inline constexpr std::uint32_t kDefaultSerialNumber = 123456;
inline constexpr std::size_t kSerialWord = 242;  // low word; the high word follows
inline constexpr std::size_t kPinWord = 374;

// A plausible factory image: a filled 16 x 8 main map with its axes, sensor types, switch-on
// temperature, switch-on rpm as a period for the configured rpm signal type, pressures, delays,
// level points, a cruise map and the enabled-errors mask; serial number kDefaultSerialNumber and
// no PIN.
[[nodiscard]] ParameterImage factoryImage();

// Four decimal digits d1..d4 packed as the hexadecimal number d1 d2 d3 d4 ("1234" -> 0x1234), the
// form in which the PIN is kept in word 374. Anything but exactly four digits gives nothing.
[[nodiscard]] std::optional<std::uint16_t> packPin(const std::string& digits);

void storeWord(ParameterImage& image, std::size_t wordIndex, std::uint16_t value);
[[nodiscard]] std::uint16_t loadWord(const ParameterImage& image, std::size_t wordIndex);
void storeSerialNumber(ParameterImage& image, std::uint32_t serial);

}  // namespace kaldor::sim
