#include "ui/dialogs/filtered_line_edit.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <utility>

namespace kaldor {

namespace {

struct KeyCode {
    int qtKey;
    bool keypad;  // the code applies only with (true) or only without (false) the keypad flag
    int code;
};

// Keys whose virtual-key code is not their Qt code. Qt reports a shifted punctuation key by
// the character it types, Windows by the key, so both characters of a key map to its code.
constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_Backspace, false, 0x08},  {Qt::Key_Tab, false, 0x09},
    {Qt::Key_Backtab, false, 0x09},    {Qt::Key_Return, false, 0x0D},
    {Qt::Key_Enter, true, 0x0D},       {Qt::Key_Enter, false, 0x0D},
    {Qt::Key_Shift, false, 0x10},      {Qt::Key_Control, false, 0x11},
    {Qt::Key_Alt, false, 0x12},        {Qt::Key_Pause, false, 0x13},
    {Qt::Key_CapsLock, false, 0x14},   {Qt::Key_Escape, false, 0x1B},
    {Qt::Key_Space, false, 0x20},      {Qt::Key_PageUp, false, 0x21},
    {Qt::Key_PageDown, false, 0x22},   {Qt::Key_End, false, 0x23},
    {Qt::Key_Home, false, 0x24},       {Qt::Key_Left, false, 0x25},
    {Qt::Key_Up, false, 0x26},         {Qt::Key_Right, false, 0x27},
    {Qt::Key_Down, false, 0x28},       {Qt::Key_Insert, false, 0x2D},
    {Qt::Key_Delete, false, 0x2E},     {Qt::Key_PageUp, true, 0x21},
    {Qt::Key_PageDown, true, 0x22},    {Qt::Key_End, true, 0x23},
    {Qt::Key_Home, true, 0x24},        {Qt::Key_Left, true, 0x25},
    {Qt::Key_Up, true, 0x26},          {Qt::Key_Right, true, 0x27},
    {Qt::Key_Down, true, 0x28},        {Qt::Key_Insert, true, 0x2D},
    {Qt::Key_Delete, true, 0x2E},      {Qt::Key_Asterisk, true, 0x6A},
    {Qt::Key_Plus, true, 0x6B},        {Qt::Key_Minus, true, 0x6D},
    {Qt::Key_Period, true, 0x6E},      {Qt::Key_Comma, true, 0x6E},
    {Qt::Key_Slash, true, 0x6F},       {Qt::Key_Semicolon, false, 0xBA},
    {Qt::Key_Colon, false, 0xBA},      {Qt::Key_Equal, false, 0xBB},
    {Qt::Key_Plus, false, 0xBB},       {Qt::Key_Comma, false, 0xBC},
    {Qt::Key_Less, false, 0xBC},       {Qt::Key_Minus, false, 0xBD},
    {Qt::Key_Underscore, false, 0xBD}, {Qt::Key_Period, false, 0xBE},
    {Qt::Key_Greater, false, 0xBE},    {Qt::Key_Slash, false, 0xBF},
    {Qt::Key_Question, false, 0xBF},   {Qt::Key_QuoteLeft, false, 0xC0},
    {Qt::Key_AsciiTilde, false, 0xC0}, {Qt::Key_BracketLeft, false, 0xDB},
    {Qt::Key_BraceLeft, false, 0xDB},  {Qt::Key_Backslash, false, 0xDC},
    {Qt::Key_Bar, false, 0xDC},        {Qt::Key_BracketRight, false, 0xDD},
    {Qt::Key_BraceRight, false, 0xDD}, {Qt::Key_Apostrophe, false, 0xDE},
    {Qt::Key_QuoteDbl, false, 0xDE},
};

constexpr int kFirstFunctionKeyCode = 0x70;
constexpr int kFirstKeypadDigitCode = 0x60;

}  // namespace

int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return keypad ? kFirstKeypadDigitCode + (qtKey - Qt::Key_0) : qtKey;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return kFirstFunctionKeyCode + (qtKey - Qt::Key_F1);
    }
    for (const KeyCode& entry : kKeyCodes) {
        if (entry.qtKey == qtKey && entry.keypad == keypad) {
            return entry.code;
        }
    }
    return 0;
}

FilteredLineEdit::FilteredLineEdit(QWidget* parent) : QLineEdit(parent) {}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!m_keyPress) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // A paste would bring in characters that were never typed, past the filter.
    if (event->matches(QKeySequence::Paste)) {
        event->ignore();
        return;
    }
    const QString typed = event->text();
    if (typed.isEmpty()) {
        // Cursor and editing keys type nothing; they keep their usual meaning.
        QLineEdit::keyPressEvent(event);
        return;
    }
    QString kept;
    for (const QChar c : typed) {
        int key = c.unicode();
        m_keyPress(key);
        if (key != 0) {
            kept.append(QChar(static_cast<char16_t>(key)));
        }
    }
    if (kept.isEmpty()) {
        // Swallowed here, but the dialog still sees the key (Escape closes it).
        event->ignore();
        return;
    }
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                       static_cast<quint16>(event->count()));
    QLineEdit::keyPressEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}

void FilteredLineEdit::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    // A held key repeats presses only; its one release comes when it is let go.
    if (m_keyUp && !event->isAutoRepeat()) {
        m_keyUp(windowsKeyCode(event->key(), event->modifiers()));
    }
}

}  // namespace kaldor
