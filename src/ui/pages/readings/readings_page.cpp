#include "ui/pages/readings/readings_page.h"

#include "live/live_signals.h"
#include "model/revision_rules.h"
#include "ui/live_gauges.h"
#include "ui/pages/readings/scope_view.h"
#include "ui/session.h"
#include "ui/ui_build.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kaldor {

namespace {

struct ColourButton {
    const char* name;
    const char* caption;
};

constexpr ColourButton kColourButtons[] = {
    {"Button2", "C1"},    {"Button3", "C2"},           {"Button4", "C3"}, {"Button5", "C4"},
    {"Button6", "C5"},    {"Button7", "B4"},           {"Button8", "B5"}, {"Button9", "CTx1"},
    {"Button10", "CTx2"}, {"ButtonFormColor", "Form"},
};
static_assert(std::size(kColourButtons) ==
              std::tuple_size_v<decltype(ReadingsPage::colourButtons)>);

}  // namespace

ReadingsPage::ReadingsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));

    auto* dashboard = new QHBoxLayout;
    dashboard->setSpacing(6);
    // The bars take the larger share: their captions are words, and a language may lengthen
    // them; the round meters keep their readings at any size.
    dashboard->addLayout(buildMeters(), 2);
    dashboard->addLayout(buildBars(), 5);
    dashboard->addLayout(buildLamps(), 0);

    LabelWTG = named<LiveLabel>(this, "LabelWTG");
    LabelWTD = named<LiveLabel>(this, "LabelWTD");
    auto* workTimes = new QHBoxLayout;
    workTimes->addWidget(LabelWTD, 1);
    workTimes->addWidget(LabelWTG, 1);

    buildHiddenControls();

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(4);
    page->addLayout(dashboard, 3);
    page->addLayout(workTimes);
    page->addWidget(buildOscilloscope(), 2);
}

ReadingsPage::~ReadingsPage() = default;

QLayout* ReadingsPage::buildMeters() {
    Ab270MeterRPM = m_gauges.meter<Ab270Meter>(this, "Ab270MeterRPM");
    Ab180MeterDIFP = m_gauges.meter<Ab180Meter>(this, "Ab180MeterDIFP");
    Ab180MeterDIFP->setCaption(QStringLiteral("DIFF. PRESSURE [BAR]"));
    auto* column = new QVBoxLayout;
    column->addWidget(Ab270MeterRPM, 3);
    column->addWidget(Ab180MeterDIFP, 2);
    return column;
}

QLayout* ReadingsPage::buildBars() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);

    struct Column {
        QLabel** label;
        const char* labelName;
        const char* labelText;
        AbBar** bar;
        const char* barName;
    };
    const Column columns[] = {
        {&LabelOdLambda, "LabelOdLambda", "AIR FLOW", &AbBarLambda, "AbBarLambda"},
        {&LabelTPS, "LabelTPS", "TPS", &AbBarTPS, "AbBarTPS"},
        {&LabelCommonRail, "LabelCommonRail", "RAIL", &AbBarRail, "AbBarRail"},
        {&LabelOdTg, "LabelOdTg", "T.gas", &AbBarOdTg, "AbBarOdTg"},
        {&LabelOdTR, "LabelOdTR", "T.reg.", &AbBarOdTR, "AbBarOdTR"},
        {&LabelOdLevel, "LabelOdLevel", "LEVEL", &AbBarOdRez, "AbBarOdRez"},
        {&LabelStep, "LabelStep", "STEP", &AbBarStep, "AbBarStep"},
    };
    // The two temperature columns share a heading above their own labels.
    constexpr int kFirstTemperatureColumn = 3;
    LabelOdT = namedLabel(this, "LabelOdT", QStringLiteral("TEMPERATURE"));
    LabelOdT->setAlignment(Qt::AlignCenter);
    grid->addWidget(LabelOdT, 0, kFirstTemperatureColumn, 1, 2);

    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        const Column& column = columns[i];
        *column.label = namedLabel(this, column.labelName, QString::fromLatin1(column.labelText));
        (*column.label)->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        // The columns share the width equally; a long caption wraps instead of widening its
        // column.
        (*column.label)->setWordWrap(true);
        QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        (*column.label)->setSizePolicy(policy);
        *column.bar = m_gauges.bar(this, column.barName);
        grid->addWidget(*column.label, 1, i);
        grid->addWidget(*column.bar, 2, i);
        grid->setColumnStretch(i, 1);
    }
    grid->setRowStretch(2, 1);
    return grid;
}

