#pragma once
// The wiring of the main window to the controller: the session every page works on, the port
// scan, Timer1's polling step with the live display it feeds, and the PIN flow. The pages own
// their controls' behaviour; this class only connects them. Created as a child of the window, so
// the window owns it (and with it the session) for the whole run.
#include <QObject>

#include <memory>

#include "files/settings_file.h"
#include "link/connection_scan.h"
#include "link/serial_port.h"
#include "live/live_poller.h"
#include "ui/commands/file_menu.h"
#include "ui/commands/verify_menu.h"
#include "ui/pin_flow.h"
#include "ui/qt_adapters.h"
#include "ui/refresh.h"
#include "ui/session.h"

namespace kaldor {

class HistoryMenu;
class ReportMenu;
class MainWindow;
class ResetCommand;
class UndoCommands;
class TForm2;
class TForm3;
class TForm4;
class WindowLanguage;
class WindowSettings;

class WindowLogic : public QObject, private ScanHooks {
    Q_OBJECT

public:
    // Without a port, the real serial port is used, its device names taken from the settings
    // file; without a clock, pauses are real sleeps.
    WindowLogic(MainWindow& window, std::unique_ptr<SerialPort> port = nullptr,
                std::unique_ptr<PauseClock> clock = nullptr);
    ~WindowLogic() override;

    [[nodiscard]] ControllerSession& session() { return *m_session; }
    [[nodiscard]] QtPrompts& prompts() { return m_prompts; }
    [[nodiscard]] LivePoller& poller() { return *m_poller; }
    [[nodiscard]] PinFlow& pin() { return *m_pin; }
    [[nodiscard]] FileMenu& fileMenu() { return *m_fileMenu; }
    [[nodiscard]] VerifyMenu& verifyMenu() { return *m_verifyMenu; }
    [[nodiscard]] HistoryMenu& historyMenu() { return *m_historyMenu; }
    [[nodiscard]] ReportMenu& reportMenu() { return *m_reportMenu; }
    [[nodiscard]] UndoCommands& undoCommands() { return *m_undo; }
    [[nodiscard]] WindowSettings& settings() { return *m_settings; }
    [[nodiscard]] WindowLanguage& language() { return *m_language; }
    [[nodiscard]] TForm2& form2() { return *m_form2; }
    [[nodiscard]] TForm3& form3() { return *m_form3; }
    [[nodiscard]] TForm4& form4() { return *m_form4; }

    // Shows the whole image in every control, in the fixed order of its steps, and checks the
    // controller PIN. Sends nothing.
    void RefreshControls() { m_refresh->RefreshControls(); }
    [[nodiscard]] bool locked() const { return m_pin->locked(); }

private:
    // ScanHooks
    void setWindowTitle(const std::string& title) override;
    void appendConnectCaption(const std::string& piece) override;
    bool readImage() override;

    void createDialogs();
    void attachPages();
    // What a page does that another page shows: connected here, so no page knows another.
    void wireAcrossPages();
    void scan();
    // The collect tick's display: works out the readings once and hands them to every sink.
    void publishRecord();

    MainWindow& m_window;
    QtPrompts m_prompts;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<PauseClock> m_clock;
    SettingsFile m_portSettings;
    std::unique_ptr<ControllerSession> m_session;
    std::unique_ptr<ConnectionScan> m_scan;
    std::unique_ptr<LivePoller> m_poller;
    std::unique_ptr<PinFlow> m_pin;
    std::unique_ptr<ControlsRefresh> m_refresh;
    std::unique_ptr<FileMenu> m_fileMenu;
    std::unique_ptr<VerifyMenu> m_verifyMenu;
    std::unique_ptr<ResetCommand> m_reset;
    std::unique_ptr<HistoryMenu> m_historyMenu;
    std::unique_ptr<ReportMenu> m_reportMenu;
    std::unique_ptr<UndoCommands> m_undo;
    std::unique_ptr<WindowSettings> m_settings;
    TForm2* m_form2 = nullptr;
    TForm3* m_form3 = nullptr;
    TForm4* m_form4 = nullptr;
    WindowLanguage* m_language = nullptr;  // owned by the window
};

}  // namespace kaldor
