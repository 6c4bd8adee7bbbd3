#pragma once
// The step edit every map grid shares (the "+" and "-" keys and the step buttons on the selected
// cells): the selection limited to the grid's cells, then cell by cell the text parsed, the step
// added, the sum limited, stored and sent by the grid's own store, and the text set to it. A text
// that does not parse ends the edit with its message; the cells before it stay written. What
// differs between the grids (which cells, their order, the limits) is a GridEdit.
#include <algorithm>
#include <functional>

#include "maps/grid_texts.h"
#include "maps/map_grid_model.h"

namespace kaldor {

struct GridEdit {
    enum class Order {
        RightToLeftBottomUp,  // columns from right to left, each from the bottom row up
        TopDownLeftToRight,   // rows from the top, each from left to right
    };
    // The cells an edit may touch, first and last inclusive; the rest of a selection is left out.
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 0;
    int lastRow = 0;
    Order order = Order::RightToLeftBottomUp;
    bool emptyIsZero = false;  // the grid shows an empty text as 0 (otherwise it does not parse)
    int minimum = 0;
    int maximum = 0;
    // Only the bound the step moves towards limits it: a cell already beyond the other bound
    // moves by the whole step.
    bool limitTowardsStepOnly = false;
};

// Visits the selected cells the edit may touch, in its order; a visit that returns false ends it.
template <typename Visit>
void forEachEditedCell(const GridEdit& edit, GridRect s, Visit visit) {
    const int left = std::max(std::min(s.left, s.right), edit.firstColumn);
    const int right = std::min(std::max(s.left, s.right), edit.lastColumn);
    const int top = std::max(std::min(s.top, s.bottom), edit.firstRow);
    const int bottom = std::min(std::max(s.top, s.bottom), edit.lastRow);
    if (edit.order == GridEdit::Order::RightToLeftBottomUp) {
        for (int column = right; column >= left; --column)
            for (int row = bottom; row >= top; --row)
                if (!visit(column, row))
                    return;
        return;
    }
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            if (!visit(column, row))
                return;
}

[[nodiscard]] int editedCellCount(const GridEdit& edit, GridRect selection);

// `store(column, row, value)` puts the value into the image and sends it, with whatever pause or
// progress step the grid's writes have; the cell's text is set after it.
MapEditOutcome stepCells(GridTexts& grid, const GridEdit& edit, GridRect selection, int step,
                         const std::function<void(int column, int row, int value)>& store);

}  // namespace kaldor
