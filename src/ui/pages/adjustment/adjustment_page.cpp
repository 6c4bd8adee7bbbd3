#include "ui/pages/adjustment/adjustment_page.h"

#include "maps/axis_statistics.h"
#include "maps/cruise_editor.h"
#include "ui/bindings.h"
#include "ui/pages/adjustment/cruise_panel.h"
#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/pages/advanced/axis_cell_view_panel.h"
#include "ui/session.h"
#include "ui/setting_controls.h"
#include "ui/ui_build.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kaldor {

namespace {

struct StepButton {
    const char* name;
    const char* caption;
};

constexpr StepButton kCruiseStepButtons[] = {
    {"ButtonTempoP5", "+5"},
    {"ButtonTempoP1", "+1"},
    {"ButtonTempoM1", "-1"},
    {"ButtonTempoM5", "-5"},
};

constexpr int kCruiseColumnWidth = 21;
constexpr int kCruiseRowHeight = 17;
constexpr int kMainMapColumnWidth = 60;

}  // namespace

AdjustmentPage::AdjustmentPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet3"));

    PanelAdj = namedPanel(this, "PanelAdj");
    StringGridMapaTempomatu =
        namedGrid(PanelAdj, "StringGridMapaTempomatu", kCruiseMapRows, kCruiseMapColumns, 1, 0,
                  kCruiseColumnWidth, kCruiseRowHeight);
    StringGridMapaTempomatu->setFont(smallerFont(StringGridMapaTempomatu->font()));
    spreadColumns(StringGridMapaTempomatu);
    fitHeightToRows(StringGridMapaTempomatu);
    StringGridMapaTempomatu->hide();

    LabelCisnieniePracy = settingLabel(PanelAdj, "AbNumSpinCisnieniePracy");
    AbNumSpinCisnieniePracy = settingSpin(PanelAdj, "AbNumSpinCisnieniePracy");
    auto* workPressure = new QVBoxLayout;
    workPressure->setSpacing(1);
    workPressure->addWidget(LabelCisnieniePracy);
    workPressure->addWidget(AbNumSpinCisnieniePracy);
    workPressure->addStretch(1);

    auto* adj = new QHBoxLayout(PanelAdj);
    adj->setContentsMargins(3, 3, 3, 3);
    adj->addLayout(workPressure);
    adj->addWidget(StringGridMapaTempomatu, 1);
    // Two by two beside the map, so the map keeps the width.
    auto* stepGrid = new QGridLayout;
    stepGrid->setSpacing(1);
    QPushButton** const steps[] = {&ButtonTempoP5, &ButtonTempoP1, &ButtonTempoM1, &ButtonTempoM5};
    for (int i = 0; i < static_cast<int>(std::size(steps)); ++i) {
        auto* button = named<QPushButton>(PanelAdj, kCruiseStepButtons[i].name);
        button->setText(QString::fromLatin1(kCruiseStepButtons[i].caption));
        button->setFixedSize(30, 20);
        button->hide();
        stepGrid->addWidget(button, i / 2, i % 2);
        *steps[i] = button;
    }
    adj->addLayout(stepGrid);
    m_cruiseCells = new AxisCellViewPanel("MapaTempomatu", kCruiseMapColumns, PanelAdj, this);
    m_cruiseCells->ButtonCells->hide();
    auto* cells = new QVBoxLayout;
    cells->addWidget(m_cruiseCells->ButtonCells);
    cells->addStretch(1);
    adj->addLayout(cells);

    PanelTpsCrus = namedPanel(this, "PanelTpsCrus");
    AbLEDCutOff = named<AbLED>(PanelTpsCrus, "AbLEDCutOff");
    AbLEDCutOff->setCaption(QStringLiteral("cut-off"));
    AbLEDCruise = named<AbLED>(PanelTpsCrus, "AbLEDCruise");
    AbLEDCruise->setCaption(QStringLiteral("cruise"));
    auto* tpsCrus = new QGridLayout(PanelTpsCrus);
    tpsCrus->setContentsMargins(3, 3, 3, 3);
    tpsCrus->setVerticalSpacing(2);
    m_cruise = new CruisePanel(StringGridMapaTempomatu,
                               {ButtonTempoP5, ButtonTempoP1, ButtonTempoM1, ButtonTempoM5},
                               PanelTpsCrus, tpsCrus);
    connect(m_cruise, &CruisePanel::fieldsStored, this, &AdjustmentPage::fieldsStored);
    // Each line's lamp at its end; as high as its caption needs, so the lamp leaves the
    // caption its width.
    tpsCrus->setColumnStretch(3, 1);
    for (AbLED* led : {AbLEDCutOff, AbLEDCruise})
        led->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    tpsCrus->addWidget(AbLEDCutOff, 0, 4);
    tpsCrus->addWidget(AbLEDCruise, 1, 4);
    PanelTpsCrus->hide();

    StringGridMapa =
        namedGrid(this, "StringGridMapa", kMainMapRows, kMainMapColumns, 1, 1, kMainMapColumnWidth);

    PanelMapAdj = namedPanel(this, "PanelMapAdj");
    m_mainMap = std::make_unique<MainMapPanel>(StringGridMapa, PanelMapAdj);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(3);
    page->addWidget(PanelAdj);
    page->addWidget(m_cruiseCells);
    page->addWidget(PanelTpsCrus);
    page->addWidget(StringGridMapa, 1);
    page->addWidget(PanelMapAdj);
}

