#include "ui/hot_keys.h"

namespace kaldor {

namespace {

constexpr std::uint16_t kVkF1 = 0x70;
constexpr std::uint16_t kVkF24 = 0x87;

int qtKeyOf(std::uint16_t virtualKey) {
    if (virtualKey >= '0' && virtualKey <= '9') {
        return Qt::Key_0 + (virtualKey - '0');
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return Qt::Key_A + (virtualKey - 'A');
    }
    if (virtualKey >= kVkF1 && virtualKey <= kVkF24) {
        return Qt::Key_F1 + (virtualKey - kVkF1);
    }
    return 0;
}

}  // namespace

QKeySequence hotKeySequence(std::uint16_t code) {
    const int key = qtKeyOf(code & 0xFFu);
    if (key == 0) {
        return {};
    }
    Qt::KeyboardModifiers modifiers;
    if ((code & kHotKeyShift) != 0) {
        modifiers |= Qt::ShiftModifier;
    }
    if ((code & kHotKeyCtrl) != 0) {
        modifiers |= Qt::ControlModifier;
    }
    if ((code & kHotKeyAlt) != 0) {
        modifiers |= Qt::AltModifier;
    }
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

}  // namespace kaldor
