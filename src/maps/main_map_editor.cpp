#include "maps/main_map_editor.h"

#include <algorithm>
#include <optional>

#include "maps/grid_edit.h"
#include "maps/map_axes.h"
#include "maps/preset_maps.h"
#include "model/fields.h"
#include "model/number_text.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr int kSmoothingPasses = 4;
constexpr int kPercentLimit = 100;

int limited(long long value, int low, int high) {
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

// Every multi-cell edit visits the selection's cells with its columns from right to left, each
// from the bottom row up; axis cells and cells outside the map are left out.
constexpr GridEdit cellEdit() {
    GridEdit edit;
    edit.firstColumn = 1;
    edit.lastColumn = kMainMapColumns;
    edit.firstRow = 1;
    edit.lastRow = kMainMapRows;
    edit.order = GridEdit::Order::RightToLeftBottomUp;
    edit.emptyIsZero = true;  // a cell not shown yet is painted as 0
    edit.minimum = 0;
    edit.maximum = kMainMapCellMax;
    return edit;
}
constexpr GridEdit kCellEdit = cellEdit();

// The new byte of a typed entry m for the old byte b.
int enteredValue(EntryMode mode, int b, long long m) {
    switch (mode) {
        case EntryMode::Abs:
            return limited(m, 0, kMainMapCellMax);
        case EntryMode::PlusMinus:
            return limited(b + m, 0, kMainMapCellMax);
        case EntryMode::Percent: {
            const long long percent = std::clamp<long long>(m, -kPercentLimit, kPercentLimit);
            // The factor is single precision on purpose: -10 % of 100 gives 89, as the controller's
            // own tool always did.
            const float factor =
                static_cast<float>(1.0L + static_cast<long double>(percent) * 0.01);
            const long double product = static_cast<long double>(b) * factor;
            return limited(truncateToInt(product), 0, kMainMapCellMax);
        }
    }
    return b;
}

}  // namespace

MainMapEditor::MainMapEditor(EcuImage& image, FieldSender& sender, ProgressSink& progress,
                             char decimalPoint)
    : m_image(image), m_sender(sender), m_progress(progress), m_decimalPoint(decimalPoint) {}

void MainMapEditor::resetProgress(int maximum) {
    m_progress.setMaximum(maximum);
    m_progress.setPosition(0);
}

void MainMapEditor::storeCell(int column, int row, int value) {
    const std::size_t element = mainMapElement(column, row);
    storeField(m_image, FieldId::MainMap, static_cast<std::uint32_t>(value), element);
    m_sender.sendField(FieldId::MainMap, element);
    m_progress.step();
}

void MainMapEditor::writeCell(int column, int row, int value) {
    storeCell(column, row, value);
    m_grid.setText(column, row, std::to_string(value));
}

void MainMapEditor::sendWholeMap() {
    resetProgress(kMainMapCells);
    for (int row = 1; row <= kMainMapRows; ++row)
        for (int column = 1; column <= kMainMapColumns; ++column)
            writeCell(column, row, mainMapCell(m_image, column, row));
}

void MainMapEditor::showCells() {
    for (int row = 1; row <= kMainMapRows; ++row)
        for (int column = 1; column <= kMainMapColumns; ++column)
            m_grid.setText(column, row, std::to_string(mainMapCell(m_image, column, row)));
}

void MainMapEditor::showAxes(unsigned type) {
    const MapTypeDef* def = mapTypeDef(type);
    if (def == nullptr)
        return;
    const int signalType = static_cast<int>(readField(m_image, FieldId::RpmSignalType));
    if (def->columns == AxisKind::None) {
        m_grid.setText(1, 0, kNoColumnAxisText);
    } else {
        for (int c = 1; c <= kMainMapColumns; ++c) {
            const auto raw = readField(m_image, FieldId::MainMapColumnAxis, c - 1);
            m_grid.setText(c, 0,
                           axisText(def->columns, static_cast<std::uint16_t>(raw), signalType,
                                    m_decimalPoint));
        }
    }
    for (int r = 1; r <= kMainMapRows; ++r) {
        const auto raw = readField(m_image, FieldId::MainMapRowAxis, r - 1);
        m_grid.setText(
            0, r, axisText(def->rows, static_cast<std::uint16_t>(raw), signalType, m_decimalPoint));
    }
}

