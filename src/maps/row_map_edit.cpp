#include "maps/row_map_edit.h"

#include "maps/grid_edit.h"

namespace kaldor {

MapEditOutcome stepRowMap(EcuImage& image, FieldSender& sender, GridTexts& grid,
                          const RowMapRange& range, GridRect selection, int step) {
    GridEdit edit;
    edit.firstColumn = 0;
    edit.lastColumn = range.columns - 1;
    edit.firstRow = 1;
    edit.lastRow = 1;
    edit.emptyIsZero = range.emptyIsZero;
    edit.minimum = range.minimum;
    edit.maximum = range.maximum;
    return stepCells(grid, edit, selection, step, [&](int column, int, int value) {
        const std::size_t element = range.firstElement + static_cast<std::size_t>(column);
        // A negative percentage is stored as its two's complement byte.
        storeField(image, range.field, static_cast<std::uint32_t>(value), element);
        sender.sendField(range.field, element);
        sender.pause(kMapBytePauseMs);
    });
}

}  // namespace kaldor
