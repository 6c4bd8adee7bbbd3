#include "ui/pages/parameters_page.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include "model/codec.h"
#include "model/list_items.h"
#include "ui/bindings.h"
#include "ui/pages/switch_over_parameters.h"
#include "ui/session.h"
#include "ui/ui_build.h"

namespace kaldor {
namespace {

constexpr SpinSpec kRpmSpin{500, 3000, 100, "#0#", 1200};
constexpr SpinSpec kOnDelaySpin{0, 60, 0.1, "#0.0#", 0.5};
constexpr SpinSpec kMinPsysSpin{0.05, 5, 0.1, "#0.0#", 0.4};
constexpr SpinSpec kOffDelaySpin{0.05, 25, 0.05, "#0.0#", 0.5};
constexpr SpinSpec kRpmVarSpin{0.5, 24, 0.1, "#0.0#", 4};
constexpr SpinSpec kLevelPointSpin{0, 5, 0.05, "#0.0#", 0};
constexpr SpinSpec kRezRefSpin{1, 120, 1, "#0#", 25};
constexpr SpinSpec kEnrichmentSpin{-25, 50, 1, "#0", 0};
constexpr SpinSpec kOffsetSpin{-2, 4, 0.05, "#0.0#", 0};

constexpr int kListCharacters = 10;
constexpr int kLevelControlWidth = 80;

}  // namespace

ParametersPage::ParametersPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    // The controls fit the built-in window size side by side, their labels on one line; a
    // smaller window scrolls the page instead of squeezing the labels onto several lines.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    m_content = content;

    EditAlter = named<QLineEdit>(content, "EditAlter");
    EditAlter->setText(QStringLiteral("pwr"));
    EditAlter->setMaximumWidth(80);
    EditAlter->hide();

    auto* left = new QVBoxLayout;
    left->addWidget(buildEngineGroup());
    left->addWidget(buildConverterRow());
    left->addStretch(1);

    buildLevelGroup();
    GroupBoxDoubleInjectionTime = namedGroup(content, "GroupBoxDoubleInjectionTime",
                                             QStringLiteral("! DOUBLE INJECTION TIME !"));
    m_switchOver->buildDoubleInjection(GroupBoxDoubleInjectionTime);
    connect(m_switchOver, &SwitchOverParameters::fieldsStored, this, &ParametersPage::fieldsStored);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupBoxPar3);
    right->addWidget(GroupBoxDoubleInjectionTime);
    right->addStretch(1);

    auto* page = new QHBoxLayout(content);
    page->setContentsMargins(6, 6, 6, 6);
    page->addLayout(left, 1);
    page->addLayout(right, 0);
}

ParametersPage::~ParametersPage() = default;