MainMapLayout MainMapEditor::ShowMainMap() {
    const unsigned type = readField(m_image, FieldId::MainMapType);
    const bool tpsSwitch = readField(m_image, FieldId::TpsSwitch) != 0;
    const MapTypeDef* def = mapTypeDef(type);
    m_layout.tpsTypItem = tpsSwitch ? 1 : 0;
    if (def == nullptr) {
        // A type no list item stands for: the list shows none, the layout stays as it was.
        m_layout.mapType = -1;
    } else {
        m_layout.mapType = static_cast<int>(type);
        m_layout.colCount = mainMapColCount(type, tpsSwitch);
        m_layout.tpsTypShown = def->tpsTypShown;
        m_grid.setText(0, 0, def->corner);
    }
    showAxes(type);
    showCells();
    return m_layout;
}

std::string MainMapEditor::entryPrefill(GridRect selection, EntryMode mode) const {
    if (mode != EntryMode::Abs)
        return "0";
    // An empty cell (no image shown yet) is painted as "0" and offered as "0".
    const std::string& text = m_grid.text(std::min(selection.left, selection.right),
                                          std::min(selection.top, selection.bottom));
    return text.empty() ? "0" : text;
}

MapEditOutcome MainMapEditor::typedEntry(GridRect selection, EntryMode mode,
                                         const std::string& entry) {
    MapEditOutcome outcome;
    const std::optional<std::int32_t> m = parseInteger(entry);
    if (!m) {
        outcome.message = notAnIntegerMessage(entry);
        return outcome;
    }
    resetProgress(editedCellCount(kCellEdit, selection));
    forEachEditedCell(kCellEdit, selection, [&](int column, int row) {
        writeCell(column, row, enteredValue(mode, mainMapCell(m_image, column, row), *m));
        ++outcome.cellsWritten;
        return true;
    });
    return outcome;
}

MapEditOutcome MainMapEditor::stepSelection(GridRect selection, int step) {
    resetProgress(editedCellCount(kCellEdit, selection));
    return stepCells(m_grid, kCellEdit, selection, step,
                     [this](int column, int row, int value) { storeCell(column, row, value); });
}

bool MainMapEditor::loadPresetMap(int k) {
    const MainMapCells* preset = presetMap(k, m_image);
    if (preset == nullptr)
        return false;
    for (std::size_t i = 0; i < preset->size(); ++i)
        storeField(m_image, FieldId::MainMap, (*preset)[i], i);
    showCells();
    return true;
}

int MainMapEditor::mapResetChosen(int item) {
    resetProgress(kMainMapCells);
    if (loadPresetMap(item))
        sendWholeMap();
    return 0;
}

void MainMapEditor::smooth() {
    std::array<int, kMainMapCells> cells{};
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = static_cast<int>(readField(m_image, FieldId::MainMap, i));
    const auto at = [&](int r, int c) {
        // Beyond an edge the edge row or column counts again.
        r = std::clamp(r, 0, kMainMapRows - 1);
        c = std::clamp(c, 0, kMainMapColumns - 1);
        return cells[static_cast<std::size_t>(r * kMainMapColumns + c)];
    };
    for (int pass = 0; pass < kSmoothingPasses; ++pass) {
        std::array<int, kMainMapCells> next = cells;
        for (int r = 0; r < kMainMapRows; ++r) {
            for (int c = 0; c < kMainMapColumns; ++c) {
                int sum = 0;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc)
                        sum += at(r + dr, c + dc);
                int& b = next[static_cast<std::size_t>(r * kMainMapColumns + c)];
                // At most one step a pass, and only when the box mean is more than half away.
                if (sum >= 9 * b + 5)
                    ++b;
                else if (sum <= 9 * b - 5)
                    --b;
            }
        }
        cells = next;
    }
    for (std::size_t i = 0; i < cells.size(); ++i)
        storeField(m_image, FieldId::MainMap, static_cast<std::uint32_t>(cells[i]), i);
    sendWholeMap();
}

}  // namespace kaldor
