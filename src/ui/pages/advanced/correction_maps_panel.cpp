#include "ui/pages/advanced/correction_maps_panel.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <cstring>
#include <string>

#include "maps/axis_statistics.h"
#include "maps/correction_editor.h"
#include "maps/row_grid_models.h"
#include "model/codec.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/map_grid/map_grid.h"
#include "ui/pages/advanced/axis_cell_view_panel.h"
#include "ui/session.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

// Two rows each: the axis above, the percentages below.
constexpr int kCorrectionRows = 2;
constexpr int kCorrectionColumnWidth = 26;
constexpr int kRowHeight = 18;
constexpr int kAppliedWidth = 44;
enum Column { kLabel, kGrid, kEnable, kApplied, kColumns };

}  // namespace

CorrectionMapsPanel::CorrectionMapsPanel(QFrame* panel) : QObject(panel) {
    auto* maps = new QGridLayout(panel);
    maps->setContentsMargins(3, 3, 3, 3);
    maps->setSpacing(3);
    maps->setColumnStretch(kGrid, 1);
    for (std::size_t i = 0; i < correctionMaps().size(); ++i) {
        const CorrectionMapDef& map = correctionMaps()[i];
        // Each map's cell view on the line beneath it, taking no room while hidden.
        const int row = 2 * static_cast<int>(i);
        // The caption at the top of its cell and the "cells" button at the bottom, so the grid
        // keeps the width and the caption still heads the row (it names the row's controls).
        maps->addWidget(namedLabel(panel, map.label, QString::fromLatin1(map.caption)), row, kLabel,
                        Qt::AlignTop | Qt::AlignLeft);
        QTableWidget* grid = namedGrid(panel, map.grid, kCorrectionRows, map.columns, 1, 0,
                                       kCorrectionColumnWidth, kRowHeight);
        grid->setFont(smallerFont(grid->font()));
        spreadColumns(grid);
        fitHeightToRows(grid);
        maps->addWidget(grid, row, kGrid);
        m_gridWidgets[i] = grid;
        m_enables[i] = namedList(panel, map.enableCombo, kOffOnItems);
        maps->addWidget(m_enables[i], row, kEnable);
        m_applied[i] = named<QLineEdit>(panel, map.appliedField);
        m_applied[i]->setReadOnly(true);
        m_applied[i]->setText(QString::fromLatin1(kAppliedCorrectionInitial));
        m_applied[i]->setFixedWidth(kAppliedWidth);
        maps->addWidget(m_applied[i], row, kApplied);
        const std::string name = std::string(map.grid).substr(std::strlen("StringGrid"));
        m_cellViews[i] = new AxisCellViewPanel(name, map.columns, panel, panel);
        maps->addWidget(m_cellViews[i]->ButtonCells, row, kLabel, Qt::AlignBottom | Qt::AlignLeft);
        maps->addWidget(m_cellViews[i], row + 1, kLabel, 1, kColumns);
    }
    maps->setRowStretch(2 * kCorrectionMapCount, 1);
}

CorrectionMapsPanel::~CorrectionMapsPanel() = default;

void CorrectionMapsPanel::attach(ControllerSession& session, QWidget* page) {
    m_session = &session;
    m_model = std::make_unique<CorrectionMapsModel>(session.image, session.transfer,
                                                    localeDecimalPoint());
    for (std::size_t i = 0; i < m_grids.size(); ++i) {
        const int map = static_cast<int>(i);
        m_gridModels[i] = std::make_unique<CorrectionGridModel>(*m_model, map);
        m_grids[i] = std::make_unique<MapGrid>(m_gridWidgets[i], *m_gridModels[i], session.gate,
                                               session.prompts);
        m_grids[i]->setFixedCells(1, 0);
        m_cellViews[i]->attach(session, m_model->grid(map), *m_grids[i],
                               [map](const Recording& recording, const RecordingSetup& setup,
                                     std::optional<LiveSignal> signal) {
                                   return correctionStatistics(recording, setup, map, signal);
                               });
        session.gate.onEdit(m_enables[i],
                            [this, map](int item) { (void)m_model->enableChosen(map, item); });
    }
    session.live.add(LiveStage::Display, [this, page](const LiveRecord& record) {
        if (page->isVisible())
            liveUpdate(record.frame);
    });
}

void CorrectionMapsPanel::refreshEnables() {
    const PerMap<int> items = m_model->enableItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        m_enables[i]->setCurrentIndex(items[i]);
}

void CorrectionMapsPanel::refreshMaps() {
    m_model->refresh();
}

void CorrectionMapsPanel::liveUpdate(const LiveFrame& frame) {
    PerMap<int> before{};
    for (std::size_t i = 0; i < before.size(); ++i)
        before[i] = m_model->liveColumn(static_cast<int>(i));
    m_model->liveUpdate(frame);
    for (std::size_t i = 0; i < m_grids.size(); ++i) {
        const int map = static_cast<int>(i);
        setLiveText(m_applied[i], m_model->appliedText(map));
        const int now = m_model->liveColumn(map);
        if (now != before[i]) {
            m_grids[i]->repaintColumn(before[i]);
            m_grids[i]->repaintColumn(now);
        }
    }
}

}  // namespace kaldor
