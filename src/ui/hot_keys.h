#pragma once
// The eight menu keys. They are data, as the program has always kept them: a virtual-key code
// in the low byte with the modifier flags above it (Ctrl+P is 0x4050 = 16464), copied into the
// menu items when the window is created.
#include <QKeySequence>

#include <array>
#include <cstdint>

namespace kaldor {

inline constexpr std::uint16_t kHotKeyShift = 0x2000;
inline constexpr std::uint16_t kHotKeyCtrl = 0x4000;
inline constexpr std::uint16_t kHotKeyAlt = 0x8000;

struct HotKey {
    const char* name;      // the key control that holds the value
    std::uint16_t code;    // virtual-key code | modifier flags
    const char* menuItem;  // the menu item that gets it
};

// In the order the keys are copied into the menu.
inline constexpr std::array<HotKey, 8> kHotKeys{{
    {"HotKey2", 0x71, "F2readings1"},
    {"HotKey3", 0x72, "F3parameters1"},
    {"HotKey4", 0x73, "F4adjustment1"},
    {"HotKey5", 0x74, "F5diagnostic1"},
    {"HotKey10", 0x79, "F10autoconnect1"},
    {"HotKeyPetrol", kHotKeyCtrl | 0x50, "petro1"},
    {"HotKeyAuto", kHotKeyCtrl | 0x41, "auto1"},
    {"HotKeyLPG", kHotKeyCtrl | 0x4C, "propane1"},
}};

// The key sequence of a stored key value. Letters, digits and F1..F24 are understood; any other
// key code gives an empty sequence (no shortcut) rather than a wrong key.
[[nodiscard]] QKeySequence hotKeySequence(std::uint16_t code);

}  // namespace kaldor