QWidget* ParametersPage::buildEngineGroup() {
    GroupBoxEngine = namedGroup(m_content, "GroupBoxEngine", QString());
    auto* grid = new QGridLayout(GroupBoxEngine);
    grid->setVerticalSpacing(4);
    // Two columns of label and control pairs, so the page fits the window's built-in height.
    constexpr int kRowsPerColumn = 10;
    int item = 0;
    const auto add = [&](const char* labelName, const char* text, QWidget* control) {
        const int row = item % kRowsPerColumn;
        const int column = 2 * (item / kRowsPerColumn);
        QLabel* label = namedLabel(GroupBoxEngine, labelName, QString::fromUtf8(text));
        grid->addWidget(label, row, column);
        grid->addWidget(control, row, column + 1);
        ++item;
        return label;
    };
    QWidget* g = GroupBoxEngine;
    ComboBoxTempOn = named<QComboBox>(g, "ComboBoxTempOn");
    for (int t = kOnTemperatureFirst; t <= kOnTemperatureLast; ++t)
        ComboBoxTempOn->addItem(QString::number(t));
    add("LabelOnTemp", "switch-on temperature [°C]", ComboBoxTempOn);
    AbNumSpinRpm = namedSpin(g, "AbNumSpinRpm", kRpmSpin);
    add("LabelRpmSWitch", "switch-on rpm", AbNumSpinRpm);
    AbNumSpinOnDelay = namedSpin(g, "AbNumSpinOnDelay", kOnDelaySpin);
    add("LabelDelayGaz", "switch-on delay [s]", AbNumSpinOnDelay);
    AbNumSpinMinPsys = namedSpin(g, "AbNumSpinMinPsys", kMinPsysSpin);
    add("LabelMinPsys", "minimum pressure [bar]", AbNumSpinMinPsys);
    AbNumSpinOffDelay = namedSpin(g, "AbNumSpinOffDelay", kOffDelaySpin);
    add("LabelPsysDelay", "minimum pressure delay [s]", AbNumSpinOffDelay);
    ComboBoxRegulatorVacum = namedList(g, "ComboBoxRegulatorVacum", kRegulatorVacuumItems);
    add("LabelRegulatorVacum", "regulator", ComboBoxRegulatorVacum);
    ComboBoxTGsensor = namedList(g, "ComboBoxTGsensor", kTempSensorItems);
    add("LabelTGSEnsor", "gas temperature sensor", ComboBoxTGsensor);
    ComboBoxTRsensor = namedList(g, "ComboBoxTRsensor", kTempSensorItems);
    add("LabelTRsensor", "regulator temperature sensor", ComboBoxTRsensor);
    ComboBoxPresSensor = namedList(g, "ComboBoxPresSensor", kPressureSensorItems);
    add("LabelPresSensTyp", "gas pressure sensor", ComboBoxPresSensor);
    ComboBoxMAPSensType = namedList(g, "ComboBoxMAPSensType", kMapSensorItems);
    add("LabelMapType", "MAP sensor", ComboBoxMAPSensType);
    ComboBoxTurbo = namedList(g, "ComboBoxTurbo", kTurboItems);
    add("LabelTurbo", "turbo", ComboBoxTurbo);
    ComboBoxCoilType = namedList(g, "ComboBoxCoilType", kCoilItems);
    add("LabelCoilType", "rpm signal type", ComboBoxCoilType);
    ComboBoxRpmPower = namedList(g, "ComboBoxRpmPower", kRpmPowerItems);
    add("LabelRpmPower", "rpm signal level", ComboBoxRpmPower);
    // The threshold (0-24 V signal) and the power-stage box (third kind) share one place.
    auto* signalBox = new QWidget(g);
    auto* signalLayout = new QHBoxLayout(signalBox);
    signalLayout->setContentsMargins(0, 0, 0, 0);
    AbNumSpinRpmVar = namedSpin(signalBox, "AbNumSpinRpmVar", kRpmVarSpin);
    AbNumSpinRpmVar->hide();
    signalLayout->addWidget(AbNumSpinRpmVar);
    signalLayout->addWidget(EditAlter);
    add("LabelRpmVar", "rpm signal threshold [V]", signalBox);
    ComboBoxEGT = namedList(g, "ComboBoxEGT", kOffOnItems);
    add("LabelEgtEn", "EGT sensor", ComboBoxEGT);
    ComboBoxEGT_Temp = named<QComboBox>(g, "ComboBoxEGT_Temp");
    for (int i = 0; i < kEgtMaxItems; ++i)
        ComboBoxEGT_Temp->addItem(QString::fromStdString(egtMaxItem(i)));
    add("LabelEgtT", "EGT maximum", ComboBoxEGT_Temp);
    m_switchOver = new SwitchOverParameters(g);
    LabelEmulator = add("LabelEmulator", "Emulator:", m_switchOver->ComboBoxDciEn);
    LabelPower = add("LabelPower", "POWER:", m_switchOver->ComboBoxEnginePower);
    // Kept hidden: nothing shows them. Their captions still take a language's texts.
    ComboBoxRegulatorValv = namedList(g, "ComboBoxRegulatorValv", kRegulatorValveItems);
    LabelRegulatorMode = add("LabelRegulatorMode", "regulator valve mode", ComboBoxRegulatorValv);
    LabelRegulatorMode->hide();
    ComboBoxRegulatorValv->hide();
    // The heading of the EGT pair; the pair's own captions say what each row is.
    LabelEGT = namedLabel(g, "LabelEGT", QStringLiteral("EGT"));
    LabelEGT->hide();
    // Lists as wide as their common items; the long ones show whole in the open list.
    for (QComboBox* box : GroupBoxEngine->findChildren<QComboBox*>()) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(kListCharacters);
    }
    AbNumSpinWzbogacenieGlowne = namedSpin(g, "AbNumSpinWzbogacenieGlowne", kEnrichmentSpin);
    AbNumSpinWzbogacenieGlowne->hide();
    AbNumSpinOffsetGlowny = namedSpin(g, "AbNumSpinOffsetGlowny", kOffsetSpin);
    AbNumSpinOffsetGlowny->hide();
    return GroupBoxEngine;
}

