#pragma once
// Drives a shown dialog through its window, so keys reach whichever control has the focus.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace dialogtest {

inline void key(QDialog& dialog, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_NE(dialog.windowHandle(), nullptr) << "show the dialog first";
    QTest::keyClick(dialog.windowHandle(), k, modifiers);
}

inline void type(QDialog& dialog, const char* characters) {
    ASSERT_NE(dialog.windowHandle(), nullptr) << "show the dialog first";
    for (const char* c = characters; *c != '\0'; ++c) {
        QTest::keyClick(dialog.windowHandle(), *c);
    }
}

inline QString focusName(const QDialog& dialog) {
    return dialog.focusWidget() != nullptr ? dialog.focusWidget()->objectName() : QString();
}

inline QLineEdit* edit(const QDialog& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(name);
}

inline QPushButton* button(const QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name);
}

// What exec() returns when the interaction left the dialog open.
constexpr int kStillOpen = -1;

// Runs the dialog modally, as its caller does, with the user's part played by interact once the
// dialog is up. The keys are handled before interact returns, so a dialog still open then is
// closed with kStillOpen rather than left waiting.
inline int runModal(QDialog& dialog, const std::function<void()>& interact) {
    QTimer::singleShot(0, &dialog, [&dialog, interact] {
        interact();
        if (dialog.isVisible()) {
            dialog.done(kStillOpen);
        }
    });
    return dialog.exec();
}

// The names of the controls that Tab visits, starting at the first.
inline QStringList tabOrder(QWidget* first) {
    QStringList names;
    QWidget* w = first;
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            names << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != nullptr && w != first);
    return names;
}

}  // namespace dialogtest
