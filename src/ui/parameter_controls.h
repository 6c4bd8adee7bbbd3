#pragma once
// The engine and sensor parameter controls: on "[F3]parameters" the switch-on, pressure,
// sensor, rpm signal and level sensor settings; the work pressure on "[F4]adjustment" and the
// return to propane on "[F5]diagnostic". A user's change, and leaving a control, runs its
// handler, which stores the field and sends it at once. Values the program sets never do.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QProgressBar>
#include <QPushButton>
#include <functional>

#include "ui/qt_adapters.h"
#include "ui/session.h"
#include "widgets/ab_num_spin.h"

class QGridLayout;
class QGroupBox;

namespace kaldor {

class ParameterControls : public QObject {
    Q_OBJECT

public:
    struct Places {
        QGridLayout* parameters;   // "[F3]parameters", column 0 is ours
        QLineEdit* editAlter;      // the page's hidden "pwr" box
        QGroupBox* levelGroup;     // the page's level sensor group
        QWidget* workPressure;     // where the work pressure goes on "[F4]adjustment"
        QWidget* returnToPropane;  // where the return to propane goes on "[F5]diagnostic"
    };

    ParameterControls(const Places& places, ControllerSession& session, QObject* parent = nullptr);

    // While set, handlers do nothing: the refresh is filling the controls, or the controller is
    // locked and nothing may reach it.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    [[nodiscard]] bool quiet() const { return m_quiet; }

    // The refresh steps these controls own, in the refresh's numbering.
    void refreshRpmSignal();        // 20
    void refreshEgtAndTurbo();      // 21
    void refreshSensors();          // 22
    void refreshPressures();        // 23
    void refreshOnTemperature();    // 24
    void refreshSwitchOn();         // 25
    void refreshLevelSensor();      // 26
    void refreshLevelPoints();      // 28
    void refreshWorkPressure();     // 32
    void refreshReturnToPropane();  // 33 (first half)

    // Controls by their names.
    QComboBox* ComboBoxTempOn = nullptr;
    AbNumSpin* AbNumSpinRpm = nullptr;
    AbNumSpin* AbNumSpinOnDelay = nullptr;
    AbNumSpin* AbNumSpinMinPsys = nullptr;
    AbNumSpin* AbNumSpinOffDelay = nullptr;
    QComboBox* ComboBoxTGsensor = nullptr;
    QComboBox* ComboBoxTRsensor = nullptr;
    QComboBox* ComboBoxPresSensor = nullptr;
    QComboBox* ComboBoxMAPSensType = nullptr;
    QComboBox* ComboBoxTurbo = nullptr;
    QComboBox* ComboBoxCoilType = nullptr;
    QComboBox* ComboBoxRpmPower = nullptr;
    AbNumSpin* AbNumSpinRpmVar = nullptr;
    QComboBox* ComboBoxEGT = nullptr;
    QComboBox* ComboBoxEGT_Temp = nullptr;
    QComboBox* ComboBoxRegulatorVacum = nullptr;
    QComboBox* ComboBoxRegulatorValv = nullptr;
    QComboBox* ComboBoxLevelSensor = nullptr;
    AbNumSpin* AbNumSpinPozE = nullptr;
    AbNumSpin* AbNumSpinPoz14 = nullptr;
    AbNumSpin* AbNumSpinPoz24 = nullptr;
    AbNumSpin* AbNumSpinPoz34 = nullptr;
    AbNumSpin* AbNumSpinRezRef = nullptr;
    QCheckBox* CheckBoxLevelSensorNegativ = nullptr;
    QCheckBox* CheckBoxWskaznikZasilany = nullptr;
    AbNumSpin* AbNumSpinWzbogacenieGlowne = nullptr;
    AbNumSpin* AbNumSpinOffsetGlowny = nullptr;
    QLineEdit* EditAlter = nullptr;
    QPushButton* ButtonSaveEeprom = nullptr;
    QProgressBar* ProgressBarEeprom = nullptr;
    AbNumSpin* AbNumSpinCisnieniePracy = nullptr;
    QComboBox* ComboBoxGazAutoOn = nullptr;

private:
    // Runs `handler` on the user's change signal and again when the control loses the focus.
    void onEdit(QComboBox* box, std::function<void(int)> handler);
    void onEdit(QCheckBox* box, std::function<void(bool)> handler);
    void onEdit(AbNumSpin* spin, std::function<void(double)> handler);
    void showRpmSignalLevel(unsigned level);
    void build(const Places& places);
    void connectHandlers();

    ControllerSession& m_session;
    ProgressBarSink m_eepromProgress{nullptr};
    bool m_quiet = false;
};

// Shows a list item; an index outside the list shows no item.
void showItem(QComboBox* box, long index);

}  // namespace kaldor
