#include "ui/dialogs/text_entry_dialog.h"

#include "dialog_test_support.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

using dialogtest::button;
using dialogtest::edit;
using dialogtest::focusName;
using dialogtest::key;
using dialogtest::runModal;
using dialogtest::type;
using kaldor::TForm2;

QComboBox* modeBox(const QDialog& dialog) {
    return dialog.findChild<QComboBox*>("ComboBox1");
}

TEST(TForm2, CaptionControlsAndStartingMode) {
    TForm2 dialog;
    EXPECT_EQ(dialog.windowTitle(), "SET");
    ASSERT_NE(edit(dialog, "Edit1"), nullptr);
    ASSERT_NE(button(dialog, "BitBtnOK"), nullptr);
    ASSERT_NE(button(dialog, "BitBtnAnuluj"), nullptr);
    QComboBox* mode = modeBox(dialog);
    ASSERT_NE(mode, nullptr);
    ASSERT_EQ(mode->count(), 3);
    EXPECT_EQ(mode->itemText(0), "ABS");
    EXPECT_EQ(mode->itemText(1), "+/-");
    EXPECT_EQ(mode->itemText(2), "%");
    EXPECT_EQ(dialog.modeIndex(), TForm2::kModeAbsolute);
}

TEST(TForm2, NumberFilterPassesDigitsSignsAndEditingKeys) {
    TForm2 dialog;
    dialog.setText("");
    dialog.show();
    ASSERT_EQ(focusName(dialog), "Edit1");
    type(dialog, "a-1b2+x.9 ,`");
    EXPECT_EQ(dialog.text(), "-12+9");
    key(dialog, Qt::Key_Backspace);
    EXPECT_EQ(dialog.text(), "-12+");
    // Unlike a PIN edit, letters a..i are no digits here.
    type(dialog, "abc");
    EXPECT_EQ(dialog.text(), "-12+");
    type(dialog, "0");
    EXPECT_EQ(dialog.text(), "-12+0");
    EXPECT_TRUE(dialog.isVisible());
}

TEST(TForm2, CallersTextIsTypedOverAndEnterAccepts) {
    TForm2 dialog;
    dialog.setText("120");
    EXPECT_EQ(runModal(dialog,
                       [&] {
                           EXPECT_EQ(dialog.text(), "120");
                           type(dialog, "-15");
                           key(dialog, Qt::Key_Return);
                       }),
              QDialog::Accepted);
    EXPECT_EQ(dialog.text(), "-15");

    dialog.setText("0");
    EXPECT_EQ(runModal(dialog, [&] { key(dialog, Qt::Key_Escape); }), QDialog::Rejected);
}

TEST(TForm2, ModeChoiceStaysBetweenUses) {
    TForm2 dialog;
    ASSERT_EQ(runModal(dialog,
                       [&] {
                           key(dialog, Qt::Key_Tab);
                           ASSERT_EQ(focusName(dialog), "ComboBox1");
                           key(dialog, Qt::Key_Down);
                           key(dialog, Qt::Key_Down);
                           button(dialog, "BitBtnOK")->click();
                       }),
              QDialog::Accepted);
    EXPECT_EQ(dialog.modeIndex(), TForm2::kModePercent);

    dialog.setText("0");
    EXPECT_EQ(runModal(dialog,
                       [&] {
                           EXPECT_EQ(modeBox(dialog)->currentText(), "%");
                           button(dialog, "BitBtnAnuluj")->click();
                       }),
              QDialog::Rejected);
    EXPECT_EQ(dialog.modeIndex(), TForm2::kModePercent);
}

}  // namespace
