#pragma once
// Where a recorded drive ran on a one-row map (a correction map, the cruise map), column by
// column: every record placed in the column the map's grid marks live for it (the same lookup),
// and for each column the time spent there and what one chosen live signal did meanwhile, as the
// main map's cell table counts them. A value past either end of the axis falls in the edge
// column, as the live column stands there; records with the engine stopped, without the map's
// input in the recording, or on a map the controller's revision marks no live column on are
// counted apart.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "live/live_frame.h"
#include "maps/cell_statistics.h"

namespace kaldor {

class AxisTable : public RecordTable {
public:
    [[nodiscard]] int columns() const { return static_cast<int>(m_columns.size()); }
    [[nodiscard]] const CellStatistics& column(int c) const {
        return m_columns.at(static_cast<std::size_t>(c));
    }

private:
    friend AxisTable correctionStatistics(const Recording&, const RecordingSetup&, int,
                                          std::optional<LiveSignal>, std::size_t, std::size_t);
    friend AxisTable cruiseStatistics(const Recording&, const RecordingSetup&,
                                      std::optional<LiveSignal>, std::size_t, std::size_t);
    using ColumnOf = std::function<int(const LiveFrame&)>;
    // Each running record's `input` word in a frame, placed by `columnOf`.
    void place(const Recording& recording, const RecordingSetup& setup, LiveSignal input,
               const ColumnOf& columnOf, std::size_t first, std::size_t last);

    std::vector<CellStatistics> m_columns;
};

// The records [first, last) of `recording` (clipped to its size) on correction map `map` (its
// index in correctionMaps()), with the statistics of `signal` when one is given.
[[nodiscard]] AxisTable correctionStatistics(const Recording& recording,
                                             const RecordingSetup& setup, int map,
                                             std::optional<LiveSignal> signal = std::nullopt,
                                             std::size_t first = 0, std::size_t last = SIZE_MAX);
// The same on the cruise map, by the set-up's software revision: before revision 3 the map has
// no live column, and every record counts as OutsideRecords::mapHidden.
[[nodiscard]] AxisTable cruiseStatistics(const Recording& recording, const RecordingSetup& setup,
                                         std::optional<LiveSignal> signal = std::nullopt,
                                         std::size_t first = 0, std::size_t last = SIZE_MAX);

}  // namespace kaldor
