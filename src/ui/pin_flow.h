#pragma once
// The controller PIN: the check of the refresh (a wrong or cancelled PIN locks the editing
// pages and menus until a later refresh finds no PIN or gets the right one), the lock itself,
// and "SET PIN".
#include "model/parameter_edits.h"

namespace kaldor {

class MainWindow;
struct ControllerSession;

class PinFlow {
public:
    PinFlow(MainWindow& window, ControllerSession& session);

    // Refresh step Pin: asks for the PIN when the image holds one.
    void checkPin();
    // Locks without a question: the controller's memory could not be read.
    void lock() { applyLock(false); }
    // "SET PIN": asks for the new PIN twice and writes it.
    void ButtonSetPinClick();

    [[nodiscard]] bool locked() const;

private:
    void applyLock(bool unlocked);

    MainWindow& m_window;
    ControllerSession& m_session;
};

}  // namespace kaldor
