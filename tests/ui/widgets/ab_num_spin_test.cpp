#include "widgets/ab_num_spin.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts the two signals the window listens to.
struct SignalCounter {
    explicit SignalCounter(AbNumSpin& spin) {
        QObject::connect(&spin, &AbNumSpin::userChanged, [this](double v) {
            ++changes;
            lastValue = v;
        });
        QObject::connect(&spin, &AbNumSpin::focusLost, [this] { ++focusLosses; });
    }
    int changes = 0;
    int focusLosses = 0;
    double lastValue = 0.0;
};

void pressKey(QWidget& widget, Qt::Key key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

// Replaces the box's text by typing, the way a user does.
void typeText(AbNumSpin& spin, const QString& text) {
    spin.selectAll();
    for (const QChar c : text) {
        pressKey(spin, Qt::Key_unknown, QString(c));
    }
}

void leaveBox(AbNumSpin& spin) {
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&spin, &focusOut);
}

// AbNumSpinMinPsys: 0.05 to 5, step 0.1, "#0.0#".
void setUpPressureSpin(AbNumSpin& spin) {
    spin.setRange(0.05, 5);
    spin.setIncrement(0.1);
    spin.setFormat("#0.0#");
    spin.setValue(0.4);
}

TEST(AbNumSpin, ProgramChangesEmitNothingAndClamp) {
    AbNumSpin spin;
    setUpPressureSpin(spin);
    SignalCounter counter(spin);
    spin.setValue(1.25);
    EXPECT_EQ(spin.text(), "1.25");
    spin.setValue(9);
    EXPECT_DOUBLE_EQ(spin.value(), 5.0);
    EXPECT_EQ(spin.text(), "5.0");
    spin.setMaximum(2);
    EXPECT_DOUBLE_EQ(spin.value(), 2.0);
    spin.setValue(-1);
    EXPECT_DOUBLE_EQ(spin.value(), 0.05);
    EXPECT_EQ(counter.changes, 0);
}

TEST(AbNumSpin, TypedCommaNumberTakenOnEnterOnce) {
    AbNumSpin spin;
    setUpPressureSpin(spin);
    SignalCounter counter(spin);
    typeText(spin, "1,5");
    EXPECT_EQ(counter.changes, 0) << "typing alone is no change yet";
    pressKey(spin, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(spin.value(), 1.5);
    EXPECT_EQ(spin.text(), "1.5");
    EXPECT_EQ(counter.changes, 1);
    EXPECT_DOUBLE_EQ(counter.lastValue, 1.5);

    // Enter again without typing, and leaving the box, change nothing more.
    pressKey(spin, Qt::Key_Return);
    leaveBox(spin);
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(counter.focusLosses, 1);
}

TEST(AbNumSpin, LeavingTakesTypedTextThenReportsFocusLoss) {
    AbNumSpin spin;
    setUpPressureSpin(spin);
    SignalCounter counter(spin);
    std::vector<const char*> order;
    QObject::connect(&spin, &AbNumSpin::userChanged, [&] { order.push_back("changed"); });
    QObject::connect(&spin, &AbNumSpin::focusLost, [&] { order.push_back("focus"); });
    typeText(spin, "7");
    leaveBox(spin);
    EXPECT_DOUBLE_EQ(spin.value(), 5.0) << "a typed value beyond the range is clamped";
    EXPECT_EQ(spin.text(), "5.0");
    EXPECT_EQ(order, (std::vector<const char*>{"changed", "focus"}));
    EXPECT_EQ(counter.focusLosses, 1);
}

TEST(AbNumSpin, StepsRespectIncrementAndMaximum) {
    AbNumSpin spin;
    setUpPressureSpin(spin);
    SignalCounter counter(spin);
    pressKey(spin, Qt::Key_Up);
    EXPECT_EQ(counter.changes, 1);
    // Exactly the double a user gets by typing 0.5, not 0.4 + 0.1.
    EXPECT_EQ(spin.value(), 0.5);
    pressKey(spin, Qt::Key_Down);
    pressKey(spin, Qt::Key_Down);
    EXPECT_EQ(spin.value(), 0.3);

    spin.setValue(4.95);
    counter.changes = 0;
    pressKey(spin, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(spin.value(), 5.0);
    EXPECT_EQ(counter.changes, 1);
    pressKey(spin, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(spin.value(), 5.0);
    EXPECT_EQ(counter.changes, 1) << "no change at the maximum, no signal";
}

TEST(AbNumSpin, TypingAcceptsOnlyANumber) {
    struct Case {
        const char* input;
        bool negativeMinimum;
        QValidator::State expected;
    };
    const std::vector<Case> cases = {
        {"1.5", false, QValidator::Acceptable},
        {"1,5", false, QValidator::Acceptable},
        {"", false, QValidator::Intermediate},
        {".", false, QValidator::Intermediate},
        {"0", false, QValidator::Intermediate},  // below the minimum 0.05 while typing
        {"99", false, QValidator::Intermediate},
        {"1.2.3", false, QValidator::Invalid},
        {"1,2.3", false, QValidator::Invalid},
        {"-1", false, QValidator::Invalid},
        {"1e3", false, QValidator::Invalid},
        {"abc", false, QValidator::Invalid},
        {" 1", false, QValidator::Invalid},
        {"-1", true, QValidator::Acceptable},
        {"-", true, QValidator::Intermediate},
        {"1-", true, QValidator::Invalid},
        {"123456789012345678901", false, QValidator::Invalid},
    };
    for (const Case& c : cases) {
        AbNumSpin spin;
        spin.setRange(c.negativeMinimum ? -2 : 0.05, 5);
        QString input = c.input;
        int pos = input.size();
        EXPECT_EQ(spin.validate(input, pos), c.expected) << "input \"" << c.input << "\"";
    }

    // A rejected key leaves the text as it was.
    AbNumSpin spin;
    setUpPressureSpin(spin);
    typeText(spin, "2");
    pressKey(spin, Qt::Key_Minus, "-");
    pressKey(spin, Qt::Key_X, "x");
    EXPECT_EQ(spin.text(), "2");
}

}  // namespace
