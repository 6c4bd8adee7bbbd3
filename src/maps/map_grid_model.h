#pragma once
// What a map grid on the screen needs from the table it shows. Every map grid of the program
// (the main map, the correction maps, the cruise map, the emulator maps, the calibration tables)
// is one ui/map_grid editor bound to a model of this shape; the model lives in the core, keeps
// the texts, decides how each cell looks and does the edits (image, then the write to the
// controller, then the text), so all of it is tested without a window.
//
// The grid editor calls the model for:
//   texts()           the cell texts; it shows them, hears every change through the listener
//                     (and repaints that one cell) and writes in-place edits back;
//   cellLook()        how one cell is painted, asked for every cell the grid paints;
//   keyStep()         the step a key released on the grid makes (nothing: no edit);
//   stepSelection()   the step buttons and keys on the selected rectangle;
//   takesTypedEntry(), entryPrefill(), typedEntry()
//                     Enter on the grid: the text-entry dialog prefilled, then the entry;
//   editableInPlace() whether a clicked cell opens the grid's own in-place editor;
//   toolCells(), writeCells()
//                     the selection tools, copy and paste (maps/grid_tools.h).
// A message in an outcome (a text that did not parse) is shown to the user by the editor.
#include <optional>
#include <string>
#include <vector>

#include "maps/grid_texts.h"
#include "maps/map_colour.h"

namespace kaldor {

// The cells an edit of a grid may touch, the order it writes them in and their limits.
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

// One cell's new value.
struct CellValue {
    int column = 0;
    int row = 0;
    int value = 0;
};

// How one grid cell is painted.
struct MapCellLook {
    std::string text;         // an empty text shows (and becomes) "0"
    std::optional<Rgb> fill;  // nothing: the grid's own colours (headings, selected cells)
    // Drawn over the fill in textColour, one pixel right of the left edge and textDown pixels
    // below the top; otherwise the grid draws the text its own way.
    bool drawText = false;
    Rgb textColour{0, 0, 0};
    int textDown = 0;
};

// The modes of the text-entry dialog's ComboBox1.
enum class EntryMode { Abs = 0, PlusMinus = 1, Percent = 2 };

struct MapEditOutcome {
    int cellsWritten = 0;
    std::string message;  // the conversion message of a text that stopped the edit
};

// Key codes the grid hands to keyStep(): the controller's tool always spoke the Windows codes.
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyPlus = 107;       // the numeric keypad's plus
inline constexpr int kKeyPlusMain = 187;   // the "=" / "+" key of the main block
inline constexpr int kKeyMinus = 109;      // the numeric keypad's minus
inline constexpr int kKeyMinusMain = 189;  // the "-" key of the main block

class MapGridModel {
public:
    virtual ~MapGridModel() = default;

    [[nodiscard]] virtual GridTexts& texts() = 0;
    [[nodiscard]] virtual MapCellLook cellLook(int column, int row, bool selected) const = 0;

    [[nodiscard]] virtual std::optional<int> keyStep(int key, bool shift) const = 0;
    virtual MapEditOutcome stepSelection(GridRect selection, int step) = 0;

    [[nodiscard]] virtual bool takesTypedEntry() const { return false; }
    [[nodiscard]] virtual std::string entryPrefill(GridRect, EntryMode) const { return {}; }
    virtual MapEditOutcome typedEntry(GridRect, EntryMode, const std::string&) { return {}; }

    [[nodiscard]] virtual bool editableInPlace(int /*column*/, int /*row*/) const { return false; }

    // The cells the selection tools, copy and paste work on, with their limits and the order of
    // their writes; nothing for a grid that is only shown.
    [[nodiscard]] virtual std::optional<GridEdit> toolCells() const { return std::nullopt; }
    // Writes the cells, in the order given, as the grid's step edit writes one: image, controller,
    // text.
    virtual MapEditOutcome writeCells(const std::vector<CellValue>& /*cells*/) { return {}; }
};

}  // namespace kaldor
