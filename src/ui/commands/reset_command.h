#pragma once
// "RESET ECU" (RESET1) in the window: the core's ControllerReset with the menu item's current
// caption as its confirmation (so it follows the language), ProgressBar1, Timer1 and the work
// times of the last live record. At the reset's stops the EMU page resets its emulator tables,
// every control shows the written image, and the adjustment page's main map saves its axes.
#include <functional>

#include "service/defaults_reset.h"

namespace kaldor {

class ControlsRefresh;
class MainWindow;
struct ControllerSession;

class ResetCommand {
public:
    ResetCommand(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh);

    void RESET1Click();
    // Reads the memory back after a reset that ran, as after every full write.
    void setVerifyAfterReset(std::function<void()> verify) {
        m_verifyAfterReset = std::move(verify);
    }

private:
    MainWindow& m_window;
    ControllerSession& m_session;
    ControlsRefresh& m_refresh;
    ControllerReset m_reset;
    std::function<void()> m_verifyAfterReset;
};

}  // namespace kaldor
