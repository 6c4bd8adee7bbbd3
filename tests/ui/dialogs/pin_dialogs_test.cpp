#include "ui/dialogs/pin_dialogs.h"

#include "dialog_test_support.h"
#include "model/pin.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dialogtest::button;
using dialogtest::edit;
using dialogtest::focusName;
using dialogtest::key;
using dialogtest::runModal;
using dialogtest::type;
using kaldor::TForm3;
using kaldor::TForm4;

QString labelText(const QDialog& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

void expectPinDialogFrame(QDialog& dialog) {
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint)) << "no close box";
    dialog.show();
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
    EXPECT_EQ(labelText(dialog, "Label9"), "USE ONLY: 0 1 2 3 4 5 6 7 8 9");
    const auto* useOnly = dialog.findChild<QLabel*>("Label9");
    ASSERT_NE(useOnly, nullptr);
    EXPECT_EQ(useOnly->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(labelText(dialog, "Label7"), "enter pin:");
    ASSERT_NE(button(dialog, "BitBtnOK"), nullptr);
    ASSERT_NE(button(dialog, "BitBtnAnuluj"), nullptr);
}

TEST(TForm4, FrameControlsAndTabOrder) {
    TForm4 dialog;
    EXPECT_EQ(dialog.windowTitle(), "Form4");
    expectPinDialogFrame(dialog);
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        EXPECT_EQ(labelText(dialog, name), "-") << name;
    }
    EXPECT_EQ(dialogtest::tabOrder(edit(dialog, "MaskEditPin1")),
              QStringList({"MaskEditPin1", "MaskEditPin2", "MaskEditPin3", "MaskEditPin4",
                           "BitBtnAnuluj", "BitBtnOK"}));
    EXPECT_EQ(focusName(dialog), "MaskEditPin1");
    EXPECT_FALSE(button(dialog, "BitBtnOK")->isEnabled());
}

TEST(TForm4, EditsHoldOneDigitShownAsHash) {
    TForm4 dialog;
    dialog.show();
    QLineEdit* first = edit(dialog, "MaskEditPin1");
    EXPECT_EQ(first->maxLength(), 1);
    type(dialog, "7");
    EXPECT_EQ(first->text(), "7");
    EXPECT_EQ(first->displayText(), "#");
    // A second digit into a filled edit is refused by the one-character limit.
    first->setFocus();
    first->end(false);
    type(dialog, "8");
    EXPECT_EQ(first->text(), "7");
}

TEST(TForm4, TypingOverAFilledRowReplacesEachDigit) {
    TForm4 dialog;
    dialog.show();
    type(dialog, "1234");
    // Back from OK over the abort button and the four edits.
    for (int i = 0; i < 5; ++i) {
        key(dialog, Qt::Key_Backtab);
    }
    ASSERT_EQ(focusName(dialog), "MaskEditPin1");
    // Each move selects the digit it lands on, so the next key replaces it.
    type(dialog, "567");
    EXPECT_EQ(dialog.digits(), "5674");
    EXPECT_EQ(focusName(dialog), "MaskEditPin4");
}

TEST(TForm4, TopRowAndKeypadDigitsMoveToOk) {
    struct Case {
        Qt::KeyboardModifiers modifiers;
        std::vector<Qt::Key> keys;
        std::uint16_t pin;
    };
    const std::vector<Case> cases = {
        {Qt::NoModifier, {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4}, 0x1234},
        {Qt::KeypadModifier, {Qt::Key_9, Qt::Key_0, Qt::Key_7, Qt::Key_6}, 0x9076},
    };
    TForm4 dialog;
    dialog.show();
    for (const Case& c : cases) {
        dialog.FormActivate();
        const char* const afterEach[] = {"MaskEditPin2", "MaskEditPin3", "MaskEditPin4",
                                         "BitBtnOK"};
        for (size_t i = 0; i < c.keys.size(); ++i) {
            key(dialog, c.keys[i], c.modifiers);
            EXPECT_EQ(focusName(dialog), afterEach[i])
                << "key " << i << " keypad " << c.modifiers.testFlag(Qt::KeypadModifier);
        }
        EXPECT_TRUE(button(dialog, "BitBtnOK")->isEnabled());
        ASSERT_TRUE(dialog.pin().has_value());
        EXPECT_EQ(*dialog.pin(), c.pin);
    }
}

