#include "maps/grid_tools.h"

#include <algorithm>

#include "maps/grid_edit.h"
#include "model/number_text.h"

namespace kaldor {
namespace {

// num / den (den > 0) to the nearest whole number, halves away from zero.
long long roundedQuotient(long long num, long long den) {
    return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

int limited(long long value, const GridEdit& edit) {
    return static_cast<int>(std::clamp<long long>(value, edit.minimum, edit.maximum));
}

std::string cellName(const GridEdit& edit, int column, int row) {
    return "row " + std::to_string(row - edit.firstRow + 1) + ", column " +
           std::to_string(column - edit.firstColumn + 1);
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> split(std::string_view text, char at) {
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = text.find(at, from);
        parts.push_back(text.substr(from, end == std::string_view::npos ? end : end - from));
        if (end == std::string_view::npos)
            return parts;
        from = end + 1;
    }
}

MapEditOutcome writeChanged(MapGridModel& model, const CellBlock& before, const CellBlock& after,
                            const GridEdit& edit) {
    const std::vector<CellValue> cells = changedCells(before, after, edit);
    if (cells.empty())
        return {};
    return model.writeCells(cells);
}

}  // namespace

std::optional<CellBlock> readBlock(const GridTexts& texts, const GridEdit& edit, GridRect selection,
                                   std::string& message) {
    CellBlock block;
    block.left = std::max(std::min(selection.left, selection.right), edit.firstColumn);
    block.top = std::max(std::min(selection.top, selection.bottom), edit.firstRow);
    const int right = std::min(std::max(selection.left, selection.right), edit.lastColumn);
    const int bottom = std::min(std::max(selection.top, selection.bottom), edit.lastRow);
    if (right < block.left || bottom < block.top)
        return std::nullopt;
    block.columns = right - block.left + 1;
    block.rows = bottom - block.top + 1;
    block.values.reserve(static_cast<std::size_t>(block.columns * block.rows));
    for (int row = block.top; row <= bottom; ++row) {
        for (int column = block.left; column <= right; ++column) {
            const std::string& text = texts.text(column, row);
            const std::optional<std::int32_t> value =
                text.empty() && edit.emptyIsZero ? 0 : parseInteger(text);
            if (!value) {
                message = notAnIntegerMessage(text);
                return std::nullopt;
            }
            block.values.push_back(*value);
        }
    }
    return block;
}

CellBlock interpolated(CellBlock block, Interpolation how, const GridEdit& edit) {
    const CellBlock corners = block;
    // Weights over the block's width and height; a single column or row keeps its own values.
    const long long width = std::max(block.columns - 1, 1);
    const long long height = std::max(block.rows - 1, 1);
    for (int r = 0; r < block.rows; ++r) {
        for (int c = 0; c < block.columns; ++c) {
            const long long x = block.columns > 1 ? c : 0;
            const long long y = block.rows > 1 ? r : 0;
            long long num = 0;
            long long den = 1;
            switch (how) {
                case Interpolation::Horizontal:
                    num = corners.at(0, r) * (width - x) + corners.at(block.columns - 1, r) * x;
                    den = width;
                    break;
                case Interpolation::Vertical:
                    num = corners.at(c, 0) * (height - y) + corners.at(c, block.rows - 1) * y;
                    den = height;
                    break;
                case Interpolation::Bilinear: {
                    const int last = block.columns - 1;
                    const int bottom = block.rows - 1;
                    num = corners.at(0, 0) * (width - x) * (height - y) +
                          corners.at(last, 0) * x * (height - y) +
                          corners.at(0, bottom) * (width - x) * y +
                          corners.at(last, bottom) * x * y;
                    den = width * height;
                    break;
                }
            }
            block.at(c, r) = limited(roundedQuotient(num, den), edit);
        }
    }
    return block;
}

CellBlock filled(CellBlock block, int value, const GridEdit& edit) {
    std::fill(block.values.begin(), block.values.end(), limited(value, edit));
    return block;
}

CellBlock scaled(CellBlock block, int percent, const GridEdit& edit) {
    for (int& v : block.values)
        v = limited(static_cast<long long>(v) * percent / 100, edit);
    return block;
}

std::vector<CellValue> changedCells(const CellBlock& before, const CellBlock& after,
                                    const GridEdit& edit) {
    std::vector<CellValue> cells;
    const GridRect area{after.left, after.top, after.left + after.columns - 1,
                        after.top + after.rows - 1};
    forEachEditedCell(edit, area, [&](int column, int row) {
        const int c = column - after.left;
        const int r = row - after.top;
        const bool known = column >= before.left && row >= before.top &&
                           column < before.left + before.columns && row < before.top + before.rows;
        const int value = after.at(c, r);
        if (!known || before.at(column - before.left, row - before.top) != value)
            cells.push_back({column, row, value});
        return true;
    });
    return cells;
}

std::string blockText(const CellBlock& block) {
    std::string text;
    for (int r = 0; r < block.rows; ++r) {
        for (int c = 0; c < block.columns; ++c) {
            if (c > 0)
                text += '\t';
            text += std::to_string(block.at(c, r));
        }
        text += '\n';
    }
    return text;
}

PasteBlock parsePaste(std::string_view text, const GridEdit& edit, int column, int row) {
    PasteBlock result;
    std::vector<std::string_view> lines = split(text, '\n');
    while (!lines.empty() && trimmed(lines.back()).empty())
        lines.pop_back();
    if (lines.empty()) {
        result.message = "nothing to paste";
        return result;
    }
    std::vector<std::vector<std::string_view>> cells;
    int columns = 0;
    for (std::string_view line : lines) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        cells.push_back(split(line, '\t'));
        columns = std::max(columns, static_cast<int>(cells.back().size()));
    }
    const int rows = static_cast<int>(cells.size());
    if (column < edit.firstColumn || row < edit.firstRow ||
        column + columns - 1 > edit.lastColumn || row + rows - 1 > edit.lastRow) {
        result.message = "paste refused: " + std::to_string(columns) + " x " +
                         std::to_string(rows) + " values from " + cellName(edit, column, row) +
                         " run past the edge of the map";
        return result;
    }
    CellBlock block{column, row, columns, rows, {}};
    block.values.assign(static_cast<std::size_t>(columns * rows), 0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const bool given = c < static_cast<int>(cells[static_cast<std::size_t>(r)].size());
            const std::string_view cell =
                given ? trimmed(cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                      : std::string_view{};
            const std::optional<std::int32_t> value = parseInteger(cell);
            if (!value || *value < edit.minimum || *value > edit.maximum) {
                result.message = "paste refused: \"" + std::string(cell) + "\" for " +
                                 cellName(edit, column + c, row + r) +
                                 " is not a whole number from " + std::to_string(edit.minimum) +
                                 " to " + std::to_string(edit.maximum);
                return result;
            }
            block.at(c, r) = *value;
        }
    }
    result.block = std::move(block);
    return result;
}

MapEditOutcome applyGridTool(MapGridModel& model, GridRect selection, GridTool tool, int amount) {
    MapEditOutcome outcome;
    const std::optional<GridEdit> edit = model.toolCells();
    if (!edit)
        return outcome;
    const std::optional<CellBlock> before =
        readBlock(model.texts(), *edit, selection, outcome.message);
    if (!before)
        return outcome;
    CellBlock after;
    switch (tool) {
        case GridTool::InterpolateHorizontally:
            after = interpolated(*before, Interpolation::Horizontal, *edit);
            break;
        case GridTool::InterpolateVertically:
            after = interpolated(*before, Interpolation::Vertical, *edit);
            break;
        case GridTool::InterpolateBilinear:
            after = interpolated(*before, Interpolation::Bilinear, *edit);
            break;
        case GridTool::SetValue:
            after = filled(*before, amount, *edit);
            break;
        case GridTool::ScalePercent:
            after = scaled(*before, amount, *edit);
            break;
    }
    return writeChanged(model, *before, after, *edit);
}

MapEditOutcome pasteIntoGrid(MapGridModel& model, GridRect selection, std::string_view text) {
    MapEditOutcome outcome;
    const std::optional<GridEdit> edit = model.toolCells();
    if (!edit)
        return outcome;
    const int column = std::max(std::min(selection.left, selection.right), edit->firstColumn);
    const int row = std::max(std::min(selection.top, selection.bottom), edit->firstRow);
    PasteBlock paste = parsePaste(text, *edit, column, row);
    if (!paste.block) {
        outcome.message = paste.message;
        return outcome;
    }
    const CellBlock& after = *paste.block;
    const GridRect area{after.left, after.top, after.left + after.columns - 1,
                        after.top + after.rows - 1};
    // The cells pasted over are compared as they are now; one that does not parse is written.
    std::string ignored;
    const std::optional<CellBlock> before = readBlock(model.texts(), *edit, area, ignored);
    return writeChanged(model, before.value_or(CellBlock{}), after, *edit);
}

std::optional<std::string> copyFromGrid(MapGridModel& model, GridRect selection) {
    const std::optional<GridEdit> edit = model.toolCells();
    if (!edit)
        return std::nullopt;
    std::string message;
    const std::optional<CellBlock> block = readBlock(model.texts(), *edit, selection, message);
    if (!block)
        return std::nullopt;
    return blockText(*block);
}

}  // namespace kaldor
