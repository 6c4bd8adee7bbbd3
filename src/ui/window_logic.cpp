#include "ui/window_logic.h"
#include "ui/commands/undo_commands.h"

#include <QStatusBar>

#include <filesystem>

#include "link/port_problems.h"

#include "link/serial_port_factory.h"
#include "live/data_logger.h"
#include "live/live_display.h"
#include "maps/cruise_editor.h"
#include "maps/main_map_editor.h"
#include "model/pin.h"
#include "service/broken_write.h"
#include "ui/commands/history_menu.h"
#include "ui/commands/language.h"
#include "ui/commands/report_menu.h"
#include "ui/commands/reset_command.h"
#include "ui/dialogs/pin_dialogs.h"
#include "ui/dialogs/text_entry_dialog.h"
#include "ui/log_viewer/view_log_command.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/adjustment/cell_view_panel.h"
#include "ui/pages/adjustment/cruise_panel.h"
#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/pages/advanced/advanced_page.h"
#include "ui/pages/advanced/axis_cell_view_panel.h"
#include "ui/pages/advanced/cutoff_cdi_groups.h"
#include "ui/pages/diagnostic/data_logger_panel.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/pages/dna/dna_page.h"
#include "ui/pages/emu/emu_page.h"
#include "ui/pages/parameters/parameters_page.h"
#include "ui/pages/parameters/switch_over_parameters.h"
#include "ui/pages/readings/readings_page.h"
#include "ui/pages/storage/storage_page.h"
#include "ui/refused_write.h"
#include "ui/side_panel.h"
#include "ui/window_settings.h"
#include "ui/window_texts.h"
#include "widgets/ab_num_spin.h"

