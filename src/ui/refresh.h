#pragma once
// RefreshControls: shows the whole image in every control, in the fixed order of its numbered
// steps (model/refresh_step.h), and checks the controller PIN. It sends nothing: while it runs
// the edit gate is held. Each page owns its steps; this is the one place that says which page
// methods a step runs.
#include "model/refresh_step.h"

namespace kaldor {

class MainWindow;
class PinFlow;
struct ControllerSession;

class ControlsRefresh {
public:
    ControlsRefresh(MainWindow& window, ControllerSession& session, PinFlow& pin)
        : m_window(window), m_session(session), m_pin(pin) {}

    void RefreshControls();

private:
    void run(RefreshStep step);

    MainWindow& m_window;
    ControllerSession& m_session;
    PinFlow& m_pin;
};

}  // namespace kaldor
