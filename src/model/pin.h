#pragma once
// The controller's access PIN: four decimal digits packed one per hexadecimal digit of a word,
// first digit highest. 0 means no PIN.
#include <array>
#include <cstdint>

namespace kaldor {

[[nodiscard]] constexpr std::uint16_t packPin(int d1, int d2, int d3, int d4) {
    return static_cast<std::uint16_t>(((d1 & 0xF) << 12) | ((d2 & 0xF) << 8) | ((d3 & 0xF) << 4) |
                                      (d4 & 0xF));
}

[[nodiscard]] constexpr std::array<int, 4> unpackPin(std::uint16_t pin) {
    return {(pin >> 12) & 0xF, (pin >> 8) & 0xF, (pin >> 4) & 0xF, pin & 0xF};
}

// The filter every PIN edit applies to typed characters and released key codes alike: 0x60..0x69
// (the keypad digit keys; as characters "`" and "a".."i") become "0".."9"; Backspace and Enter
// pass; other digits pass; everything else gives 0.
[[nodiscard]] constexpr int pinDigitFilter(int v) {
    constexpr int kBackspace = 8;
    constexpr int kEnter = 13;
    if (v >= 0x60 && v <= 0x69)
        v = '0' + (v - 0x60);
    if (v == kBackspace || v == kEnter)
        return v;
    if (v >= '0' && v <= '9')
        return v;
    return 0;
}

// The filter of the number entry dialog: digits, Backspace, Enter, '-' and '+'.
[[nodiscard]] constexpr bool numberEntryAccepts(int c) {
    return (c >= '0' && c <= '9') || c == 8 || c == 13 || c == '-' || c == '+';
}

}  // namespace kaldor
