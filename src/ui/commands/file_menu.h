#pragma once
// The three configuration-file commands of the `File1` menu: "save to disk", "load to ECU" and
// "LoadMap". The file side and the writes to the controller are the service's (ConfigTransfer);
// this binds them to the window: the configuration folder in `BaseFolder`, `ProgressBar1`,
// `Timer1`, the "no connection" status text, the menu items' current captions, which are the
// texts of the confirmation boxes, so they follow the language, and the refresh of every
// control between a load and its end.
#include <functional>
#include <memory>

#include "service/config_transfer.h"

namespace kaldor {

class ControlsRefresh;
class MainWindow;
struct ControllerSession;

class FileMenu {
public:
    FileMenu(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh);

    void savetodisk1Click();
    // The load writes the whole image and refreshes every control, which asks for the PIN when
    // the controller holds one; then the verification set by setVerifyAfterLoad reads the memory
    // back.
    void loadtoECU1Click();
    void LoadMap1Click();

    [[nodiscard]] ConfigTransfer& transfer() { return *m_transfer; }
    // Runs after every load that went out to the controller.
    void setVerifyAfterLoad(std::function<void()> verify) { m_verifyAfterLoad = std::move(verify); }

private:
    MainWindow& m_window;
    ControllerSession& m_session;
    ControlsRefresh& m_refresh;
    std::unique_ptr<ConfigTransfer> m_transfer;
    std::function<void()> m_verifyAfterLoad;
};

}  // namespace kaldor
