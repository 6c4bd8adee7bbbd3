#include "ui/dialogs/filtered_line_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using kaldor::FilteredLineEdit;
using kaldor::windowsKeyCode;

TEST(WindowsKeyCode, MapsQtKeysToVirtualKeyCodes) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        int code;
    };
    const std::vector<Case> cases = {
        {Qt::Key_0, Qt::NoModifier, 0x30},         {Qt::Key_9, Qt::NoModifier, 0x39},
        {Qt::Key_0, Qt::KeypadModifier, 0x60},     {Qt::Key_9, Qt::KeypadModifier, 0x69},
        {Qt::Key_A, Qt::NoModifier, 0x41},         {Qt::Key_A, Qt::ShiftModifier, 0x41},
        {Qt::Key_Z, Qt::NoModifier, 0x5A},         {Qt::Key_Backspace, Qt::NoModifier, 8},
        {Qt::Key_Return, Qt::NoModifier, 13},      {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Escape, Qt::NoModifier, 0x1B},    {Qt::Key_F1, Qt::NoModifier, 0x70},
        {Qt::Key_F10, Qt::NoModifier, 0x79},       {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Plus, Qt::NoModifier, 187},       {Qt::Key_Equal, Qt::NoModifier, 187},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},  {Qt::Key_Minus, Qt::NoModifier, 189},
        {Qt::Key_QuoteLeft, Qt::NoModifier, 0xC0}, {Qt::Key_End, Qt::KeypadModifier, 0x23},
        {Qt::Key_unknown, Qt::NoModifier, 0},      {Qt::Key_Exclam, Qt::NoModifier, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(windowsKeyCode(c.qtKey, c.modifiers), c.code)
            << "Qt key 0x" << std::hex << c.qtKey << " modifiers 0x" << c.modifiers.toInt();
    }
}

TEST(FilteredLineEdit, HandlersReplaceTypedCharactersAndSeeReleasedKeys) {
    FilteredLineEdit line;
    std::vector<int> released;
    line.setKeyPressHandler([](int& key) {
        if (key == 'x') {
            key = 'y';
        } else if (key == 'q') {
            key = 0;
        }
    });
    line.setKeyUpHandler([&](int key) { released.push_back(key); });
    QTest::keyClicks(&line, "axqb");
    EXPECT_EQ(line.text(), "ayb");
    EXPECT_EQ(released, std::vector<int>({0x41, 0x58, 0x51, 0x42}));

    // A key held down repeats presses; only its final release counts.
    released.clear();
    QTest::keyPress(&line, Qt::Key_C);
    QTest::keyEvent(QTest::Release, &line, Qt::Key_C);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_C, Qt::NoModifier, "c", true);
    QApplication::sendEvent(&line, &repeatRelease);
    EXPECT_EQ(released, std::vector<int>({0x43}));
}

TEST(FilteredLineEdit, PasteCannotBypassTheFilter) {
    FilteredLineEdit line;
    line.setKeyPressHandler([](int& key) { key = key == '1' ? key : 0; });
    QApplication::clipboard()->setText("abc");
    QTest::keyClick(&line, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&line, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClicks(&line, "a1");
    EXPECT_EQ(line.text(), "1");

    // Without a handler the edit is an ordinary one.
    FilteredLineEdit plain;
    QTest::keyClick(&plain, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(&plain, "a1");
    EXPECT_EQ(plain.text(), "abca1");
}

}  // namespace
