#pragma once
// The main map's cell view: the grid of the main map with each used cell showing the chosen
// statistic of a recording beside the cell's map value ("45 | 12.3"), coloured by that
// statistic (white for none, ever deeper orange to red towards the largest). It shows, it does
// not edit: the user selects cells here and edits them in the map's own grid.
#include <optional>
#include <string>

#include "maps/axis_statistics.h"
#include "maps/cell_statistics.h"
#include "maps/grid_texts.h"
#include "maps/map_grid_model.h"

namespace kaldor {

enum class CellStatistic { Seconds, Mean, Maximum };

// The statistic of one cell; nothing for a cell without records (or without the signal).
[[nodiscard]] std::optional<double> cellStatistic(const CellStatistics& cell,
                                                  CellStatistic statistic);
[[nodiscard]] std::optional<double> cellStatistic(const CellTable& table, int column, int row,
                                                  CellStatistic statistic);
// The fill of a cell holding `value` where the table's values lie within [low, high].
[[nodiscard]] Rgb cellStatisticColour(double value, double low, double high);

class CellViewModel final : public MapGridModel {
public:
    // `map` holds the main map's texts as its grid shows them (headings and cell values).
    explicit CellViewModel(const GridTexts& map) : m_map(map) {}

    // A new table or statistic: every text made again. No table: the map's texts alone.
    void show(const std::optional<CellTable>& table, CellStatistic statistic);
    // The map's texts changed (an edit, a refresh): the cell texts made again.
    void mapChanged() { rebuild(); }

    [[nodiscard]] GridTexts& texts() override { return m_texts; }
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool selected) const override;
    [[nodiscard]] std::optional<int> keyStep(int, bool) const override { return std::nullopt; }
    MapEditOutcome stepSelection(GridRect, int) override { return {}; }

    // The statistic's range over the used cells (0, 0 when none).
    [[nodiscard]] double low() const { return m_low; }
    [[nodiscard]] double high() const { return m_high; }

private:
    void rebuild();

    const GridTexts& m_map;
    GridTexts m_texts{kMainMapGridColumns, kMainMapGridRows};
    std::optional<CellTable> m_table;
    CellStatistic m_statistic = CellStatistic::Seconds;
    double m_low = 0;
    double m_high = 0;
};

// The cell view of a one-row map (a correction map, the cruise map): the map's axis in row 0 and
// its values in row 1 as its grid shows them, the chosen statistic of each column in row 2; both
// lower rows coloured by the statistic. It shows, it does not edit.
class AxisCellViewModel final : public MapGridModel {
public:
    inline static constexpr int kRows = 3;
    inline static constexpr int kStatisticRow = 2;

    // `map` holds the map's texts as its grid shows them (axis in row 0, values in row 1).
    explicit AxisCellViewModel(const GridTexts& map) : m_map(map), m_texts(map.columns(), kRows) {}

    void show(const std::optional<AxisTable>& table, CellStatistic statistic);
    void mapChanged() { rebuild(); }

    [[nodiscard]] GridTexts& texts() override { return m_texts; }
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool selected) const override;
    [[nodiscard]] std::optional<int> keyStep(int, bool) const override { return std::nullopt; }
    MapEditOutcome stepSelection(GridRect, int) override { return {}; }

    [[nodiscard]] const std::optional<AxisTable>& table() const { return m_table; }

private:
    void rebuild();
    [[nodiscard]] std::optional<double> statisticAt(int column) const;

    const GridTexts& m_map;
    GridTexts m_texts;
    std::optional<AxisTable> m_table;
    CellStatistic m_statistic = CellStatistic::Seconds;
    double m_low = 0;
    double m_high = 0;
};

}  // namespace kaldor
