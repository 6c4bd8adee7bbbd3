#pragma once
// "RESET ECU" (RESET1) in the window: the core's ControllerReset with the menu item's current
// caption as its confirmation (so it follows the language), ProgressBar1, Timer1, the work
// times of the last live record, the emulator tables shown on the EMU page and the main map's
// axis save on the adjustment page. The full write inside it refreshes every control.
#include <functional>

#include "service/defaults_reset.h"

namespace kaldor {

class MainWindow;
struct ControllerSession;

class ResetCommand {
public:
    ResetCommand(MainWindow& window, ControllerSession& session);

    void RESET1Click();
    // Reads the memory back after a reset that ran, as after every full write.
    void setVerifyAfterReset(std::function<void()> verify) {
        m_verifyAfterReset = std::move(verify);
    }

private:
    MainWindow& m_window;
    ControllerSession& m_session;
    ControllerReset m_reset;
    std::function<void()> m_verifyAfterReset;
};

}  // namespace kaldor
