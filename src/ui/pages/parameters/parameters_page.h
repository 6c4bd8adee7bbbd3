#pragma once
// Page 1, "[F3]parameters": the engine and sensor parameters (switch-on conditions, sensors,
// rpm signal, EGT), the level-sensor group, the double injection group and the converter
// memory save. Each control stores its field and sends it at once when the user changes it or
// leaves it; the refresh shows the image in them.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include <memory>

#include "model/refresh_step.h"
#include "model/revision_rules.h"
#include "ui/qt_adapters.h"
#include "widgets/ab_num_spin.h"

namespace kaldor {

struct ControllerSession;
struct LiveRecord;
class PageBindings;
class SwitchOverParameters;

class ParametersPage : public QWidget {
    Q_OBJECT

public:
    explicit ParametersPage(QWidget* parent = nullptr);
    ~ParametersPage() override;

    // Connects the handlers to the session the page works on.
    void attach(ControllerSession& session);

    // Refresh steps, in the refresh's order.
    void refreshEnginePower();
    void refreshDoubleInjectionTime();
    void refreshEmulatorMode();
    void refreshRpmSignal();
    void refreshEgtAndTurbo();
    void refreshSensors();
    void refreshPressures();
    void refreshOnTemperature();
    void refreshSwitchOn();
    void refreshLevelSensor();
    void refreshLevelPoints();
    void showRevisionGroups(const RevisionGroups& groups);
    // The live display's share: the power-stage text.
    void showRecord(const LiveRecord& record);

    QGroupBox* GroupBoxEngine = nullptr;
    QComboBox* ComboBoxTempOn = nullptr;
    AbNumSpin* AbNumSpinRpm = nullptr;
    AbNumSpin* AbNumSpinOnDelay = nullptr;
    AbNumSpin* AbNumSpinMinPsys = nullptr;
    AbNumSpin* AbNumSpinOffDelay = nullptr;
    QComboBox* ComboBoxRegulatorVacum = nullptr;
    QComboBox* ComboBoxTGsensor = nullptr;
    QComboBox* ComboBoxTRsensor = nullptr;
    QComboBox* ComboBoxPresSensor = nullptr;
    QComboBox* ComboBoxMAPSensType = nullptr;
    QComboBox* ComboBoxTurbo = nullptr;
    QComboBox* ComboBoxCoilType = nullptr;
    QComboBox* ComboBoxRpmPower = nullptr;
    AbNumSpin* AbNumSpinRpmVar = nullptr;
    QLineEdit* EditAlter = nullptr;
    QComboBox* ComboBoxEGT = nullptr;
    QComboBox* ComboBoxEGT_Temp = nullptr;
    QComboBox* ComboBoxRegulatorValv = nullptr;
    AbNumSpin* AbNumSpinWzbogacenieGlowne = nullptr;
    AbNumSpin* AbNumSpinOffsetGlowny = nullptr;

    QGroupBox* GroupBoxPar3 = nullptr;
    QComboBox* ComboBoxLevelSensor = nullptr;
    AbNumSpin* AbNumSpinPozE = nullptr;
    AbNumSpin* AbNumSpinPoz14 = nullptr;
    AbNumSpin* AbNumSpinPoz24 = nullptr;
    AbNumSpin* AbNumSpinPoz34 = nullptr;
    AbNumSpin* AbNumSpinRezRef = nullptr;
    QCheckBox* CheckBoxLevelSensorNegativ = nullptr;
    QCheckBox* CheckBoxWskaznikZasilany = nullptr;

    QLabel* LabelEmulator = nullptr;
    QLabel* LabelPower = nullptr;
    QLabel* LabelRegulatorMode = nullptr;  // hidden, with ComboBoxRegulatorValv
    QLabel* LabelEGT = nullptr;            // hidden
    QGroupBox* GroupBoxDoubleInjectionTime = nullptr;
    QPushButton* ButtonSaveEeprom = nullptr;
    QProgressBar* ProgressBarEeprom = nullptr;

    // The emulator mode, power class and double injection time with their presets.
    [[nodiscard]] SwitchOverParameters& switchOver() const { return *m_switchOver; }

signals:
    // Fields whose controls sit on another page were stored: the refresh step that shows them.
    void fieldsStored(kaldor::RefreshStep step);

private:
    QWidget* buildEngineGroup();
    void buildLevelGroup();
    QWidget* buildConverterRow();
    void connectHandlers();
    void showRpmSignalLevel(unsigned level);

    QWidget* m_content = nullptr;                  // inside the page's scroll area
    SwitchOverParameters* m_switchOver = nullptr;  // owned by GroupBoxEngine
    ControllerSession* m_session = nullptr;
    std::unique_ptr<PageBindings> m_bindings;
    ProgressBarSink m_eepromProgress{nullptr};
};

}  // namespace kaldor
