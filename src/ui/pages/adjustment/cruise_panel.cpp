#include "ui/pages/adjustment/cruise_panel.h"
#include "ui/setting_controls.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "maps/cruise_settings.h"
#include "maps/row_grid_models.h"
#include "model/list_items.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/map_grid/map_grid.h"
#include "ui/session.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

constexpr int kListCharacters = 12;
// The least width of the two "SET" buttons; a longer text widens them.
constexpr int kSetButtonWidth = 40;

}  // namespace

CruisePanel::CruisePanel(QTableWidget* grid, const std::array<QPushButton*, 4>& steps,
                         QFrame* panel, QGridLayout* rows)
    : QObject(panel), m_gridWidget(grid), m_steps(steps) {
    LabelCutOff = settingLabel(panel, "ComboBoxTpsCutOff");
    ComboBoxTpsCutOff = settingList(panel, "ComboBoxTpsCutOff");
    ButtonSetTps =
        named<FittedButton>(panel, "ButtonSetTps", QStringLiteral("SET"), kSetButtonWidth);
    LabelTempomat = settingLabel(panel, "ComboBoxCruise");
    ComboBoxCruise = settingList(panel, "ComboBoxCruise");
    ButtonTempomat =
        named<FittedButton>(panel, "ButtonTempomat", QStringLiteral("SET"), kSetButtonWidth);
    // The lists as wide as their short items, the long ones show whole in the open list: the
    // panel then fits the window's smallest width.
    for (QComboBox* box : {ComboBoxTpsCutOff, ComboBoxCruise}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(kListCharacters);
    }
    // The cut-off and the cruise control one above the other, so a language's longer captions
    // still fit the window's least width.
    const std::array<std::array<QWidget*, 3>, 2> lines{{
        {LabelCutOff, ComboBoxTpsCutOff, ButtonSetTps},
        {LabelTempomat, ComboBoxCruise, ButtonTempomat},
    }};
    for (int line = 0; line < 2; ++line) {
        for (int column = 0; column < 3; ++column)
            rows->addWidget(lines[line][column], line, column);
    }
    for (QPushButton* button : m_steps)
        // The grid keeps the keyboard, so the plus and minus keys go on working after a click.
        button->setFocusPolicy(Qt::NoFocus);
}

CruisePanel::~CruisePanel() = default;

void CruisePanel::attach(ControllerSession& session) {
    m_session = &session;
    m_model =
        std::make_unique<CruiseMapModel>(session.image, session.transfer, localeDecimalPoint());
    m_gridModel = std::make_unique<CruiseGridModel>(*m_model, session.frame);
    m_grid = std::make_unique<MapGrid>(m_gridWidget, *m_gridModel, session.gate, session.prompts);
    m_grid->setFixedCells(1, 0);
    for (std::size_t i = 0; i < m_steps.size(); ++i)
        m_grid->addStepButton(m_steps[i], kCruiseButtonSteps[i]);
    session.gate.onClick(ButtonTempomat, [this] { ButtonTempomatClick(); });
    session.gate.onClick(ButtonSetTps, [this] { ButtonSetTpsClick(); });
}

void CruisePanel::refreshHeading() {
    m_model->refreshHeading(m_session->state.softwareRevision);
}

void CruisePanel::refreshMap() {
    m_model->refresh();
}

void CruisePanel::updateLiveColumn(const LiveFrame& frame) {
    if (!m_grid->isShown())
        return;
    const int before = m_model->liveColumn();
    m_model->updateLiveColumn(frame, m_session->state.softwareRevision);
    // The live column repaints even in place: cruise control may have begun or ended.
    if (before != m_model->liveColumn())
        m_grid->repaintColumn(before);
    m_grid->repaintColumn(m_model->liveColumn());
}

void CruisePanel::ButtonTempomatClick() {
    (void)cruiseDefaultsChosen(m_session->image, m_session->transfer);
    emit fieldsStored(RefreshStep::CruiseSettings);
}

void CruisePanel::ButtonSetTpsClick() {
    (void)learnCutOffLevel(m_session->image, m_session->transfer, m_session->prompts,
                           m_session->frame, localeDecimalPoint());
    emit fieldsStored(RefreshStep::CutOff);
}

}  // namespace kaldor
