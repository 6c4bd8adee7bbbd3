#pragma once
// What the main window does with the controller: the port scan, the live polling and the
// readings display, the refresh of every control from the image, the PIN lock, the fuel-mode
// commands and the parameter controls. Created as a child of the window, so the window owns it
// (and with it the link, the image, the live record and the texts) for the whole run.
#include <QObject>
#include <functional>
#include <memory>

#include "files/settings_file.h"
#include "link/connection_scan.h"
#include "link/serial_port.h"
#include "live/live_poller.h"
#include "ui/parameter_controls.h"
#include "ui/qt_adapters.h"
#include "ui/session.h"

namespace kaldor {

class MainWindow;
class TForm2;
class TForm3;
class TForm4;

class WindowLogic : public QObject, private ScanHooks, private LiveHooks {
    Q_OBJECT

public:
    // Without a port, the real serial port is used, its device names taken from the settings
    // file; without a clock, pauses are real sleeps.
    WindowLogic(MainWindow& window, std::unique_ptr<SerialPort> port = nullptr,
                std::unique_ptr<PauseClock> clock = nullptr);
    ~WindowLogic() override;

    [[nodiscard]] ControllerSession& session() { return *m_session; }
    [[nodiscard]] QtPrompts& prompts() { return m_prompts; }
    [[nodiscard]] ParameterControls& parameters() { return *m_parameters; }
    [[nodiscard]] LivePoller& poller() { return *m_poller; }
    [[nodiscard]] TForm2& form2() { return *m_form2; }
    [[nodiscard]] TForm3& form3() { return *m_form3; }
    [[nodiscard]] TForm4& form4() { return *m_form4; }

    // The error memory's "show errors" action, run when the controller's error counter moves.
    std::function<void()> onShowErrors;

    // Shows the whole image in every control, in the fixed order of its steps, and checks the
    // controller PIN. Sends nothing.
    void RefreshControls();
    void ButtonSetPinClick();
    [[nodiscard]] bool locked() const { return !m_session->pinAccepted && m_lockApplied; }

private:
    // ScanHooks
    void hideSetPinButton() override;
    void setWindowTitle(const std::string& title) override;
    void appendConnectCaption(const std::string& piece) override;
    void readImage() override;
    void refreshControls() override { RefreshControls(); }
    // LiveHooks
    void showNotConnected() override;
    bool nextPlaybackRecord(LiveFrame& frame) override;
    void appendLog(const LiveFrame& frame) override;
    void updateDisplay() override;
    void updateCalibrationTables() override;
    [[nodiscard]] bool readingsPageVisible() const override;
    void feedOscilloscope() override;

    void scan();
    void applyReadings(const Readings& r);
    void applyLock(bool unlocked);

    // Refresh steps in their order; the later Parts of the window fill the empty ones.
    void refreshCalibrationPoints();      // 1: the mapping points of the calibration tables
    void refreshEnginePower();            // 2
    void refreshPin();                    // 3
    void refreshCruiseSettings();         // 4
    void refreshFrequencyEmulator();      // 5
    void refreshDnaTimes();               // 6
    void refreshEmulatorInput();          // 7
    void refreshEmulatorSettings();       // 8
    void refreshTpsEmulatorTable();       // 9
    void refreshStepEmulatorTable();      // 10
    void refreshDnaType();                // 11
    void refreshDynamicK();               // 12
    void refreshCutOff();                 // 13
    void refreshDoubleInjection();        // 14
    void refreshEnabledErrors();          // 15
    void refreshRevisionGroups();         // 16
    void refreshCruiseHeading();          // 17
    void refreshSetPinButton();           // 18
    void refreshCdiEmulator();            // 19
    void refreshTpsSwitch();              // 27
    void refreshCorrectionMapSwitches();  // 29
    void refreshCruiseMap();              // 30
    void refreshCorrectionMaps();         // 31
    void refreshMainMap();                // 33 (second half)

    MainWindow& m_window;
    QtPrompts m_prompts;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<PauseClock> m_clock;
    SettingsFile m_portSettings;
    std::unique_ptr<ControllerSession> m_session;
    std::unique_ptr<ConnectionScan> m_scan;
    std::unique_ptr<LivePoller> m_poller;
    ParameterControls* m_parameters = nullptr;
    TForm2* m_form2 = nullptr;
    TForm3* m_form3 = nullptr;
    TForm4* m_form4 = nullptr;
    bool m_lockApplied = false;
};

}  // namespace kaldor
