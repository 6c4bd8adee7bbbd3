#include "maps/grid_edit.h"

#include <cstdint>
#include <optional>
#include <string>

#include "model/number_text.h"

namespace kaldor {

int editedCellCount(const GridEdit& edit, GridRect selection) {
    int count = 0;
    forEachEditedCell(edit, selection, [&](int, int) { return ++count, true; });
    return count;
}

MapEditOutcome stepCells(GridTexts& grid, const GridEdit& edit, GridRect selection, int step,
                         const std::function<void(int column, int row, int value)>& store) {
    MapEditOutcome outcome;
    forEachEditedCell(edit, selection, [&](int column, int row) {
        const std::string& text = grid.text(column, row);
        const std::optional<std::int32_t> parsed =
            text.empty() && edit.emptyIsZero ? 0 : parseInteger(text);
        if (!parsed) {
            outcome.message = notAnIntegerMessage(text);
            return false;
        }
        const long long moved = static_cast<long long>(*parsed) + step;
        long long limited = 0;
        if (!edit.limitTowardsStepOnly)
            limited = std::clamp<long long>(moved, edit.minimum, edit.maximum);
        else if (step >= 0)
            limited = std::min<long long>(moved, edit.maximum);
        else
            limited = std::max<long long>(moved, edit.minimum);
        const auto value = static_cast<int>(limited);
        store(column, row, value);
        grid.setText(column, row, std::to_string(value));
        ++outcome.cellsWritten;
        return true;
    });
    return outcome;
}

}  // namespace kaldor