TEST(TForm4, LettersAToIAndBacktickTypeDigitsWithoutMoving) {
    TForm4 dialog;
    dialog.show();
    const std::string typed = "`abcdefghi";
    for (size_t n = 0; n < typed.size(); ++n) {
        dialog.FormActivate();
        const char c[] = {typed[n], '\0'};
        type(dialog, c);
        EXPECT_EQ(edit(dialog, "MaskEditPin1")->text(), QString::number(n)) << typed[n];
        EXPECT_EQ(focusName(dialog), "MaskEditPin1") << typed[n];
    }
}

TEST(TForm4, OtherCharactersAreSwallowed) {
    TForm4 dialog;
    dialog.show();
    type(dialog, "jzAI!.- j");
    EXPECT_TRUE(edit(dialog, "MaskEditPin1")->text().isEmpty());
    EXPECT_EQ(focusName(dialog), "MaskEditPin1");
    EXPECT_TRUE(dialog.isVisible());
}

TEST(TForm4, BackspaceAndEnterMoveOnLikeDigits) {
    TForm4 dialog;
    dialog.show();
    type(dialog, "5");
    key(dialog, Qt::Key_Tab);
    ASSERT_EQ(focusName(dialog), "MaskEditPin3");
    key(dialog, Qt::Key_Backtab);
    key(dialog, Qt::Key_Backtab);
    ASSERT_EQ(focusName(dialog), "MaskEditPin1");
    key(dialog, Qt::Key_End);
    key(dialog, Qt::Key_Backspace);
    EXPECT_TRUE(edit(dialog, "MaskEditPin1")->text().isEmpty());
    EXPECT_EQ(focusName(dialog), "MaskEditPin2");
    // OK is disabled, so Enter does not close the dialog; it only moves on.
    key(dialog, Qt::Key_Return);
    EXPECT_EQ(focusName(dialog), "MaskEditPin3");
    key(dialog, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(focusName(dialog), "MaskEditPin4");
    EXPECT_TRUE(dialog.isVisible());
}

TEST(TForm4, OkEnabledExactlyWhenAllFourAreFilled) {
    TForm4 dialog;
    dialog.show();
    QPushButton* ok = button(dialog, "BitBtnOK");
    type(dialog, "123");
    EXPECT_FALSE(ok->isEnabled());
    type(dialog, "4");
    EXPECT_TRUE(ok->isEnabled());
    // Emptying an edit by Delete passes no key-up move but still takes OK away.
    QLineEdit* second = edit(dialog, "MaskEditPin2");
    second->setFocus();
    second->home(false);
    key(dialog, Qt::Key_Delete);
    EXPECT_TRUE(second->text().isEmpty());
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(dialog.pin().has_value());
}

TEST(TForm4, EachShowingStartsEmpty) {
    TForm4 dialog;
    dialog.show();
    type(dialog, "4321");
    ASSERT_EQ(focusName(dialog), "BitBtnOK");
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.digits(), "");
    EXPECT_FALSE(button(dialog, "BitBtnOK")->isEnabled());
    EXPECT_EQ(focusName(dialog), "MaskEditPin1");
}

TEST(TForm4, OnlyOkAccepts) {
    TForm4 dialog;
    EXPECT_EQ(runModal(dialog,
                       [&] {
                           type(dialog, "0908");
                           key(dialog, Qt::Key_Return);  // OK has the focus now
                       }),
              QDialog::Accepted);
    EXPECT_EQ(dialog.digits(), "0908");
    EXPECT_EQ(dialog.pin(), kaldor::packPin(0, 9, 0, 8));

    EXPECT_EQ(runModal(dialog,
                       [&] {
                           type(dialog, "1111");
                           key(dialog, Qt::Key_Escape);
                       }),
              QDialog::Rejected);

    EXPECT_EQ(runModal(dialog,
                       [&] {
                           type(dialog, "1111");
                           button(dialog, "BitBtnAnuluj")->click();
                       }),
              QDialog::Rejected);
    EXPECT_EQ(dialog.digits(), "1111");

    EXPECT_EQ(runModal(dialog, [&] { dialog.close(); }), QDialog::Rejected);
}

