#include "ui/window_logic.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <array>

#include "link/qt_serial_port.h"
#include "model/pin.h"
#include "ui/dialogs/pin_dialogs.h"
#include "ui/dialogs/text_entry_dialog.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment_page.h"
#include "ui/pages/advanced_page.h"
#include "ui/pages/diagnostic_page.h"
#include "ui/pages/emu_page.h"
#include "ui/pages/parameters_page.h"
#include "ui/pages/readings_page.h"
#include "ui/side_panel.h"
#include "ui/ui_build.h"

namespace kaldor {
namespace {

// Pages locked by a wrong PIN: "[F3]parameters" to "EMU".
constexpr std::array<int, 6> kLockedPages{MainWindow::kPageParameters, MainWindow::kPageAdjustment,
                                          MainWindow::kPageDiagnostic, MainWindow::kPageAdvanced,
                                          MainWindow::kPageDna,        MainWindow::kPageEmu};

// The pressure axis of the cruise map, by the controller's software revision.
constexpr std::array<const char*, 24> kCruiseHeadingBefore4{
    "0.9", "0.9",  "1",   "1.05", "1.1", "1.15", "1.2", "1.25", "1.3", "1.35", "1.4", "1.45",
    "1.5", "1.55", "1.6", "1.65", "1.7", "1.8",  "1.9", "2",    "2.1", "2.3",  "2.5", "2.7"};
constexpr std::array<const char*, 24> kCruiseHeadingFrom4{
    "1",   "1",   "1.05", "1.1", "1.15", "1.2", "1.3", "1.35", "1.4", "1.5", "1.6", "1.7",
    "1.8", "1.9", "2",    "2.1", "2.2",  "2.4", "2.6", "2.8",  "3",   "3.2", "3.4", "3.6"};

void setText(LiveLabel* label, const std::string& text) {
    const QString q = QString::fromStdString(text);
    if (label && label->text() != q)
        label->setText(q);
}

void setText(QLineEdit* edit, const std::string& text) {
    const QString q = QString::fromStdString(text);
    if (edit && edit->text() != q)
        edit->setText(q);
}

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
        m_portSettings = SettingsFile(window.settingsFilePath().toStdString());
        m_port = std::make_unique<QtSerialPort>(PortMap(&m_portSettings));
    }
    if (!m_clock)
        m_clock = std::make_unique<SleepClock>();
    m_session = std::make_unique<ControllerSession>(*m_port, *m_clock, m_prompts);
    ScanHooks& scanHooks = *this;
    LiveHooks& liveHooks = *this;
    m_scan = std::make_unique<ConnectionScan>(m_session->commands, m_session->state,
                                              m_session->image, m_prompts, scanHooks);
    m_poller = std::make_unique<LivePoller>(m_session->commands, m_session->state, m_session->frame,
                                            m_session->block, liveHooks);
    m_session->transfer.setRefresh([this] { RefreshControls(); });

    // The three dialogs live as long as the window; they keep their contents between uses.
    m_form2 = new TForm2(&window);
    m_form3 = new TForm3(&window);
    m_form4 = new TForm4(&window);
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

    ParametersPage& params = window.parametersPage();
    m_parameters =
        new ParameterControls({params.pageLayout(), params.EditAlter, params.GroupBoxPar3,
                               window.adjustmentPage().PanelAdj, window.diagnosticPage().TabSheet6},
                              *m_session, this);

    MainWindowHooks& hooks = window.hooks();
    hooks.onAutoconnect = [this] { scan(); };
    hooks.onFuelModeDiesel = [this] { m_session->commands.simple(Command::CmdModeDiesel); };
    hooks.onFuelModeAuto = [this] { m_session->commands.simple(Command::CmdModeAuto); };
    hooks.onFuelModePropane = [this] { m_session->commands.simple(Command::CmdModePropane); };
    hooks.onTimerTick = [this] { m_poller->TimerTick(); };
    hooks.onClose = [this] { m_session->link.close(); };
    connect(window.readingsPage().ButtonSetPin, &QPushButton::clicked, this,
            &WindowLogic::ButtonSetPinClick);
}

WindowLogic::~WindowLogic() = default;

void WindowLogic::scan() {
    m_poller->resetRequestPhase();
    (void)m_scan->scan();
}

void WindowLogic::hideSetPinButton() {
    m_window.readingsPage().ButtonSetPin->hide();
}

void WindowLogic::setWindowTitle(const std::string& title) {
    m_window.setWindowTitle(QString::fromStdString(title));
}

