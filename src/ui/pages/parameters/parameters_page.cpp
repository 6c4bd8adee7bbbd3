#include "ui/pages/parameters/parameters_page.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include "model/codec.h"
#include "model/list_items.h"
#include "ui/bindings.h"
#include "ui/pages/parameters/switch_over_parameters.h"
#include "ui/session.h"
#include "ui/setting_controls.h"
#include "ui/ui_build.h"

namespace kaldor {
namespace {

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
    GroupBoxDoubleInjectionTime = settingGroup(content, "GroupBoxDoubleInjectionTime");
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
    // A setting's caption label, or the label given for a control of no setting.
    const auto addLabel = [&](QLabel* label, QWidget* control) {
        const int row = item % kRowsPerColumn;
        const int column = 2 * (item / kRowsPerColumn);
        grid->addWidget(label, row, column);
        grid->addWidget(control, row, column + 1);
        ++item;
        return label;
    };
    QWidget* g = GroupBoxEngine;
    // A setting's control and its caption, in the next place.
    const auto add = [&](auto* control) {
        addLabel(settingLabel(g, control), control);
        return control;
    };
    ComboBoxTempOn = add(settingList(g, "ComboBoxTempOn"));
    AbNumSpinRpm = add(settingSpin(g, "AbNumSpinRpm"));
    AbNumSpinOnDelay = add(settingSpin(g, "AbNumSpinOnDelay"));
    AbNumSpinMinPsys = add(settingSpin(g, "AbNumSpinMinPsys"));
    AbNumSpinOffDelay = add(settingSpin(g, "AbNumSpinOffDelay"));
    ComboBoxRegulatorVacum = add(settingList(g, "ComboBoxRegulatorVacum"));
    ComboBoxTGsensor = add(settingList(g, "ComboBoxTGsensor"));
    ComboBoxTRsensor = add(settingList(g, "ComboBoxTRsensor"));
    ComboBoxPresSensor = add(settingList(g, "ComboBoxPresSensor"));
    ComboBoxMAPSensType = add(settingList(g, "ComboBoxMAPSensType"));
    ComboBoxTurbo = add(settingList(g, "ComboBoxTurbo"));
    ComboBoxCoilType = add(settingList(g, "ComboBoxCoilType"));
    ComboBoxRpmPower = add(settingList(g, "ComboBoxRpmPower"));
    // The threshold (0-24 V signal) and the power-stage box (third kind) share one place.
    auto* signalBox = new QWidget(g);
    auto* signalLayout = new QHBoxLayout(signalBox);
    signalLayout->setContentsMargins(0, 0, 0, 0);
    AbNumSpinRpmVar = settingSpin(signalBox, "AbNumSpinRpmVar");
    AbNumSpinRpmVar->hide();
    signalLayout->addWidget(AbNumSpinRpmVar);
    signalLayout->addWidget(EditAlter);
    addLabel(settingLabel(g, "AbNumSpinRpmVar"), signalBox);
    ComboBoxEGT = add(settingList(g, "ComboBoxEGT"));
    ComboBoxEGT_Temp = add(settingList(g, "ComboBoxEGT_Temp"));
    m_switchOver = new SwitchOverParameters(g);
    LabelEmulator = addLabel(settingLabel(g, m_switchOver->ComboBoxDciEn), m_switchOver->ComboBoxDciEn);
    LabelPower = addLabel(namedLabel(g, "LabelPower", QStringLiteral("POWER:")),
                          m_switchOver->ComboBoxEnginePower);
    // Kept hidden: nothing shows them. Their captions still take a language's texts.
    ComboBoxRegulatorValv = namedList(g, "ComboBoxRegulatorValv", kRegulatorValveItems);
    LabelRegulatorMode =
        addLabel(namedLabel(g, "LabelRegulatorMode", QStringLiteral("regulator valve mode")),
                 ComboBoxRegulatorValv);
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
    AbNumSpinWzbogacenieGlowne = settingSpin(g, "AbNumSpinWzbogacenieGlowne");
    AbNumSpinWzbogacenieGlowne->hide();
    AbNumSpinOffsetGlowny = settingSpin(g, "AbNumSpinOffsetGlowny");
    AbNumSpinOffsetGlowny->hide();
    return GroupBoxEngine;
}

void ParametersPage::buildLevelGroup() {
    GroupBoxPar3 = settingGroup(m_content, "GroupBoxPar3");
    auto* grid = new QGridLayout(GroupBoxPar3);
    int row = 0;
    QWidget* g = GroupBoxPar3;
    // A setting's caption and its control, in the next row.
    const auto add = [&](auto* control) {
        grid->addWidget(settingLabel(g, control), row, 0);
        grid->addWidget(control, row, 1);
        ++row;
        return control;
    };
    ComboBoxLevelSensor = add(settingList(g, "ComboBoxLevelSensor"));
    AbNumSpinPozE = add(settingSpin(g, "AbNumSpinPozE"));
    AbNumSpinPoz14 = add(settingSpin(g, "AbNumSpinPoz14"));
    AbNumSpinPoz24 = add(settingSpin(g, "AbNumSpinPoz24"));
    AbNumSpinPoz34 = add(settingSpin(g, "AbNumSpinPoz34"));
    AbNumSpinRezRef = add(settingSpin(g, "AbNumSpinRezRef"));
    for (QWidget* control :
         {static_cast<QWidget*>(ComboBoxLevelSensor), static_cast<QWidget*>(AbNumSpinPozE),
          static_cast<QWidget*>(AbNumSpinPoz14), static_cast<QWidget*>(AbNumSpinPoz24),
          static_cast<QWidget*>(AbNumSpinPoz34), static_cast<QWidget*>(AbNumSpinRezRef)})
        control->setMaximumWidth(kLevelControlWidth);
    CheckBoxLevelSensorNegativ = settingTick(g, "CheckBoxLevelSensorNegativ");
    grid->addWidget(CheckBoxLevelSensorNegativ, row++, 0, 1, 2);
    CheckBoxWskaznikZasilany = settingTick(g, "CheckBoxWskaznikZasilany");
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
