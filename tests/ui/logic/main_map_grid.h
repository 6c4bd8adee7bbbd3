#pragma once
// The main map grid as the window tests handle it: where a cell lives in the image, the frame
// that writes it, and the mouse on the grid as a user uses it.
#include <QPoint>
#include <QTableWidget>
#include <QTest>

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/commands.h"
#include "maps/grid_texts.h"
#include "support/fake_port.h"

namespace kaldor::test {

// Cell (column, row) of the main map, both from 1.
inline std::size_t cellOffset(int column, int row) {
    return 167 + 8 * static_cast<std::size_t>(row - 1) + static_cast<std::size_t>(column - 1);
}

inline std::string byteWrite(int column, int row, int value) {
    const auto f = writeByteFrame(cellOffset(column, row), static_cast<std::uint8_t>(value));
    return hex(f.data(), f.size());
}

inline void clickCell(QTableWidget* grid, int column, int row,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
}

// A click on one corner, Shift and a click on the other.
inline void selectCells(QTableWidget* grid, GridRect s) {
    clickCell(grid, s.left, s.top);
    clickCell(grid, s.right, s.bottom, Qt::ShiftModifier);
}

}  // namespace kaldor::test
