#pragma once
// The selection tools every editable grid has, on the cells its GridEdit names and within its
// limits: interpolation (along the rows, down the columns, or bilinear from the four corners),
// setting the selection to a value, scaling it by a percentage, copying it as tab-separated text
// and pasting such text at its corner. Each tool works out the new values of a block of cells
// first; only the cells whose value changes are then written, through the grid model's own
// writes, in the order of its step edit.
//
// Rounding: an interpolated value is rounded to the nearest whole number, halves away from zero;
// a scaled value is cut towards zero, as the typed percentage entry does. Every result is then
// limited to the grid's range.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maps/grid_texts.h"
#include "maps/map_grid_model.h"

namespace kaldor {

// The values of a rectangle of grid cells, row by row.
struct CellBlock {
    int left = 0;  // grid column and row of the first value
    int top = 0;
    int columns = 0;
    int rows = 0;
    std::vector<int> values;

    [[nodiscard]] int at(int column, int row) const {
        return values[static_cast<std::size_t>(row * columns + column)];
    }
    int& at(int column, int row) {
        return values[static_cast<std::size_t>(row * columns + column)];
    }
};

enum class Interpolation { Horizontal, Vertical, Bilinear };

// The selection within the edit's cells, read from the texts; nothing (with the message of the
// text that does not parse, or none when the selection holds no such cell) otherwise.
[[nodiscard]] std::optional<CellBlock> readBlock(const GridTexts& texts, const GridEdit& edit,
                                                 GridRect selection, std::string& message);

[[nodiscard]] CellBlock interpolated(CellBlock block, Interpolation how, const GridEdit& edit);
[[nodiscard]] CellBlock filled(CellBlock block, int value, const GridEdit& edit);
[[nodiscard]] CellBlock scaled(CellBlock block, int percent, const GridEdit& edit);

// The cells whose value differs, in the order the edit writes them.
[[nodiscard]] std::vector<CellValue> changedCells(const CellBlock& before, const CellBlock& after,
                                                  const GridEdit& edit);

// Rows joined by line ends, values by tabs: what spreadsheets paste.
[[nodiscard]] std::string blockText(const CellBlock& block);

struct PasteBlock {
    std::optional<CellBlock> block;
    std::string message;  // why nothing is pasted
};
// Tab-separated text (line ends \n or \r\n, a last line end or not) placed with its first value
// at (column, row). Refused as a whole when it is empty, runs past the edit's cells, or any value
// is not a whole number within the limits; the message names the first bad cell.
[[nodiscard]] PasteBlock parsePaste(std::string_view text, const GridEdit& edit, int column,
                                    int row);

// The tools on a grid model. Nothing is written and the message says why when the grid has no
// tool cells, a text does not parse or the paste is refused.
enum class GridTool {
    InterpolateHorizontally,
    InterpolateVertically,
    InterpolateBilinear,
    SetValue,
    ScalePercent
};
MapEditOutcome applyGridTool(MapGridModel& model, GridRect selection, GridTool tool,
                             int amount = 0);
MapEditOutcome pasteIntoGrid(MapGridModel& model, GridRect selection, std::string_view text);
// The selection's text; nothing when the grid has no tool cells or a text does not parse.
[[nodiscard]] std::optional<std::string> copyFromGrid(MapGridModel& model, GridRect selection);

}  // namespace kaldor