void WindowLogic::appendConnectCaption(const std::string& piece) {
    QAction* item = m_window.menu().F10autoconnect1;
    item->setText(item->text() + QString::fromStdString(piece));
}

void WindowLogic::readImage() {
    m_session->transfer.readImage(m_window.progressSink());
}

void WindowLogic::ButtonSetPinClick() {
    if (locked())
        return;
    (void)setControllerPin(m_session->image, m_session->transfer, m_prompts);
}

// ---------------------------------------------------------------------------------------------
// Live data

void WindowLogic::showNotConnected() {
    AbLED* status = m_window.sidePanel().AbLEDStatus;
    const StatusIndicator s = notConnectedIndicator(m_session->texts);
    status->setStatus(s.status);
    status->setFlashing(s.flashing);
    status->setCaption(QString::fromStdString(s.caption));
}

bool WindowLogic::nextPlaybackRecord(LiveFrame&) {
    return false;
}  // the data logger's

void WindowLogic::appendLog(const LiveFrame&) {}  // the data logger's

void WindowLogic::updateCalibrationTables() {}  // the auto-calibration tables'

bool WindowLogic::readingsPageVisible() const {
    return m_window.readingsPage().isVisible();
}

void WindowLogic::feedOscilloscope() {}  // the oscilloscope's

void WindowLogic::updateDisplay() {
    DisplayVisibility visible;
    visible.dnaGroup = m_window.emuPage().GroupBoxDnaSimple->isVisible();
    visible.emulatorPage = m_window.emuPage().isVisible();
    const Readings r = computeReadings(m_session->frame, m_session->image, m_session->state,
                                       visible, m_session->texts, m_session->display);
    applyReadings(r);
}

void WindowLogic::applyReadings(const Readings& r) {
    SidePanel& side = m_window.sidePanel();
    ReadingsPage& page = m_window.readingsPage();
    EmuPage& emu = m_window.emuPage();

    if (r.emulatorTexts) {
        setText(emu.LabelK1, r.labelK1);
        setText(emu.LabelK2, r.labelK2);
        setText(emu.LabelDTPS1, r.labelDtps1);
        setText(emu.LabelDTPS2, r.labelDtps2);
        setText(emu.LabelDTPSout1, r.labelDtpsOut1);
        setText(emu.LabelDTPSout2, r.labelDtpsOut2);
        setText(emu.LabelFreq1Val, r.labelFreq1Val);
        setText(emu.LabelFreq1ValOut, r.labelFreq1ValOut);
        setText(emu.LabelOperationsPer100, r.labelOperations);
    }
    setText(page.EditAkum, r.editAkum);
    page.AbLEDStac->setStatus(r.ignitionOn ? 1 : 0);
    m_window.adjustmentPage().AbLEDCutOff->setStatus(r.cutOff ? 1 : 0);
    m_window.adjustmentPage().AbLEDCruise->setStatus(r.cruise ? 1 : 0);
    setText(page.LabelWTG, r.labelWtg);
    setText(page.LabelWTD, r.labelWtd);
    side.AbBarEGT->setValue(r.egtVolts);
    side.AbBarEGT1->setValue(r.egtCelsius);
    setText(m_parameters->EditAlter, r.editAlter);
    page.Ab270MeterRPM->setValue(r.rpmThousands);
    side.AbBarPasRpm->setValue(static_cast<double>(r.rpm));
    page.Ab180MeterDIFP->setValue(r.pressureDifference);
    side.Ab180MeterPasDifP->setValue(r.pressureDifference);
    side.AbBarPasDifP->setValue(r.pressureDifference);
    page.AbBarLambda->setValue(r.airFlow);
    side.AbBarPasAir->setValue(r.airFlow);
    page.AbBarTPS->setValue(r.tps);
    side.AbBarPasTps->setValue(r.tps);
    side.AbBarPasRail->setValue(r.rail);
    page.AbBarRail->setValue(r.rail);
    if (r.emulatorVoltages) {
        setText(emu.LabelVemu1, r.labelVemu1);
        setText(emu.LabelVemu2, r.labelVemu2);
    }
    setText(emu.LabelDnaMaxMinK1, r.labelDnaMaxMinK1);
    setText(emu.LabelDnaMaxMinK2, r.labelDnaMaxMinK2);
    side.AbBarPasVacum->setValue(r.vacuum);
    side.AbBarPasAbs->setValue(r.absolutePressure);
    setText(page.EditDieselL, r.editDieselL);
    setText(page.EditGazL, r.editGazL);
    page.AbBarStep->setValue(r.step);
    side.AbBarPasStep->setValue(r.step);
    side.AbBarPasStepProc->setValue(r.stepPercent);
    page.AbBarOdTg->setValue(r.propaneTemperature);
    side.AbBarPasTg->setValue(r.propaneTemperature);
    page.AbBarOdTR->setValue(r.regulatorTemperature);
    side.AbBarPasTr->setValue(r.regulatorTemperature);
    page.AbBarOdRez->setValue(r.level);
    side.AbBarPasLevel->setValue(r.level);
    if (r.levelLeds) {
        const std::array<AbLED*, 5> onPage{page.AbLEDOdPoz0, page.AbLEDOdPoz1, page.AbLEDOdPoz2,
                                           page.AbLEDOdPoz3, page.AbLEDOdPoz4};
        const std::array<AbLED*, 5> onSide{side.AbLedPasLev1, side.AbLedPasLev2, side.AbLedPasLev3,
                                           side.AbLedPasLev4, side.AbLedPasLev5};
        for (std::size_t i = 0; i < 5; ++i) {
            onPage[i]->setChecked((*r.levelLeds)[i]);
            onSide[i]->setChecked((*r.levelLeds)[i]);
        }
    }
    page.AbLEDRed->setChecked(r.regulatorValve);
    side.AbLEDReduktor->setChecked(r.regulatorValve);
    page.AbLEDEzaw->setChecked(r.tankValve);
    side.AbLEDZaworEzaw->setChecked(r.tankValve);
    page.AbLEDdies->setChecked(r.dieselValve);
    side.AbLEDdiesel->setChecked(r.dieselValve);
    side.AbLEDStatus->setStatus(r.status.status);
    side.AbLEDStatus->setFlashing(r.status.flashing);
    side.AbLEDStatus->setCaption(QString::fromStdString(r.status.caption));
    if (r.errorCounterChanged && onShowErrors)
        onShowErrors();
}

