#pragma once
// The main map's axis words and the texts of the grid's row 0 and column 0: the text a stored
// word shows, and the word a text stores, by what the axis measures.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "maps/map_types.h"

namespace kaldor {

// The text an axis cell shows for a stored word; empty for AxisKind::None.
[[nodiscard]] std::string axisText(AxisKind kind, std::uint16_t raw, int rpmSignalType,
                                   char decimalPoint);

// The word an axis text stores, or why it stores none: the conversion message of a text that
// does not parse, or a message naming the cell when the converted value does not fit a word.
struct AxisConversion {
    std::optional<std::uint16_t> word;
    std::string message;
};
// `cell` names the cell in the message: "column 3", "row 12".
[[nodiscard]] AxisConversion convertAxisText(AxisKind kind, std::string_view text,
                                             int rpmSignalType, char decimalPoint,
                                             const std::string& cell);

}  // namespace kaldor