AdjustmentPage::~AdjustmentPage() = default;

std::array<QWidget*, 7> AdjustmentPage::cruiseControls() const {
    return {PanelTpsCrus,  StringGridMapaTempomatu,   ButtonTempoP5, ButtonTempoP1, ButtonTempoM1,
            ButtonTempoM5, m_cruiseCells->ButtonCells};
}

void AdjustmentPage::showAdvancedControls() {
    for (QWidget* widget : cruiseControls())
        widget->show();
}

void AdjustmentPage::attach(ControllerSession& session) {
    session.live.add(LiveStage::Display, [this](const LiveRecord& record) { showRecord(record); });
    m_session = &session;
    m_bindings = std::make_unique<PageBindings>(this, session);
    m_mainMap->attach(session);
    m_cruise->attach(session);
    m_cruiseCells->attach(session, m_cruise->model().grid(), m_cruise->grid(),
                          [](const Recording& recording, const RecordingSetup& setup,
                             std::optional<LiveSignal> signal) {
                              return cruiseStatistics(recording, setup, signal);
                          });
    // Right after the main map's operating point.
    session.live.add(LiveStage::Display, [this](const LiveRecord& record) {
        m_cruise->updateLiveColumn(record.frame);
    });
}

void AdjustmentPage::showFields(RefreshStep step) {
    const EditGate::Hold hold(m_session->gate);
    m_bindings->refresh(step);
}

void AdjustmentPage::showRevisionGroups(const RevisionGroups& groups) {
    // Below software revision 3 the cruise and cut-off controls are hidden, from 3 on shown.
    for (QWidget* widget : cruiseControls())
        widget->setVisible(groups.cruiseShown);
    // The view of a hidden map goes with it.
    if (!groups.cruiseShown)
        m_cruiseCells->ButtonCells->setChecked(false);
}

void AdjustmentPage::refreshCruiseHeading() {
    m_cruise->refreshHeading();
}

void AdjustmentPage::refreshCruiseMap() {
    m_cruise->refreshMap();
}

void AdjustmentPage::refreshWorkPressure() {
    m_bindings->refresh(RefreshStep::WorkingPressure);
}

void AdjustmentPage::ShowMainMap() {
    m_mainMap->ShowMainMap();
}

void AdjustmentPage::showRecord(const LiveRecord& record) {
    AbLEDCutOff->setStatus(record.on(LiveSignal::CutOffActive) ? 1 : 0);
    AbLEDCruise->setStatus(record.on(LiveSignal::CruiseActive) ? 1 : 0);
}

}  // namespace kaldor