// ---------------------------------------------------------------------------------------------
// Refresh

void WindowLogic::RefreshControls() {
    // Nothing the refresh sets counts as an edit: a handler run now would store a shown value,
    // which went through a display conversion, back into the image.
    m_parameters->setQuiet(true);
    refreshCalibrationPoints();
    refreshEnginePower();
    refreshPin();
    refreshCruiseSettings();
    refreshFrequencyEmulator();
    refreshDnaTimes();
    refreshEmulatorInput();
    refreshEmulatorSettings();
    refreshTpsEmulatorTable();
    refreshStepEmulatorTable();
    refreshDnaType();
    refreshDynamicK();
    refreshCutOff();
    refreshDoubleInjection();
    refreshEnabledErrors();
    refreshRevisionGroups();
    refreshCruiseHeading();
    refreshSetPinButton();
    refreshCdiEmulator();
    m_parameters->refreshRpmSignal();        // 20
    m_parameters->refreshEgtAndTurbo();      // 21
    m_parameters->refreshSensors();          // 22
    m_parameters->refreshPressures();        // 23
    m_parameters->refreshOnTemperature();    // 24
    m_parameters->refreshSwitchOn();         // 25
    m_parameters->refreshLevelSensor();      // 26
    refreshTpsSwitch();                      // 27
    m_parameters->refreshLevelPoints();      // 28
    refreshCorrectionMapSwitches();          // 29
    refreshCruiseMap();                      // 30
    refreshCorrectionMaps();                 // 31
    m_parameters->refreshWorkPressure();     // 32
    m_parameters->refreshReturnToPropane();  // 33
    refreshMainMap();                        // 33
    // A locked controller takes no edits from any control until the next accepted refresh.
    m_parameters->setQuiet(locked());
}

// Steps whose controls belong to the map, emulator, cut-off, CDi and error pages are filled in
// with those pages.
void WindowLogic::refreshCalibrationPoints() {}
void WindowLogic::refreshEnginePower() {}
void WindowLogic::refreshCruiseSettings() {}
void WindowLogic::refreshFrequencyEmulator() {}
void WindowLogic::refreshDnaTimes() {}
void WindowLogic::refreshEmulatorInput() {}
void WindowLogic::refreshEmulatorSettings() {}
void WindowLogic::refreshTpsEmulatorTable() {}
void WindowLogic::refreshStepEmulatorTable() {}
void WindowLogic::refreshDnaType() {}
void WindowLogic::refreshDynamicK() {}
void WindowLogic::refreshCutOff() {}
void WindowLogic::refreshDoubleInjection() {}
void WindowLogic::refreshEnabledErrors() {}
void WindowLogic::refreshCdiEmulator() {}
void WindowLogic::refreshTpsSwitch() {}
void WindowLogic::refreshCorrectionMapSwitches() {}
void WindowLogic::refreshMainMap() {}

