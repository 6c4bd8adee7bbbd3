#include "maps/row_map_edit.h"

#include <algorithm>
#include <string>

#include "model/number_text.h"

namespace kaldor {

MapEditOutcome stepRowMap(EcuImage& image, FieldSender& sender, GridTexts& grid,
                          const RowMapRange& range, GridRect selection, int step) {
    MapEditOutcome outcome;
    const int left = std::max(std::min(selection.left, selection.right), 0);
    const int right = std::min(std::max(selection.left, selection.right), range.columns - 1);
    for (int column = right; column >= left; --column) {
        const std::string& text = grid.text(column, 1);
        const std::optional<std::int32_t> parsed =
            text.empty() && range.emptyIsZero ? 0 : parseInteger(text);
        if (!parsed) {
            outcome.message = notAnIntegerMessage(text);
            break;
        }
        const auto value = static_cast<int>(std::clamp<long long>(
            static_cast<long long>(*parsed) + step, range.minimum, range.maximum));
        const std::size_t element = range.firstElement + static_cast<std::size_t>(column);
        // A negative percentage is stored as its two's complement byte.
        storeField(image, range.field, static_cast<std::uint32_t>(value), element);
        sender.sendField(range.field, element);
        sender.pause(kMapBytePauseMs);
        grid.setText(column, 1, std::to_string(value));
        ++outcome.cellsWritten;
    }
    return outcome;
}

}  // namespace kaldor
