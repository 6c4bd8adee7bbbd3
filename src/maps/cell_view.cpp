#include "maps/cell_view.h"

#include <algorithm>

#include "model/fixed_text.h"

namespace kaldor {

std::optional<double> cellStatistic(const CellTable& table, int column, int row,
                                    CellStatistic statistic) {
    return cellStatistic(table.cell(column, row), statistic);
}

std::optional<double> cellStatistic(const CellStatistics& cell, CellStatistic statistic) {
    if (cell.records == 0)
        return std::nullopt;
    if (statistic == CellStatistic::Seconds)
        return cell.seconds();
    if (cell.signal.count == 0)
        return std::nullopt;
    return statistic == CellStatistic::Mean ? cell.signal.mean() : cell.signal.maximum;
}

Rgb cellStatisticColour(double value, double low, double high) {
    const double share = high > low ? std::clamp((value - low) / (high - low), 0.0, 1.0) : 1.0;
    // From a pale yellow through orange to red: readable with black text throughout.
    const auto green = static_cast<std::uint8_t>(240 - 170 * share);
    const auto blue = static_cast<std::uint8_t>(170 - 150 * share);
    return Rgb{255, green, blue};
}

void CellViewModel::show(const std::optional<CellTable>& table, CellStatistic statistic) {
    m_table = table;
    m_statistic = statistic;
    rebuild();
}

void CellViewModel::rebuild() {
    m_low = 0;
    m_high = 0;
    bool first = true;
    if (m_table)
        for (int r = 0; r < kMainMapRows; ++r)
            for (int c = 0; c < kMainMapColumns; ++c)
                if (const auto v = cellStatistic(*m_table, c, r, m_statistic)) {
                    m_low = first ? *v : std::min(m_low, *v);
                    m_high = first ? *v : std::max(m_high, *v);
                    first = false;
                }
    int decimals = 1;
    if (m_statistic != CellStatistic::Seconds && m_table && m_table->signal())
        decimals = liveSignalDef(*m_table->signal()).decimals;
    for (int r = 0; r < kMainMapGridRows; ++r)
        for (int c = 0; c < kMainMapGridColumns; ++c) {
            std::string text = m_map.text(c, r);
            if (isMainMapCell(c, r) && m_table)
                if (const auto v = cellStatistic(*m_table, c - 1, r - 1, m_statistic))
                    text += " | " + fixedText(*v, decimals);
            m_texts.setText(c, r, std::move(text));
        }
}

MapCellLook CellViewModel::cellLook(int column, int row, bool selected) const {
    MapCellLook look;
    look.text = m_texts.text(column, row);
    if (!isMainMapCell(column, row))
        return look;
    look.drawText = true;
    if (selected)
        return look;
    if (m_table)
        if (const auto v = cellStatistic(*m_table, column - 1, row - 1, m_statistic))
            look.fill = cellStatisticColour(*v, m_low, m_high);
    if (!look.fill)
        look.fill = Rgb{255, 255, 255};
    return look;
}

void AxisCellViewModel::show(const std::optional<AxisTable>& table, CellStatistic statistic) {
    m_table = table;
    m_statistic = statistic;
    rebuild();
}

std::optional<double> AxisCellViewModel::statisticAt(int column) const {
    if (!m_table || column < 0 || column >= m_table->columns())
        return std::nullopt;
    return cellStatistic(m_table->column(column), m_statistic);
}

void AxisCellViewModel::rebuild() {
    m_low = 0;
    m_high = 0;
    bool first = true;
    int decimals = 1;
    if (m_statistic != CellStatistic::Seconds && m_table && m_table->signal())
        decimals = liveSignalDef(*m_table->signal()).decimals;
    for (int c = 0; c < m_texts.columns(); ++c) {
        m_texts.setText(c, 0, m_map.text(c, 0));
        m_texts.setText(c, 1, m_map.text(c, 1));
        const std::optional<double> v = statisticAt(c);
        m_texts.setText(c, kStatisticRow, v ? fixedText(*v, decimals) : std::string());
        if (v) {
            m_low = first ? *v : std::min(m_low, *v);
            m_high = first ? *v : std::max(m_high, *v);
            first = false;
        }
    }
}

MapCellLook AxisCellViewModel::cellLook(int column, int row, bool selected) const {
    MapCellLook look;
    look.text = m_texts.text(column, row);
    if (row == 0)
        return look;
    look.drawText = true;
    if (selected)
        return look;
    if (const std::optional<double> v = statisticAt(column))
        look.fill = cellStatisticColour(*v, m_low, m_high);
    else
        look.fill = Rgb{255, 255, 255};
    return look;
}

}  // namespace kaldor
