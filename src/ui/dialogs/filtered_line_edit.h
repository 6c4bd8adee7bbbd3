#pragma once
// A one-line edit whose typed characters and released keys go through the owner's handlers, the
// way the dialogs' OnKeyPress and OnKeyUp handlers see them: characters as character codes, key
// releases as the platform-neutral Windows virtual-key codes the handlers were written for.
#include <QLineEdit>

#include <functional>

namespace kaldor {

// The Windows virtual-key code of a Qt key: digit keys 0x30..0x39, keypad digits 0x60..0x69,
// letters 0x41..0x5A, Backspace 8, Enter and Return 13, keypad operators 0x6A..0x6F, the plus
// and minus keys 0xBB and 0xBD, F1.. from 0x70 and so on. 0 for a key without a code here.
[[nodiscard]] int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

class FilteredLineEdit : public QLineEdit {
    Q_OBJECT

public:
    // Receives each typed character's code and replaces it; 0 swallows the character.
    using KeyPressHandler = std::function<void(int& key)>;
    // Receives the virtual-key code of every released key (auto-repeat releases excepted).
    using KeyUpHandler = std::function<void(int key)>;

    explicit FilteredLineEdit(QWidget* parent = nullptr);

    void setKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }
    void setKeyUpHandler(KeyUpHandler handler) { m_keyUp = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    KeyPressHandler m_keyPress;
    KeyUpHandler m_keyUp;
};

}  // namespace kaldor
