#include "ui/pages/storage/storage_page.h"

#include "maps/main_map_editor.h"
#include "maps/row_grid_models.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/map_grid/map_grid.h"
#include "ui/session.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

// In CalibrationGrid order.
constexpr QTableWidget* StoragePage::*kGrids[kCalibrationGridCount] = {
    &StoragePage::StringGridBenz,
    &StoragePage::StringGridGaz,
    &StoragePage::StringGrid3dKor,
    &StoragePage::StringGridKorektuj,
};

struct HiddenButton {
    QPushButton* StoragePage::*member;
    const char* name;
    const char* caption;
};

constexpr HiddenButton kButtons[] = {
    {&StoragePage::Button19, "Button19", "Delete Diesel"},
    {&StoragePage::Button18, "Button18", "Delete Gaz"},
    {&StoragePage::Button20, "Button20", "Odswiez"},
    {&StoragePage::ButtonNaniesPunkty, "ButtonNaniesPunkty", "Nanies Punkty"},
};

}  // namespace

StoragePage::StoragePage(QWidget* parent) : QWidget(parent), m_tables(localeDecimalPoint()) {
    setObjectName(QStringLiteral("TabSheet11"));
    for (std::size_t i = 0; i < kCalibrationGridNames.size(); ++i) {
        QTableWidget* grid = namedGrid(this, kCalibrationGridNames[i], kRows, kColumns, 1, 1);
        grid->hide();
        this->*kGrids[i] = grid;
    }
    for (const HiddenButton& entry : kButtons) {
        auto* button = named<QPushButton>(this, entry.name);
        button->setText(QString::fromLatin1(entry.caption));
        button->hide();
        this->*entry.member = button;
    }
}

StoragePage::~StoragePage() = default;

void StoragePage::attach(ControllerSession& session, const MainMapEditor& mainMap) {
    m_session = &session;
    m_mainMap = &mainMap;
    for (std::size_t i = 0; i < m_grids.size(); ++i) {
        m_models[i] = std::make_unique<CalibrationGridModel>(
            m_tables, static_cast<CalibrationGrid>(i), mainMap.operatingPoint(), session.frame);
        m_grids[i] = std::make_unique<MapGrid>(this->*kGrids[i], *m_models[i], session.gate,
                                               session.prompts);
    }
    session.gate.onClick(Button19, [&session] { deleteDieselData(session.commands); });
    session.gate.onClick(Button18, [&session] { deleteGasData(session.commands); });
    session.gate.onClick(Button20, [this] { m_tables.clearPercentages(); });
    session.gate.onClick(ButtonNaniesPunkty, [this] { ButtonNaniesPunktyClick(); });
    session.live.add(LiveStage::Calibration, [this](const LiveRecord&) { updateTables(); });
}

void StoragePage::ButtonNaniesPunktyClick() {
    m_tables.setHeadings(m_mainMap->grid());
}

void StoragePage::updateTables() {
    m_tables.update(m_session->block);
    // The changed texts repaint their own cells; the highlight follows the operating point.
    for (const std::unique_ptr<MapGrid>& grid : m_grids)
        if (grid->isShown())
            grid->repaintAll();
}

}  // namespace kaldor
