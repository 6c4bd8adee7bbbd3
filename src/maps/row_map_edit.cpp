#include "maps/row_map_edit.h"

#include "maps/grid_edit.h"

#include <algorithm>
#include <string>

namespace kaldor {

namespace {

void storeRowCell(EcuImage& image, FieldSender& sender, const RowMapRange& range, int column,
                  int value) {
    const std::size_t element = range.firstElement + static_cast<std::size_t>(column);
    // A negative percentage is stored as its two's complement byte.
    storeField(image, range.field, static_cast<std::uint32_t>(value), element);
    sender.sendField(range.field, element);
    sender.pause(kMapBytePauseMs);
}

}  // namespace

GridEdit rowMapEdit(const RowMapRange& range) {
    GridEdit edit;
    edit.firstColumn = 0;
    edit.lastColumn = range.columns - 1;
    edit.firstRow = 1;
    edit.lastRow = 1;
    edit.emptyIsZero = range.emptyIsZero;
    edit.minimum = range.minimum;
    edit.maximum = range.maximum;
    return edit;
}

MapEditOutcome stepRowMap(EcuImage& image, FieldSender& sender, GridTexts& grid,
                          const RowMapRange& range, GridRect selection, int step) {
    return stepCells(grid, rowMapEdit(range), selection, step, [&](int column, int, int value) {
        storeRowCell(image, sender, range, column, value);
    });
}

MapEditOutcome writeRowMap(EcuImage& image, FieldSender& sender, GridTexts& grid,
                           const RowMapRange& range, const std::vector<CellValue>& cells) {
    MapEditOutcome outcome;
    for (const CellValue& cell : cells) {
        if (cell.row != 1 || cell.column < 0 || cell.column >= range.columns)
            continue;
        const int value = std::clamp(cell.value, range.minimum, range.maximum);
        storeRowCell(image, sender, range, cell.column, value);
        grid.setText(cell.column, 1, std::to_string(value));
        ++outcome.cellsWritten;
    }
    return outcome;
}

}  // namespace kaldor