namespace kaldor {
namespace {

// The four digits a PIN dialog holds, or nothing unless all four are digits.
std::optional<PinDigits> digitsOf(const PinDialog& dialog) {
    const std::optional<std::uint16_t> packed = dialog.pin();
    if (!packed)
        return std::nullopt;
    return unpackPin(*packed);
}

}  // namespace

WindowLogic::WindowLogic(MainWindow& window, std::unique_ptr<SerialPort> port,
                         std::unique_ptr<PauseClock> clock)
    : QObject(&window),
      m_window(window),
      m_prompts(&window),
      m_port(std::move(port)),
      m_clock(std::move(clock)) {
    if (!m_port) {
        m_portSettings = SettingsFile(window.settingsFilePath().toStdString(),
                                      window.settingsFallbackPath().toStdString());
        m_port = makeSerialPort(PortMap(portDevices(m_portSettings)));
    }
    if (!m_clock)
        m_clock = std::make_unique<SleepClock>();
    m_session = std::make_unique<ControllerSession>(*m_port, *m_clock, m_prompts,
                                                    window.progressSink(), window.timerSwitch());
    ScanHooks& scanHooks = *this;
    m_scan = std::make_unique<ConnectionScan>(m_session->commands, m_session->state,
                                              m_session->image, m_prompts, scanHooks);
    m_poller = std::make_unique<LivePoller>(m_session->commands, m_session->state, m_session->frame,
                                            m_session->block);
    m_pin = std::make_unique<PinFlow>(window, *m_session);
    m_refresh = std::make_unique<ControlsRefresh>(window, *m_session, *m_pin);
    m_fileMenu = std::make_unique<FileMenu>(window, *m_session, *m_refresh);
    m_undo = std::make_unique<UndoCommands>(window, *m_session, *m_refresh);
    m_historyMenu =
        std::make_unique<HistoryMenu>(window, *m_session, *m_refresh, m_fileMenu->transfer());
    m_reportMenu = std::make_unique<ReportMenu>(window, *m_session);
    m_reset = std::make_unique<ResetCommand>(window, *m_session, *m_refresh);
    m_settings = std::make_unique<WindowSettings>(window, window.readingsPage().oscilloscope(),
                                                  window.settingsFilePath().toStdString(),
                                                  window.settingsFallbackPath().toStdString());
    m_settings->attachColourButtons(window.readingsPage().colourButtons);

    createDialogs();
    attachPages();
    m_verifyMenu = std::make_unique<VerifyMenu>(window, *m_session, *m_refresh,
                                                window.diagnosticPage().dataLogger->logger());
    m_fileMenu->setVerifyAfterLoad([this] { m_verifyMenu->verifyAfterWrite(); });
    m_reset->setVerifyAfterReset([this] { m_verifyMenu->verifyAfterWrite(); });
    m_historyMenu->setVerifyAfterRestore([this] { m_verifyMenu->verifyAfterWrite(); });
    // The chosen language, once every control and list exists and before the stored settings
    // are applied at the first activation; the image is still empty for its selection rules.
    m_language = new WindowLanguage(window, *m_session);
    m_language->loadChosen();

    m_poller->setNotConnectedSink(
        [this] { m_window.sidePanel().showStatus(notConnectedIndicator(m_session->texts)); });
    m_poller->addRecordSink([this] { publishRecord(); });

    MainWindowHooks& hooks = window.hooks();
    hooks.onAutoconnect = [this] { scan(); };
    hooks.onSaveToDisk = [this] { m_fileMenu->savetodisk1Click(); };
    hooks.onLoadToEcu = [this] { m_fileMenu->loadtoECU1Click(); };
    hooks.onLoadMap = [this] { m_fileMenu->LoadMap1Click(); };
    hooks.onVerifyEcu = [this] { m_verifyMenu->verifyECU1Click(); };
    hooks.onCompareWithFile = [this] { m_verifyMenu->comparewithfile1Click(); };
    hooks.onExportLogCsv = [this] { m_verifyMenu->exportlogasCSV1Click(); };
    hooks.onHistory = [this] { m_historyMenu->history1Click(); };
    hooks.onPrintReport = [this] { m_reportMenu->printReport1Click(); };
    hooks.onViewLog = [this] {
        viewLog(&m_window, *m_session, m_window.baseFolder(),
                m_window.diagnosticPage().dataLogger->logger());
    };
    hooks.onReset = [this] { m_reset->RESET1Click(); };
    hooks.onUndo = [this] { m_undo->undo1Click(); };
    hooks.onRedo = [this] { m_undo->redo1Click(); };
    hooks.onFuelModeDiesel = [this] { m_session->commands.simple(Command::CmdModeDiesel); };
    hooks.onFuelModeAuto = [this] { m_session->commands.simple(Command::CmdModeAuto); };
    hooks.onFuelModePropane = [this] { m_session->commands.simple(Command::CmdModePropane); };
    hooks.onTimerTick = [this] {
        // A frame the port refused has ended the connection; said here, once, whatever sent it.
        reportRefusedWrite(
            m_window, *m_session,
            std::string(m_session->commands.lastRefusedWasRequest() ? kRequestRefusedStatus
                                                                    : kEditRefusedStatus),
            false);
        m_poller->TimerTick();
    };
    hooks.onFirstActivation = [this] {
        m_settings->apply();
        // A recording the last run could not finish, offered once the window is there.
        m_window.diagnosticPage().dataLogger->offerInterruptedRecording();
    };
    hooks.onClose = [this] {
        m_session->link.close();
        // Said once: the next run tries again and says it again only if it fails again.
        if (m_settings->writesAtClosing() && !m_settings->store())
            m_prompts.message("The settings could not be saved to " +
                              m_window.settingsFilePath().toStdString() +
                              ": window size, scope channels and colours will be lost.");
    };
    connect(window.readingsPage().ButtonSetPin, &QPushButton::clicked, this,
            [this] { m_pin->ButtonSetPinClick(); });
}

WindowLogic::~WindowLogic() = default;

void WindowLogic::createDialogs() {
    // The three dialogs live as long as the window; they keep their contents between uses.
    m_form2 = new TForm2(&m_window);
    m_form3 = new TForm3(&m_window);
    m_form4 = new TForm4(&m_window);
    m_prompts.setPinQuestions(
        [this]() -> std::optional<PinDigits> {
            if (m_form4->exec() != QDialog::Accepted)
                return std::nullopt;
            return digitsOf(*m_form4);
        },
        [this]() -> std::optional<PinDigits> {
            if (m_form3->exec() != QDialog::Accepted)
                return std::nullopt;
            return digitsOf(*m_form3);
        });
}

void WindowLogic::attachPages() {
    ControllerSession& s = *m_session;
    // The pages' live sinks run in this order; the error watch comes last, after everything
    // else of the record is shown.
    m_window.sidePanel().attach(s);
    m_window.readingsPage().attach(s);
    m_window.parametersPage().attach(s);
    m_window.adjustmentPage().attach(s);
    m_window.adjustmentPage().mainMap().setEntryDialog(m_form2);
    // The cell view reads the running logger's lines of the file it logs into, as the viewer.
    const auto loggedPath = [this](const std::string& path) -> std::optional<std::string> {
        const DataLogger& logger = m_window.diagnosticPage().dataLogger->logger();
        std::error_code error;
        if (!logger.logging() || std::filesystem::weakly_canonical(logger.filePath(), error) !=
                                     std::filesystem::weakly_canonical(path, error))
            return std::nullopt;
        return logger.recordingPath();
    };
    m_window.adjustmentPage().mainMap().cellView()->setLoggedPath(loggedPath);
    // The one-row maps' cell views likewise.
    for (AxisCellViewPanel* cells : m_window.findChildren<AxisCellViewPanel*>())
        cells->setLoggedPath(loggedPath);
    m_window.adjustmentPage().mainMap().setDemoPlayback(
        [this] { return m_poller->demoPlayback(); });
    m_window.advancedPage().attach(s);
    m_window.emuPage().attach(s);
    m_window.dnaPage().attach(s);
    m_window.storagePage().attach(s, m_window.adjustmentPage().mainMap().editor());
    wireAcrossPages();
    m_window.diagnosticPage().attach(s, *m_poller, m_window.baseFolder());
}

void WindowLogic::wireAcrossPages() {
    AdvancedPage& advanced = m_window.advancedPage();
    AdjustmentPage& adjustment = m_window.adjustmentPage();
    ParametersPage& parameters = m_window.parametersPage();
    // Presets and "SET" buttons store fields whose controls sit on the advanced page.
    connect(&adjustment, &AdjustmentPage::fieldsStored, &advanced, &AdvancedPage::showFields);
    connect(&parameters, &ParametersPage::fieldsStored, &advanced, &AdvancedPage::showFields);
    AbNumSpin* cruiseRpm = advanced.settings().AbNumSpinCrusRpm;
    adjustment.mainMap().setCruiseRpmShown([cruiseRpm] { return cruiseRpm->value(); });
    parameters.switchOver().setMapTexts(&adjustment.cruise().model().grid(),
                                        &adjustment.mainMap().editor().grid());
}

void WindowLogic::scan() {
    m_poller->resetRequestPhase();
    // A new connection proves its PIN again, whatever an earlier one was given.
    m_session->pinAccepted = false;
    // What the status line said of the last connection (a refused change) is old news; the
    // scan may say something of its own.
    m_window.statusBar()->clearMessage();
    m_window.readingsPage().refreshSetPinButton();
    const ScanOutcome outcome = m_scan->scan();
    switch (outcome) {
        case ScanOutcome::Connected:
            RefreshControls();
            m_scan->goLive();
            break;
        case ScanOutcome::ImageReadFailed:
            // Nothing may be edited from an image that does not mirror the controller.
            m_pin->lock();
            break;
        default:
            break;
    }
    // Said once per scan, and only when no controller was found: a port that could not be
    // opened is then the likely reason.
    const std::vector<PortProblem> none;
    const std::vector<PortProblem>& problems =
        outcome == ScanOutcome::NotFound ? m_scan->portProblems() : none;
    const PortProblemWords words = portProblemWords(m_session->setupTexts);
    m_window.sidePanel().showPortProblems(portProblemBriefs(problems, words),
                                          portProblemLines(problems, words));
}

void WindowLogic::setWindowTitle(const std::string& title) {
    m_window.setWindowTitle(QString::fromStdString(title));
}

void WindowLogic::appendConnectCaption(const std::string& piece) {
    QAction* item = m_window.menu().F10autoconnect1;
    item->setText(item->text() + QString::fromStdString(piece));
}

bool WindowLogic::readImage() {
    const bool read = m_session->transfer.readImage(m_session->progress);
    if (read) {
        // Before the controller history, whose failure the status line says instead.
        clearEditHistory(*m_session, m_window, kUndoClearedConnection);
        m_session->history.record(kHistoryConnected);
    }
    return read;
}

void WindowLogic::publishRecord() {
    ControllerSession& s = *m_session;
    s.live.publish({s.frame, liveContext(s.image, s.state)});
}

}  // namespace kaldor
