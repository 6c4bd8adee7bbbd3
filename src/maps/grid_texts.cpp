#include "maps/grid_texts.h"

namespace kaldor {
namespace {
const std::string kNoText;
}  // namespace

GridTexts::GridTexts(int columns, int rows)
    : m_columns(columns < 0 ? 0 : columns),
      m_rows(rows < 0 ? 0 : rows),
      m_texts(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows)) {}

const std::string& GridTexts::text(int column, int row) const {
    if (!contains(column, row))
        return kNoText;
    return m_texts[static_cast<std::size_t>(row) * m_columns + column];
}

void GridTexts::setText(int column, int row, std::string text) {
    if (!contains(column, row))
        return;
    std::string& cell = m_texts[static_cast<std::size_t>(row) * m_columns + column];
    if (cell == text)
        return;
    cell = std::move(text);
    if (m_listener)
        m_listener(column, row);
}

}  // namespace kaldor
