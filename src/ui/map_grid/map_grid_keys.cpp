// The keys of a grid: the Windows key codes the models speak, and the event filter that steps
// the selection on a key's release (whose press the grid had), opens the typed entry on Enter and
// hands Ctrl with a tool's key to the tools.
#include <QKeyEvent>
#include <QTableWidget>

#include <optional>

#include "ui/map_grid/map_grid.h"

namespace kaldor {
namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

struct KeyCode {
    int qtKey;
    int code;        // without the keypad modifier
    int keypadCode;  // with it
};

constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_Return, kKeyEnter, kKeyEnter},    {Qt::Key_Enter, kKeyEnter, kKeyEnter},
    {Qt::Key_Plus, kKeyPlusMain, kKeyPlus},    {Qt::Key_Equal, kKeyPlusMain, kKeyPlusMain},
    {Qt::Key_Minus, kKeyMinusMain, kKeyMinus}, {Qt::Key_Underscore, kKeyMinusMain, kKeyMinusMain},
    {Qt::Key_Left, kKeyLeft, kKeyLeft},        {Qt::Key_Up, kKeyUp, kKeyUp},
    {Qt::Key_Right, kKeyRight, kKeyRight},     {Qt::Key_Down, kKeyDown, kKeyDown},
};

// The same physical key on press and release, even when Shift changed the symbol in between.
int keyIdentity(const QKeyEvent& event) {
    return event.nativeScanCode() != 0 ? static_cast<int>(0x40000000u | event.nativeScanCode())
                                       : event.key();
}

}  // namespace

int windowsKeyCode(const QKeyEvent& event) {
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    for (const KeyCode& k : kKeyCodes)
        if (event.key() == k.qtKey)
            return keypad ? k.keypadCode : k.code;
    const int key = event.key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key;
    return 0;
}

void MapGrid::keyReleased(int key, bool shift) {
    // Enter opens the text entry where the model takes one; elsewhere it is a key like any other.
    if (key == kKeyEnter && m_model.takesTypedEntry()) {
        typedEntry();
        return;
    }
    if (const std::optional<int> s = m_model.keyStep(key, shift))
        step(*s);
}

bool MapGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::Show)
        m_shownOnce = true;
    if (watched == m_grid && event->type() == QEvent::FocusOut)
        m_pressed.clear();  // their releases go elsewhere
    const bool press = event->type() == QEvent::KeyPress;
    if (watched != m_grid || (!press && event->type() != QEvent::KeyRelease))
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (press && !key->isAutoRepeat() && m_model.toolCells() && toolKey(*key))
        return true;
    const int code = windowsKeyCode(*key);
    const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
    if (press) {
        if (!key->isAutoRepeat())
            m_pressed.insert(keyIdentity(*key));
        // A key that edits neither searches nor moves in the grid.
        const std::optional<int> s = m_model.keyStep(code, shift);
        return (code == kKeyEnter && m_dialog != nullptr && m_model.takesTypedEntry()) ||
               (s && *s != 0);
    }
    // A release whose press went elsewhere (the Enter that closed the dialog) does nothing.
    if (key->isAutoRepeat() || !m_pressed.remove(keyIdentity(*key)))
        return false;
    keyReleased(code, shift);
    return true;
}

}  // namespace kaldor
