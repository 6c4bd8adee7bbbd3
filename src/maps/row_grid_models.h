#pragma once
// The one-row maps and the calibration tables as the grid editor sees them: each grid of the
// correction maps, the cruise map and the four working grids gets a MapGridModel that hands the
// grid's questions to the core model holding its texts and doing its edits.
#include "live/live_frame.h"
#include "maps/calibration_tables.h"
#include "maps/correction_editor.h"
#include "maps/cruise_editor.h"
#include "maps/main_map.h"
#include "maps/map_grid_model.h"

namespace kaldor {

// Any key released on a one-row map edits the selection: plus and minus step it, every other key
// stores and sends it again unchanged (so the editor never lets a key pass without an edit).
[[nodiscard]] inline std::optional<int> rowMapKeyStep(int key, bool shift) {
    return mainMapKeyStep(key, shift).value_or(0);
}

// StringGridMapa... of one correction map (map: the index in correctionMaps()).
class CorrectionGridModel final : public MapGridModel {
public:
    CorrectionGridModel(CorrectionMapsModel& maps, int map) : m_maps(maps), m_map(map) {}

    [[nodiscard]] GridTexts& texts() override { return m_maps.grid(m_map); }
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool) const override {
        return m_maps.cellLook(m_map, column, row);
    }
    [[nodiscard]] std::optional<int> keyStep(int key, bool shift) const override {
        return rowMapKeyStep(key, shift);
    }
    MapEditOutcome stepSelection(GridRect selection, int step) override {
        return m_maps.stepSelection(m_map, selection, step);
    }
    [[nodiscard]] std::optional<GridEdit> toolCells() const override {
        return m_maps.toolCells(m_map);
    }
    MapEditOutcome writeCells(const std::vector<CellValue>& cells) override {
        return m_maps.writeCells(m_map, cells);
    }

private:
    CorrectionMapsModel& m_maps;
    int m_map;
};

// StringGridMapaTempomatu; `frame` is the last live record (cruise active paints green).
class CruiseGridModel final : public MapGridModel {
public:
    CruiseGridModel(CruiseMapModel& map, const LiveFrame& frame) : m_map(map), m_frame(frame) {}

    [[nodiscard]] GridTexts& texts() override { return m_map.grid(); }
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool selected) const override {
        return m_map.cellLook(column, row, selected, m_frame);
    }
    [[nodiscard]] std::optional<int> keyStep(int key, bool shift) const override {
        return rowMapKeyStep(key, shift);
    }
    MapEditOutcome stepSelection(GridRect selection, int step) override {
        return m_map.stepSelection(selection, step);
    }
    [[nodiscard]] std::optional<GridEdit> toolCells() const override { return m_map.toolCells(); }
    MapEditOutcome writeCells(const std::vector<CellValue>& cells) override {
        return m_map.writeCells(cells);
    }

private:
    CruiseMapModel& m_map;
    const LiveFrame& m_frame;
};

// One of the four working grids: shown only, never edited.
class CalibrationGridModel final : public MapGridModel {
public:
    CalibrationGridModel(CalibrationTables& tables, CalibrationGrid grid,
                         const MapOperatingPoint& point, const LiveFrame& frame)
        : m_tables(tables), m_grid(grid), m_point(point), m_frame(frame) {}

    [[nodiscard]] GridTexts& texts() override { return m_tables.grid(m_grid); }
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool selected) const override {
        return m_tables.cellLook(m_grid, column, row, selected, m_point, m_frame);
    }
    [[nodiscard]] std::optional<int> keyStep(int, bool) const override { return std::nullopt; }
    MapEditOutcome stepSelection(GridRect, int) override { return {}; }

private:
    CalibrationTables& m_tables;
    CalibrationGrid m_grid;
    const MapOperatingPoint& m_point;
    const LiveFrame& m_frame;
};

}  // namespace kaldor
