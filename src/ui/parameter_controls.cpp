#include "ui/parameter_controls.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>
#include <cmath>

#include "model/units.h"
#include "ui/ui_build.h"

namespace kaldor {
namespace {

constexpr std::array kSensorTempItems{"2k", "2k2", "2k7", "3k3", "4k7(PX208)", "5k", "6k8", "10k"};
constexpr std::array kPressureSensorItems{"BOSCH 3.5 BAR",     "BOSCH 4.0 BAR",
                                          "BOSCH 6.0 BAR",     "Freescale 4.0 BAR(PX208)",
                                          "Freescale 5.0 BAR", "Freescale 7.0 BAR"};
constexpr std::array kMapSensorItems{
    "BOSCH 2.5 BAR",     "Freescale 1.15 Bar", "Freescale 1.3 Bar",       "Freescale 2.0 Bar",
    "Freescale 2.5 Bar", "Freescale 3.0 Bar",  "Freescale 4.0 Bar(PX208)"};
constexpr std::array kCoilItems{"1",   "2",   "3",   "4",   "5",   "6",   "8",
                                "D10", "D15", "D20", "D25", "D30", "D35", "D40",
                                "D45", "D50", "D60", "D70", "D80", "D90"};
constexpr std::array kLevelSensorItems{"0-90", "90-0", "20k-0", "0-20k", "AEB806", "Wika"};
constexpr std::array kOffOn{"OFF", "ON"};

struct SpinSpec {
    double minimum, maximum, step;
    const char* format;
    double initial;
};
constexpr SpinSpec kRpmSpin{500, 3000, 100, "#0#", 1200};
constexpr SpinSpec kOnDelaySpin{0, 60, 0.1, "#0.0#", 0.5};
constexpr SpinSpec kMinPsysSpin{0.05, 5, 0.1, "#0.0#", 0.4};
constexpr SpinSpec kOffDelaySpin{0.05, 25, 0.05, "#0.0#", 0.5};
constexpr SpinSpec kRpmVarSpin{0.5, 24, 0.1, "#0.0#", 4};
constexpr SpinSpec kLevelPointSpin{0, 5, 0.05, "#0.0#", 0};
constexpr SpinSpec kRezRefSpin{1, 120, 1, "#0#", 25};
constexpr SpinSpec kEnrichmentSpin{-25, 50, 1, "#0", 0};
constexpr SpinSpec kOffsetSpin{-2, 4, 0.05, "#0.0#", 0};
constexpr SpinSpec kWorkPressureSpin{0.3, 2.45, 0.05, "#0.0#", 0.9};

constexpr int kOnTemperatureFirst = 20;
constexpr int kOnTemperatureLast = 60;
constexpr int kEgtItems = 51;
constexpr double kEgtDegreesPerVolt = 285.8;
constexpr int kEepromWords = 512;

// Calls `action` whenever the input focus leaves the watched control for another control; another
// window taking over (a dialog, a message box) or the list's own popup does not count.
class FocusOutFilter : public QObject {
public:
    FocusOutFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_action();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

template <std::size_t N>
QComboBox* namedList(QWidget* parent, const char* name, const std::array<const char*, N>& items) {
    auto* box = named<QComboBox>(parent, name);
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
    return box;
}

AbNumSpin* namedSpin(QWidget* parent, const char* name, const SpinSpec& s) {
    auto* spin = named<AbNumSpin>(parent, name);
    spin->setRange(s.minimum, s.maximum);
    spin->setIncrement(s.step);
    spin->setFormat(QString::fromLatin1(s.format));
    spin->setValue(s.initial);
    return spin;
}

QString egtItem(int i) {
    const int degrees = static_cast<int>(std::lround(i * 0.1 * kEgtDegreesPerVolt));
    if (i == kEgtItems - 1)
        return QStringLiteral("5V      %1°C").arg(degrees);
    return QStringLiteral("%1,%2V   %3°C").arg(i / 10).arg(i % 10).arg(degrees);
}

}  // namespace

void showItem(QComboBox* box, long index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? static_cast<int>(index) : -1);
}

ParameterControls::ParameterControls(const Places& places, ControllerSession& session,
                                     QObject* parent)
    : QObject(parent), m_session(session) {
    build(places);
    connectHandlers();
}

void ParameterControls::build(const Places& places) {
    QWidget* page = places.parameters->parentWidget();
    auto* group = namedGroup(page, "GroupBoxEngine", QString());
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(4);
    // Two columns of label and control pairs, so the page fits the window's built-in height.
    constexpr int kRowsPerColumn = 9;
    int item = 0;
    const auto add = [&](const char* labelName, const QString& text, QWidget* control) {
        const int row = item % kRowsPerColumn;
        const int column = 2 * (item / kRowsPerColumn);
        QLabel* label = namedLabel(group, labelName, text);
        label->setWordWrap(true);
        grid->addWidget(label, row, column);
        grid->addWidget(control, row, column + 1);
        ++item;
    };

    ComboBoxTempOn = named<QComboBox>(group, "ComboBoxTempOn");
    for (int t = kOnTemperatureFirst; t <= kOnTemperatureLast; ++t)
        ComboBoxTempOn->addItem(QString::number(t));
    add("LabelTempOn", tr("switch-on temperature [°C]"), ComboBoxTempOn);
    AbNumSpinRpm = namedSpin(group, "AbNumSpinRpm", kRpmSpin);
    add("LabelRpm", tr("switch-on rpm"), AbNumSpinRpm);
    AbNumSpinOnDelay = namedSpin(group, "AbNumSpinOnDelay", kOnDelaySpin);
    add("LabelOnDelay", tr("switch-on delay [s]"), AbNumSpinOnDelay);
    AbNumSpinMinPsys = namedSpin(group, "AbNumSpinMinPsys", kMinPsysSpin);
    add("LabelMinPsys", tr("minimum pressure [bar]"), AbNumSpinMinPsys);
    AbNumSpinOffDelay = namedSpin(group, "AbNumSpinOffDelay", kOffDelaySpin);
    add("LabelOffDelay", tr("minimum pressure delay [s]"), AbNumSpinOffDelay);
    ComboBoxRegulatorVacum =
        namedList(group, "ComboBoxRegulatorVacum",
                  std::array{"vacum/boost disconnected", "vacum/boost normal"});
    add("LabelRegulatorVacum", tr("regulator"), ComboBoxRegulatorVacum);
    ComboBoxTGsensor = namedList(group, "ComboBoxTGsensor", kSensorTempItems);
    add("LabelTGsensor", tr("gas temperature sensor"), ComboBoxTGsensor);
    ComboBoxTRsensor = namedList(group, "ComboBoxTRsensor", kSensorTempItems);
    add("LabelTRsensor", tr("regulator temperature sensor"), ComboBoxTRsensor);
    ComboBoxPresSensor = namedList(group, "ComboBoxPresSensor", kPressureSensorItems);
    add("LabelPresSensor", tr("gas pressure sensor"), ComboBoxPresSensor);
    ComboBoxMAPSensType = namedList(group, "ComboBoxMAPSensType", kMapSensorItems);
    add("LabelMAPSensType", tr("MAP sensor"), ComboBoxMAPSensType);
    ComboBoxTurbo = namedList(group, "ComboBoxTurbo", std::array{"N/A", "TURBO"});
    add("LabelTurbo", tr("turbo"), ComboBoxTurbo);
    ComboBoxCoilType = namedList(group, "ComboBoxCoilType", kCoilItems);
    add("LabelCoilType", tr("rpm signal type"), ComboBoxCoilType);
    ComboBoxRpmPower = namedList(group, "ComboBoxRpmPower", std::array{"5V", "0-24VDC"});
    add("LabelRpmPower", tr("rpm signal level"), ComboBoxRpmPower);
    // The threshold (0-24 V signal) and the power-stage box (third kind) share one place.
    auto* signalBox = new QWidget(group);
    auto* signalLayout = new QHBoxLayout(signalBox);
    signalLayout->setContentsMargins(0, 0, 0, 0);
    AbNumSpinRpmVar = namedSpin(signalBox, "AbNumSpinRpmVar", kRpmVarSpin);
    AbNumSpinRpmVar->hide();
    EditAlter = places.editAlter;
    signalLayout->addWidget(AbNumSpinRpmVar);
    if (EditAlter)
        signalLayout->addWidget(EditAlter);
    add("LabelRpmVar", tr("rpm signal threshold [V]"), signalBox);
    ComboBoxEGT = namedList(group, "ComboBoxEGT", kOffOn);
    add("LabelEGT", tr("EGT sensor"), ComboBoxEGT);
    ComboBoxEGT_Temp = named<QComboBox>(group, "ComboBoxEGT_Temp");
    for (int i = 0; i < kEgtItems; ++i)
        ComboBoxEGT_Temp->addItem(egtItem(i));
    add("LabelEGT_Temp", tr("EGT maximum"), ComboBoxEGT_Temp);
    // Kept hidden: nothing shows them.
    ComboBoxRegulatorValv =
        namedList(group, "ComboBoxRegulatorValv",
                  std::array{"Regulator Allways ON", "Regulator Off if STEP == 0"});
    ComboBoxRegulatorValv->hide();
    AbNumSpinWzbogacenieGlowne = namedSpin(group, "AbNumSpinWzbogacenieGlowne", kEnrichmentSpin);
    AbNumSpinWzbogacenieGlowne->hide();
    AbNumSpinOffsetGlowny = namedSpin(group, "AbNumSpinOffsetGlowny", kOffsetSpin);
    AbNumSpinOffsetGlowny->hide();

    QGroupBox* level = places.levelGroup;
    QGridLayout* levelGrid = nullptr;
    if (auto* box = qobject_cast<QBoxLayout*>(level->layout())) {
        levelGrid = new QGridLayout;
        box->addLayout(levelGrid);
    } else {
        levelGrid = new QGridLayout(level);
    }
    int row = 0;
    const auto addLevel = [&](const char* labelName, const QString& text, QWidget* control) {
        levelGrid->addWidget(namedLabel(level, labelName, text), row, 0);
        levelGrid->addWidget(control, row, 1);
        ++row;
    };
    ComboBoxLevelSensor = namedList(level, "ComboBoxLevelSensor", kLevelSensorItems);
    addLevel("LabelLevelSensor", tr("sensor"), ComboBoxLevelSensor);
    AbNumSpinPozE = namedSpin(level, "AbNumSpinPozE", kLevelPointSpin);
    addLevel("LabelPozE", tr("E [V]"), AbNumSpinPozE);
    AbNumSpinPoz14 = namedSpin(level, "AbNumSpinPoz14", kLevelPointSpin);
    addLevel("LabelPoz14", tr("1/4 [V]"), AbNumSpinPoz14);
    AbNumSpinPoz24 = namedSpin(level, "AbNumSpinPoz24", kLevelPointSpin);
    addLevel("LabelPoz24", tr("2/4 [V]"), AbNumSpinPoz24);
    AbNumSpinPoz34 = namedSpin(level, "AbNumSpinPoz34", kLevelPointSpin);
    addLevel("LabelPoz34", tr("3/4 [V]"), AbNumSpinPoz34);
    AbNumSpinRezRef = namedSpin(level, "AbNumSpinRezRef", kRezRefSpin);
    addLevel("LabelRezRef", tr("reference time [s]"), AbNumSpinRezRef);
    CheckBoxLevelSensorNegativ =
        named<QCheckBox>(level, "CheckBoxLevelSensorNegativ", tr("invert sensor"));
    levelGrid->addWidget(CheckBoxLevelSensorNegativ, row++, 0, 1, 2);
    CheckBoxWskaznikZasilany =
        named<QCheckBox>(level, "CheckBoxWskaznikZasilany", tr("Valve powered"));
    levelGrid->addWidget(CheckBoxWskaznikZasilany, row++, 0, 1, 2);

    auto* eeprom = new QWidget(page);
    auto* eepromLayout = new QHBoxLayout(eeprom);
    eepromLayout->setContentsMargins(0, 0, 0, 0);
    ButtonSaveEeprom =
        named<QPushButton>(eeprom, "ButtonSaveEeprom", tr("save data if 24->12V converter"));
    ProgressBarEeprom = named<QProgressBar>(eeprom, "ProgressBarEeprom");
    ProgressBarEeprom->setRange(0, kEepromWords);
    ProgressBarEeprom->setValue(0);
    eepromLayout->addWidget(ButtonSaveEeprom);
    eepromLayout->addWidget(ProgressBarEeprom, 1);
    m_eepromProgress = ProgressBarSink(ProgressBarEeprom);

    auto* column = new QVBoxLayout;
    column->addWidget(group);
    column->addWidget(eeprom);
    column->addStretch(1);
    places.parameters->addLayout(column, 0, 0, 3, 1);

    auto* workLayout = places.workPressure->layout();
    if (!workLayout)
        workLayout = new QVBoxLayout(places.workPressure);
    workLayout->addWidget(
        namedLabel(places.workPressure, "LabelCisnieniePracy", tr("work pressure")));
    AbNumSpinCisnieniePracy =
        namedSpin(places.workPressure, "AbNumSpinCisnieniePracy", kWorkPressureSpin);
    workLayout->addWidget(AbNumSpinCisnieniePracy);

    auto* returnLayout = places.returnToPropane->layout();
    if (!returnLayout)
        returnLayout = new QVBoxLayout(places.returnToPropane);
    returnLayout->addWidget(
        namedLabel(places.returnToPropane, "LabelGazAutoOn", tr("return to propane after error:")));
    ComboBoxGazAutoOn = namedList(places.returnToPropane, "ComboBoxGazAutoOn", kOffOn);
    returnLayout->addWidget(ComboBoxGazAutoOn);
}

void ParameterControls::onEdit(QComboBox* box, std::function<void(int)> handler) {
    const auto run = [this, box, handler] {
        if (!m_quiet)
            handler(box->currentIndex());
    };
    connect(box, qOverload<int>(&QComboBox::activated), this, run);
    box->installEventFilter(new FocusOutFilter(box, run));
}

void ParameterControls::onEdit(QCheckBox* box, std::function<void(bool)> handler) {
    const auto run = [this, box, handler] {
        if (!m_quiet)
            handler(box->isChecked());
    };
    connect(box, &QCheckBox::clicked, this, run);
    box->installEventFilter(new FocusOutFilter(box, run));
}

void ParameterControls::onEdit(AbNumSpin* spin, std::function<void(double)> handler) {
    const auto run = [this, spin, handler] {
        if (!m_quiet)
            handler(spin->value());
    };
    connect(spin, &AbNumSpin::userChanged, this, run);
    connect(spin, &AbNumSpin::focusLost, this, run);
}

void ParameterControls::showRpmSignalLevel(unsigned level) {
    const RpmSignalVisibility v = rpmSignalVisibility(level);
    AbNumSpinRpmVar->setVisible(v.thresholdShown);
    if (EditAlter)
        EditAlter->setVisible(v.powerStageShown);
}

void ParameterControls::connectHandlers() {
    ParameterEditor& e = m_session.editor;
    onEdit(ComboBoxTempOn, [&e](int i) { e.onTemperatureChosen(i); });
    onEdit(ComboBoxTGsensor, [&e](int i) { e.sensorTypeChosen(FieldId::GasTempSensorType, i); });
    onEdit(ComboBoxTRsensor,
           [&e](int i) { e.sensorTypeChosen(FieldId::ReducerTempSensorType, i); });
    onEdit(ComboBoxPresSensor,
           [&e](int i) { e.sensorTypeChosen(FieldId::GasPressureSensorType, i); });
    onEdit(ComboBoxMAPSensType, [&e](int i) { e.sensorTypeChosen(FieldId::MapSensorType, i); });
    onEdit(ComboBoxTurbo, [&e](int i) { e.flagChosen(FieldId::TurboOn, i); });
    onEdit(ComboBoxEGT, [&e](int i) { e.flagChosen(FieldId::EgtSensorOn, i); });
    onEdit(ComboBoxEGT_Temp, [&e](int i) { e.egtMaxLevelChosen(i); });
    onEdit(AbNumSpinOnDelay, [&e](double v) { e.onDelayEdited(v); });
    onEdit(AbNumSpinOffDelay, [&e](double v) { e.pressureDelayEdited(v); });
    onEdit(AbNumSpinMinPsys,
           [this, &e](double v) { AbNumSpinMinPsys->setValue(e.minPressureEdited(v)); });
    onEdit(ComboBoxRegulatorVacum, [this, &e](int i) {
        if (const auto shown = e.vacuumChosen(i))
            AbNumSpinMinPsys->setValue(*shown);
    });
    onEdit(AbNumSpinRpm, [this, &e](double v) { AbNumSpinRpm->setValue(e.switchOnRpmEdited(v)); });
    onEdit(ComboBoxCoilType, [this, &e](int i) {
        if (const auto shown = e.coilTypeChosen(i, AbNumSpinRpm->value()))
            AbNumSpinRpm->setValue(*shown);
    });
    onEdit(ComboBoxRpmPower, [this, &e](int i) {
        if (e.rpmSignalLevelChosen(i))
            showRpmSignalLevel(static_cast<unsigned>(i) & 3u);
    });
    onEdit(AbNumSpinRpmVar, [&e](double v) { e.rpmThresholdEdited(v); });
    onEdit(ComboBoxLevelSensor, [this, &e](int i) {
        const auto shown =
            e.levelSensorChosen(i, {AbNumSpinPozE->value(), AbNumSpinPoz14->value(),
                                    AbNumSpinPoz24->value(), AbNumSpinPoz34->value()});
        if (!shown)
            return;
        AbNumSpinPozE->setValue(shown->points[0]);
        AbNumSpinPoz14->setValue(shown->points[1]);
        AbNumSpinPoz24->setValue(shown->points[2]);
        AbNumSpinPoz34->setValue(shown->points[3]);
        CheckBoxLevelSensorNegativ->setChecked(shown->invertTicked);
    });
    onEdit(AbNumSpinPozE, [&e](double v) { e.levelPointEdited(FieldId::LevelPointE, v); });
    onEdit(AbNumSpinPoz14, [&e](double v) { e.levelPointEdited(FieldId::LevelPoint14, v); });
    onEdit(AbNumSpinPoz24, [&e](double v) { e.levelPointEdited(FieldId::LevelPoint24, v); });
    onEdit(AbNumSpinPoz34, [&e](double v) { e.levelPointEdited(FieldId::LevelPoint34, v); });
    onEdit(AbNumSpinRezRef, [&e](double v) { e.levelRefTimeEdited(v); });
    onEdit(CheckBoxLevelSensorNegativ, [&e](bool t) { e.invertSensorTicked(t); });
    onEdit(CheckBoxWskaznikZasilany, [&e](bool t) { e.valvePoweredTicked(t); });
    onEdit(AbNumSpinWzbogacenieGlowne, [&e](double v) { e.enrichmentEdited(v); });
    onEdit(AbNumSpinOffsetGlowny, [&e](double v) { e.mainOffsetEdited(v); });
    onEdit(AbNumSpinCisnieniePracy, [&e](double v) { e.workingPressureEdited(v); });
    onEdit(ComboBoxGazAutoOn, [&e](int i) { e.flagChosen(FieldId::AutoReturnToGas, i); });
    connect(ButtonSaveEeprom, &QPushButton::clicked, this, [this] {
        if (!m_quiet)
            m_session.transfer.writeConverter(m_eepromProgress);
    });
}

void ParameterControls::refreshRpmSignal() {
    const EcuImage& img = m_session.image;
    showRpmSignalLevel(readField(img, FieldId::RpmSignalLevel));
    showItem(ComboBoxRegulatorVacum, readField(img, FieldId::RegulatorVacuumConnected));
    AbNumSpinRpmVar->setValue(RpmThresholdFromRaw(readField(img, FieldId::RpmSignalThreshold)));
    showItem(ComboBoxRpmPower, readField(img, FieldId::RpmSignalLevel));
    showItem(ComboBoxCoilType, readField(img, FieldId::RpmSignalType));
}

void ParameterControls::refreshEgtAndTurbo() {
    const EcuImage& img = m_session.image;
    showItem(ComboBoxEGT, readField(img, FieldId::EgtSensorOn));
    showItem(ComboBoxEGT_Temp, readField(img, FieldId::EgtMaxLevel) / 81);
    showItem(ComboBoxTurbo, readField(img, FieldId::TurboOn));
}

void ParameterControls::refreshSensors() {
    const EcuImage& img = m_session.image;
    showItem(ComboBoxTGsensor, readField(img, FieldId::GasTempSensorType));
    showItem(ComboBoxTRsensor, readField(img, FieldId::ReducerTempSensorType));
    showItem(ComboBoxPresSensor, readField(img, FieldId::GasPressureSensorType));
    showItem(ComboBoxMAPSensType, readField(img, FieldId::MapSensorType));
}

void ParameterControls::refreshPressures() {
    const EcuImage& img = m_session.image;
    AbNumSpinMinPsys->setValue(MillibarToBar(readField(img, FieldId::MinSystemPressure)));
    AbNumSpinOffDelay->setValue(CentisecondsToSeconds(readField(img, FieldId::PressureDelay)));
}

void ParameterControls::refreshOnTemperature() {
    const auto raw = static_cast<std::int8_t>(readField(m_session.image, FieldId::OnTemperature));
    if (raw < kOnTemperatureFirst) {
        // Below the first item: the list shows no text.
        ComboBoxTempOn->setCurrentIndex(-1);
        return;
    }
    showItem(ComboBoxTempOn, raw - kOnTemperatureFirst);
}

void ParameterControls::refreshSwitchOn() {
    const EcuImage& img = m_session.image;
    const int type = static_cast<int>(readField(img, FieldId::RpmSignalType));
    AbNumSpinRpm->setValue(
        static_cast<double>(PeriodToRpm(readField(img, FieldId::OnRpmPeriod), type)));
    AbNumSpinOnDelay->setValue(CentisecondsToSeconds(readField(img, FieldId::OnDelay)));
}

void ParameterControls::refreshLevelSensor() {
    const EcuImage& img = m_session.image;
    showItem(ComboBoxLevelSensor, readField(img, FieldId::LevelSensorType));
    AbNumSpinRezRef->setValue(readField(img, FieldId::LevelRefTime));
    CheckBoxLevelSensorNegativ->setChecked(readField(img, FieldId::LevelSensorNormal) == 0);
    CheckBoxWskaznikZasilany->setChecked(readField(img, FieldId::LevelValvePowered) == 1);
}

void ParameterControls::refreshLevelPoints() {
    const EcuImage& img = m_session.image;
    AbNumSpinPoz34->setValue(AdcToVolts(readField(img, FieldId::LevelPoint34)));
    AbNumSpinPoz24->setValue(AdcToVolts(readField(img, FieldId::LevelPoint24)));
    AbNumSpinPoz14->setValue(AdcToVolts(readField(img, FieldId::LevelPoint14)));
    AbNumSpinPozE->setValue(AdcToVolts(readField(img, FieldId::LevelPointE)));
}

void ParameterControls::refreshWorkPressure() {
    AbNumSpinCisnieniePracy->setValue(
        MillibarToBar(readField(m_session.image, FieldId::WorkingPressure)));
}

void ParameterControls::refreshReturnToPropane() {
    showItem(ComboBoxGazAutoOn, readField(m_session.image, FieldId::AutoReturnToGas));
}

}  // namespace kaldor