void WindowLogic::refreshPin() {
    const PinCheckOutcome outcome = checkControllerPin(m_session->image, m_prompts);
    applyLock(outcome != PinCheckOutcome::Refused);
    if (outcome == PinCheckOutcome::Accepted)
        m_window.readingsPage().ButtonSetPin->show();
    if (outcome == PinCheckOutcome::Refused)
        m_prompts.message(kMsgErrorPass);
}

void WindowLogic::applyLock(bool unlocked) {
    m_session->pinAccepted = unlocked;
    m_lockApplied = true;
    m_parameters->setQuiet(true);
    m_window.setMenusLocked(!unlocked);
    for (int page : kLockedPages)
        m_window.setTabShown(page, unlocked);
    if (!unlocked)
        m_window.showPage(MainWindow::kPageReadings);
}

void WindowLogic::refreshRevisionGroups() {
    const unsigned sw = m_session->state.softwareRevision;
    const unsigned hw = m_session->state.hardwareRevision;
    AdjustmentPage& adj = m_window.adjustmentPage();
    AdvancedPage& adv = m_window.advancedPage();
    const std::array<QWidget*, 7> cruise{
        adj.PanelTpsCrus,  adj.StringGridMapaTempomatu, adv.GroupBoxCutOff, adj.ButtonTempoP5,
        adj.ButtonTempoP1, adj.ButtonTempoM5,           adj.ButtonTempoM1};
    if (sw < 2) {
        for (QWidget* w :
             {static_cast<QWidget*>(adj.PanelTpsCrus), static_cast<QWidget*>(adv.PanelAdvanced),
              static_cast<QWidget*>(adv.GroupBoxCdiEmu), static_cast<QWidget*>(adv.GroupBoxCutOff),
              static_cast<QWidget*>(adv.GroupBoxAdvanced),
              static_cast<QWidget*>(m_window.parametersPage().GroupBoxDoubleInjectionTime)})
            w->hide();
    }
    if (sw < 3)
        for (QWidget* w : cruise)
            w->hide();
    const bool dnaSimple = hw == 2 || hw == 3 || (sw == 5 && hw == 1);
    m_window.emuPage().GroupBoxDnaSimple->setVisible(dnaSimple);
    // LabelEmulator, ComboBoxDciEn and GroupBoxFreqAlg follow with the CDi and frequency
    // emulator controls.
    if (sw >= 3)
        for (QWidget* w : cruise)
            w->show();
}

void WindowLogic::refreshCruiseHeading() {
    const auto& heading =
        m_session->state.softwareRevision < 4 ? kCruiseHeadingBefore4 : kCruiseHeadingFrom4;
    QTableWidget* grid = m_window.adjustmentPage().StringGridMapaTempomatu;
    for (int c = 0; c < static_cast<int>(heading.size()); ++c)
        setCellText(grid, c, 0, QString::fromLatin1(heading[static_cast<std::size_t>(c)]));
}

void WindowLogic::refreshSetPinButton() {
    m_window.readingsPage().ButtonSetPin->setVisible(m_session->state.softwareRevision >= 11 &&
                                                     m_session->pinAccepted);
}

void WindowLogic::refreshCruiseMap() {
    QTableWidget* grid = m_window.adjustmentPage().StringGridMapaTempomatu;
    const FieldDef& map = fieldDef(FieldId::CruiseMap);
    for (int c = 0; c < map.count; ++c)
        setCellText(grid, c, 1,
                    QString::number(readField(m_session->image, FieldId::CruiseMap,
                                              static_cast<std::size_t>(c))));
}

void WindowLogic::refreshCorrectionMaps() {
    AdvancedPage& adv = m_window.advancedPage();
    const std::array<QTableWidget*, 7> grids{adv.StringGridMapaEGT,
                                             adv.StringGridMapaLambda_5V,
                                             adv.StringGridMapaTempGazu,
                                             adv.StringGridMapaCisnienieKolektora,
                                             adv.StringGridMapaCisnienieGazu,
                                             adv.StringGridMapaTempReduktora,
                                             adv.StringGridMapaCisnienieRoznicowe};
    std::size_t at = 0;
    for (std::size_t g = 0; g < grids.size(); ++g) {
        const int columns = g + 1 < grids.size() ? 24 : 16;
        for (int c = 0; c < columns; ++c, ++at) {
            const auto value =
                static_cast<std::int8_t>(readField(m_session->image, FieldId::CorrectionMaps, at));
            setCellText(grids[g], c, 1, QString::number(value));
        }
    }
}

}  // namespace kaldor
