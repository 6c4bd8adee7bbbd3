#pragma once
// The main injection map as the grid StringGridMapa shows it: 16 rows by 8 columns of bytes in
// the image, grid row 0 the column axis and grid column 0 the row axis. Grid cell (column c,
// row r) with c and r from 1 is map cell (row r, column c). Also the cell the engine works in
// and how a grid cell is painted.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "live/live_frame.h"
#include "maps/map_colour.h"
#include "maps/map_grid_model.h"
#include "maps/map_types.h"
#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

// The grid: the row-axis column plus the map columns, the column-axis row plus the map rows.
inline constexpr int kMainMapGridColumns = kMainMapColumns + 1;
inline constexpr int kMainMapGridRows = kMainMapRows + 1;
// Every edit keeps the cells it writes within this.
inline constexpr int kMainMapCellMax = 250;

// A grid cell that holds a map cell (not an axis, not outside the grid).
[[nodiscard]] constexpr bool isMainMapCell(int column, int row) {
    return column >= 1 && column <= kMainMapColumns && row >= 1 && row <= kMainMapRows;
}
// The element of MainMap (and of every 16 x 8 table of the same layout) for a grid cell.
[[nodiscard]] constexpr std::size_t mainMapElement(int column, int row) {
    return static_cast<std::size_t>(kMainMapColumns * (row - 1) + (column - 1));
}
// The byte offset a write of the grid cell carries.
[[nodiscard]] std::size_t mainMapByteOffset(int column, int row);
[[nodiscard]] int mainMapCell(const EcuImage& image, int column, int row);

// The cell the engine works in: column index x (0..7) and row index y (0..15), highlighted as grid
// cell (x + 1, y + 1), and the pair last painted. All four start at 1, so grid cell (2, 2) is
// highlighted until the first live record moves it.
struct MapOperatingPoint {
    int x = 1;
    int y = 1;
    int lastX = 1;
    int lastY = 1;

    [[nodiscard]] bool isHighlighted(int column, int row) const {
        return column == x + 1 && row == y + 1;
    }
};

// The column and row indexes for one live record under the image's map type and axes.
[[nodiscard]] int operatingColumn(const LiveFrame& frame, const EcuImage& image);
[[nodiscard]] int operatingRow(const LiveFrame& frame, const EcuImage& image);

// The same lookup over numbers already read, for a walk over many records: the image's map
// type (null for one the lists do not know) and axis words, and the raw live values of the
// type's column and row signals.
struct MainMapAxes {
    const MapTypeDef* type = nullptr;
    std::array<std::uint16_t, kMainMapColumns> columns{};
    std::array<std::uint16_t, kMainMapRows> rows{};
};
[[nodiscard]] MainMapAxes mainMapAxes(const EcuImage& image);
[[nodiscard]] int operatingColumnOf(const MainMapAxes& axes, std::int64_t value);
[[nodiscard]] int operatingRowOf(const MainMapAxes& axes, std::int64_t value);

// Moves the point for a live record; `running` is a connected controller or demo playback
// (otherwise nothing happens). True when the highlighted cell differs from the one last painted:
// the page repaints the grid only then, and only while it is shown. The new cell becomes the one
// last painted either way.
[[nodiscard]] bool UpdateOperatingPoint(MapOperatingPoint& point, const LiveFrame& frame,
                                        const EcuImage& image, bool running);

// How one cell of StringGridMapa is painted: map cells in their colour with black text, the
// operating point in yellow.
[[nodiscard]] MapCellLook mainMapCellLook(int column, int row, const std::string& text,
                                          bool selected, const MapOperatingPoint& point);

// The step a plus or minus key makes (5 with Shift, else 1); nothing for other keys.
[[nodiscard]] std::optional<int> mainMapKeyStep(int key, bool shift);

}  // namespace kaldor