TEST(TForm3, FrameControlsAndTabOrder) {
    TForm3 dialog;
    EXPECT_EQ(dialog.windowTitle(), "PASS CTRL");
    expectPinDialogFrame(dialog);
    EXPECT_EQ(labelText(dialog, "Label8"), "retype pin:");
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
        EXPECT_EQ(labelText(dialog, name), "-") << name;
    }
    EXPECT_EQ(dialogtest::tabOrder(edit(dialog, "MaskEditPin1")),
              QStringList({"MaskEditPin1", "MaskEditPin2", "MaskEditPin3", "MaskEditPin4",
                           "MaskEditPin11", "MaskEditPin12", "MaskEditPin13", "MaskEditPin14",
                           "BitBtnAnuluj", "BitBtnOK"}));
    EXPECT_EQ(edit(dialog, "MaskEditPin14")->displayText(), "");
}

TEST(TForm3, RetypeMustMatchDigitForDigit) {
    struct Case {
        const char* first;
        const char* retyped;
        bool ok;
    };
    const Case cases[] = {
        {"1234", "1234", true},  {"1234", "1235", false},  // differs only in the last digit
        {"1234", "0234", false}, {"0000", "0000", true},
        {"9`a9", "9019", true},  // "`" and "a" type 0 and 1 in either row
    };
    TForm3 dialog;
    dialog.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.retyped);
        dialog.FormActivate();
        QPushButton* ok = button(dialog, "BitBtnOK");
        // "`" and "a" leave the focus in place, so those edits are entered one at a time.
        for (int i = 0; i < 4; ++i) {
            edit(dialog, ("MaskEditPin" + std::to_string(i + 1)).c_str())->setFocus();
            const char digit[] = {c.first[i], '\0'};
            type(dialog, digit);
        }
        EXPECT_FALSE(ok->isEnabled());
        edit(dialog, "MaskEditPin11")->setFocus();
        for (int i = 0; i < 4; ++i) {
            const char digit[] = {c.retyped[i], '\0'};
            type(dialog, digit);
        }
        EXPECT_EQ(ok->isEnabled(), c.ok);
        EXPECT_EQ(focusName(dialog), c.ok ? "BitBtnOK" : "MaskEditPin14");
    }
}

TEST(TForm3, FirstRowFlowsIntoRetypeRowAndOkGivesThePin) {
    TForm3 dialog;
    EXPECT_EQ(runModal(dialog,
                       [&] {
                           type(dialog, "2468");
                           EXPECT_EQ(focusName(dialog), "MaskEditPin11");
                           EXPECT_FALSE(button(dialog, "BitBtnOK")->isEnabled());
                           type(dialog, "2468");
                           key(dialog, Qt::Key_Space);  // presses the focused OK
                       }),
              QDialog::Accepted);
    EXPECT_EQ(dialog.digits(), "2468");
    EXPECT_EQ(dialog.retypedDigits(), "2468");
    EXPECT_EQ(dialog.pin(), kaldor::packPin(2, 4, 6, 8));

    // The next use starts over.
    EXPECT_EQ(runModal(dialog,
                       [&] {
                           EXPECT_EQ(dialog.digits(), "");
                           EXPECT_EQ(dialog.retypedDigits(), "");
                           EXPECT_EQ(focusName(dialog), "MaskEditPin1");
                           EXPECT_FALSE(button(dialog, "BitBtnOK")->isEnabled());
                           key(dialog, Qt::Key_Escape);
                       }),
              QDialog::Rejected);
}

}  // namespace