void ParametersPage::buildLevelGroup() {
    GroupBoxPar3 = namedGroup(m_content, "GroupBoxPar3", QStringLiteral("level sensor"));
    auto* grid = new QGridLayout(GroupBoxPar3);
    int row = 0;
    const auto add = [&](const char* labelName, const char* text, QWidget* control) {
        grid->addWidget(namedLabel(GroupBoxPar3, labelName, QString::fromUtf8(text)), row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    };
    QWidget* g = GroupBoxPar3;
    ComboBoxLevelSensor = namedList(g, "ComboBoxLevelSensor", kLevelSensorItems);
    add("LabelLevelSensor", "sensor", ComboBoxLevelSensor);
    AbNumSpinPozE = namedSpin(g, "AbNumSpinPozE", kLevelPointSpin);
    add("LabelPozE", "E [V]", AbNumSpinPozE);
    AbNumSpinPoz14 = namedSpin(g, "AbNumSpinPoz14", kLevelPointSpin);
    add("LabelPoz14", "1/4 [V]", AbNumSpinPoz14);
    AbNumSpinPoz24 = namedSpin(g, "AbNumSpinPoz24", kLevelPointSpin);
    add("LabelPoz24", "2/4 [V]", AbNumSpinPoz24);
    AbNumSpinPoz34 = namedSpin(g, "AbNumSpinPoz34", kLevelPointSpin);
    add("LabelPoz34", "3/4 [V]", AbNumSpinPoz34);
    AbNumSpinRezRef = namedSpin(g, "AbNumSpinRezRef", kRezRefSpin);
    add("LabelRefTime", "reference time [s]", AbNumSpinRezRef);
    for (QWidget* control :
         {static_cast<QWidget*>(ComboBoxLevelSensor), static_cast<QWidget*>(AbNumSpinPozE),
          static_cast<QWidget*>(AbNumSpinPoz14), static_cast<QWidget*>(AbNumSpinPoz24),
          static_cast<QWidget*>(AbNumSpinPoz34), static_cast<QWidget*>(AbNumSpinRezRef)})
        control->setMaximumWidth(kLevelControlWidth);
    CheckBoxLevelSensorNegativ =
        named<QCheckBox>(g, "CheckBoxLevelSensorNegativ", QStringLiteral("invert sensor"));
    grid->addWidget(CheckBoxLevelSensorNegativ, row++, 0, 1, 2);
    CheckBoxWskaznikZasilany =
        named<QCheckBox>(g, "CheckBoxWskaznikZasilany", QStringLiteral("Valve powered"));
    grid->addWidget(CheckBoxWskaznikZasilany, row++, 0, 1, 2);
}

QWidget* ParametersPage::buildConverterRow() {
    auto* row = new QWidget(m_content);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    ButtonSaveEeprom = named<QPushButton>(row, "ButtonSaveEeprom",
                                          QStringLiteral("save data if 24->12V converter"));
    ProgressBarEeprom = named<QProgressBar>(row, "ProgressBarEeprom");
    ProgressBarEeprom->setRange(0, ImageTransfer::kConverterWords);
    ProgressBarEeprom->setValue(0);
    layout->addWidget(ButtonSaveEeprom);
    layout->addWidget(ProgressBarEeprom, 1);
    m_eepromProgress = ProgressBarSink(ProgressBarEeprom);
    return row;
}

void ParametersPage::attach(ControllerSession& session) {
    session.live.add(LiveStage::Display, [this](const LiveRecord& record) { showRecord(record); });
    m_session = &session;
    m_bindings = std::make_unique<PageBindings>(this, session);
    m_switchOver->attach(session);
    connectHandlers();
}

void ParametersPage::connectHandlers() {
    ParameterEditor& e = m_session->editor;
    EditGate& gate = m_session->gate;
    gate.onEdit(AbNumSpinMinPsys,
                [this, &e](double v) { AbNumSpinMinPsys->setValue(e.minPressureEdited(v)); });
    gate.onEdit(ComboBoxRegulatorVacum, [this, &e](int i) {
        if (const auto shown = e.vacuumChosen(i))
            AbNumSpinMinPsys->setValue(*shown);
    });
    gate.onEdit(AbNumSpinRpm,
                [this, &e](double v) { AbNumSpinRpm->setValue(e.switchOnRpmEdited(v)); });
    gate.onEdit(ComboBoxCoilType, [this, &e](int i) {
        if (const auto shown = e.coilTypeChosen(i, AbNumSpinRpm->value()))
            AbNumSpinRpm->setValue(*shown);
    });
    gate.onEdit(ComboBoxRpmPower, [this, &e](int i) {
        if (e.rpmSignalLevelChosen(i))
            showRpmSignalLevel(static_cast<unsigned>(i) & 3u);
    });
    gate.onEdit(ComboBoxLevelSensor, [this, &e](int i) {
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
    gate.onClick(ButtonSaveEeprom,
                 [this] { m_session->transfer.writeConverter(m_eepromProgress); });
}

void ParametersPage::showRpmSignalLevel(unsigned level) {
    const RpmSignalVisibility v = rpmSignalVisibility(level);
    AbNumSpinRpmVar->setVisible(v.thresholdShown);
    EditAlter->setVisible(v.powerStageShown);
}

void ParametersPage::refreshEnginePower() {
    m_switchOver->refreshEnginePower();
}

void ParametersPage::refreshDoubleInjectionTime() {
    m_bindings->refresh(RefreshStep::DoubleInjectionTime);
}

void ParametersPage::refreshEmulatorMode() {
    m_switchOver->refreshEmulatorMode();
}

void ParametersPage::refreshRpmSignal() {
    showRpmSignalLevel(readField(m_session->image, FieldId::RpmSignalLevel));
    m_bindings->refresh(RefreshStep::RpmSignal);
}

void ParametersPage::refreshEgtAndTurbo() {
    m_bindings->refresh(RefreshStep::EgtAndTurbo);
}

void ParametersPage::refreshSensors() {
    m_bindings->refresh(RefreshStep::Sensors);
}

void ParametersPage::refreshPressures() {
    m_bindings->refresh(RefreshStep::Pressures);
}

void ParametersPage::refreshOnTemperature() {
    m_bindings->refresh(RefreshStep::OnTemperature);
}

void ParametersPage::refreshSwitchOn() {
    m_bindings->refresh(RefreshStep::SwitchOn);
}

void ParametersPage::refreshLevelSensor() {
    m_bindings->refresh(RefreshStep::LevelSensor);
}

void ParametersPage::refreshLevelPoints() {
    m_bindings->refresh(RefreshStep::LevelPoints);
}

void ParametersPage::showRevisionGroups(const RevisionGroups& groups) {
    GroupBoxDoubleInjectionTime->setVisible(!groups.hideAdvanced);
    // The simple DNA group of the EMU page takes the emulator's place.
    LabelEmulator->setVisible(!groups.dnaSimple);
    m_switchOver->ComboBoxDciEn->setVisible(!groups.dnaSimple);
}

void ParametersPage::showRecord(const LiveRecord& record) {
    setLiveText(EditAlter, record.text(LiveSignal::PowerStage));
}

}  // namespace kaldor
