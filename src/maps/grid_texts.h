#pragma once
// The texts of a map grid as the core keeps them. The grid on the page shows them and writes the
// user's in-place edits back; the map operations change them cell by cell after the image and the
// controller, and tell the page through the listener. Texts of columns the page does not show
// are kept too (a map type may hide columns whose axis texts are still saved).
#include <functional>
#include <string>
#include <vector>

namespace kaldor {

// A selection of grid cells, corners included; left may exceed right and top bottom.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class GridTexts {
public:
    using Listener = std::function<void(int column, int row)>;

    GridTexts(int columns, int rows);

    [[nodiscard]] int columns() const { return m_columns; }
    [[nodiscard]] int rows() const { return m_rows; }
    [[nodiscard]] bool contains(int column, int row) const {
        return column >= 0 && column < m_columns && row >= 0 && row < m_rows;
    }
    // Empty outside the grid.
    [[nodiscard]] const std::string& text(int column, int row) const;
    // Ignored outside the grid; the listener hears of every change.
    void setText(int column, int row, std::string text);
    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    int m_columns;
    int m_rows;
    std::vector<std::string> m_texts;
    Listener m_listener;
};

}  // namespace kaldor