QLayout* ReadingsPage::buildLamps() {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);

    // The full tank on top, as the lamps read on a gauge.
    AbLEDOdPoz4 = m_gauges.lamp(this, "AbLEDOdPoz4", QStringLiteral("4/4"));
    AbLEDOdPoz3 = m_gauges.lamp(this, "AbLEDOdPoz3", QStringLiteral("3/4"));
    AbLEDOdPoz2 = m_gauges.lamp(this, "AbLEDOdPoz2", QStringLiteral("2/4"));
    AbLEDOdPoz1 = m_gauges.lamp(this, "AbLEDOdPoz1", QStringLiteral("1/4"));
    AbLEDOdPoz0 = m_gauges.lamp(this, "AbLEDOdPoz0", QStringLiteral("reserve"));
    AbLEDOdPoz0->setColor(QColor(240, 170, 30));
    for (AbLED* led : {AbLEDOdPoz4, AbLEDOdPoz3, AbLEDOdPoz2, AbLEDOdPoz1, AbLEDOdPoz0}) {
        column->addWidget(led);
    }
    column->addSpacing(8);

    AbLEDRed = m_gauges.lamp(this, "AbLEDRed", QStringLiteral("Regulator Valve"));
    AbLEDEzaw = m_gauges.lamp(this, "AbLEDEzaw", QStringLiteral("Tank + Filter Valve"));
    AbLEDdies = m_gauges.lamp(this, "AbLEDdies", QStringLiteral("Diesel ECO Valve"));
    AbLEDStac = m_gauges.lamp(this, "AbLEDStac", QStringLiteral("ignition"));
    for (AbLED* led : {AbLEDRed, AbLEDEzaw, AbLEDdies, AbLEDStac}) {
        column->addWidget(led);
    }
    // The gauges beside take the spare width; the lamps keep their captions whole.
    for (AbLED* led : {AbLEDOdPoz4, AbLEDOdPoz3, AbLEDOdPoz2, AbLEDOdPoz1, AbLEDOdPoz0, AbLEDRed,
                       AbLEDEzaw, AbLEDdies, AbLEDStac}) {
        led->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    }
    column->addStretch(1);

    EditAkum = named<QLineEdit>(this, "EditAkum");
    EditAkum->setReadOnly(true);
    // The battery voltage changes with live records: it fills its own background, so its
    // repaint does not reach the page beneath it.
    EditAkum->setAutoFillBackground(true);
    EditAkum->setMaximumWidth(90);
    EditAkum->setToolTip(QStringLiteral("battery"));
    column->addWidget(EditAkum);

    ButtonSetPin = named<QPushButton>(this, "ButtonSetPin");
    ButtonSetPin->setText(QStringLiteral("SET PIN"));
    ButtonSetPin->hide();
    column->addWidget(ButtonSetPin);
    return column;
}

QFrame* ReadingsPage::buildOscilloscope() {
    PanelOsc = namedPanel(this, "PanelOsc", QFrame::Sunken);
    PaintBoxScope = named<ScopeBox>(PanelOsc, "PaintBoxScope");
    PaintBoxScope->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    PaintBoxScope->setMinimumSize(120, 60);

    auto* selectors = new QVBoxLayout;
    selectors->setSpacing(2);
    QComboBox** const combos[] = {&ComboBoxScopType, &ComboBoxScopeTypeRed, &ComboBoxScopeTypeGreen,
                                  &ComboBoxScopeTypeBlue};
    const char* const names[] = {"ComboBoxScopType", "ComboBoxScopeTypeRed",
                                 "ComboBoxScopeTypeGreen", "ComboBoxScopeTypeBlue"};
    for (std::size_t i = 0; i < std::size(combos); ++i) {
        *combos[i] = named<QComboBox>(PanelOsc, names[i]);
        (*combos[i])->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        (*combos[i])->setMinimumContentsLength(10);
        selectors->addWidget(*combos[i]);
    }
    selectors->addStretch(1);
    m_scope = std::make_unique<Oscilloscope>(
        this, PaintBoxScope,
        Oscilloscope::Selectors{ComboBoxScopType, ComboBoxScopeTypeRed, ComboBoxScopeTypeBlue,
                                ComboBoxScopeTypeGreen});

    auto* row = new QHBoxLayout(PanelOsc);
    row->setContentsMargins(3, 3, 3, 3);
    row->addWidget(PaintBoxScope, 1);
    row->addLayout(selectors);
    return PanelOsc;
}

void ReadingsPage::buildHiddenControls() {
    EditDieselL = named<QLineEdit>(this, "EditDieselL");
    EditGazL = named<QLineEdit>(this, "EditGazL");
    EditDieselL->hide();
    EditGazL->hide();
    for (std::size_t i = 0; i < colourButtons.size(); ++i) {
        auto* button = named<QPushButton>(this, kColourButtons[i].name);
        button->setText(QString::fromLatin1(kColourButtons[i].caption));
        button->hide();
        colourButtons[i] = button;
    }
}

void ReadingsPage::showRecord(const LiveRecord& record) {
    using S = LiveSignal;
    const LiveSignalDef& supply = liveSignalDef(S::SupplyVoltage);
    setLiveText(EditAkum, record.text(S::SupplyVoltage) + supply.unit);
    const WorkTimeShares shares = workTimeShares(record.frame, *m_texts);
    setLiveText(LabelWTG, shares.propaneText);
    setLiveText(LabelWTD, shares.dieselText);
    m_consumption.update(record.frame);
    setLiveText(EditDieselL, m_consumption.dieselText());
    setLiveText(EditGazL, m_consumption.propaneText());
    m_gauges.show(record);
}

void ReadingsPage::refreshSetPinButton() {
    const bool offered = m_session != nullptr &&
                         setPinOffered(m_session->state.softwareRevision, m_session->pinAccepted);
    ButtonSetPin->setVisible(offered);
}

void ReadingsPage::attach(ControllerSession& session) {
    m_session = &session;
    m_texts = &session.texts;
    session.live.add(LiveStage::Display, [this](const LiveRecord& record) { showRecord(record); });
    m_scope->attach(session);
}

}  // namespace kaldor
