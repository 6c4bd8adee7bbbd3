#pragma once
// Where a recorded drive ran on the main map, cell by cell: every record placed in the cell the
// grid highlights for it live (the operating-point lookup of the set-up's map type and axes),
// and for each cell the time spent there and what one chosen live signal did meanwhile, in the
// unit the live pages show it in. Installers lean the cells where the exhaust ran hot and leave
// the ones the engine never used alone.
//
// The lookup never leaves the grid: a value past the end of an axis is placed in the edge cell,
// as the live grid highlights it. Records that are placed nowhere are counted apart by reason:
// the engine stopped (0 rpm: the controller injects nothing), the recording lacking an axis
// signal (a CSV export holds no air-flow input), a map type no list knows (a damaged set-up).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "live/live_signals.h"
#include "live/recording.h"
#include "live/recording_setup.h"
#include "maps/main_map.h"

namespace kaldor {

struct SignalStatistics {
    std::size_t count = 0;
    double minimum = 0;
    double maximum = 0;
    long double sum = 0;  // wide, so a cell of equal values has exactly that mean

    [[nodiscard]] double mean() const {
        return count == 0 ? 0.0 : static_cast<double>(sum / static_cast<long double>(count));
    }
    void add(double value);
};

struct CellStatistics {
    std::size_t records = 0;
    SignalStatistics signal;

    [[nodiscard]] double seconds() const {
        return static_cast<double>(records) * Recording::kSecondsPerRecord;
    }
};

// The records placed in no cell, by why.
struct OutsideRecords {
    std::size_t engineStopped = 0;
    std::size_t axisSignalMissing = 0;
    std::size_t unknownMapType = 0;
    std::size_t mapHidden = 0;  // a map the controller's revision has no live place on

    [[nodiscard]] std::size_t total() const {
        return engineStopped + axisSignalMissing + unknownMapType + mapHidden;
    }
};

// What every table of a recording on a map holds beside its cells: how many records it covers,
// those placed nowhere, and the signal its cells hold statistics of.
class RecordTable {
public:
    [[nodiscard]] std::size_t records() const { return m_records; }
    [[nodiscard]] std::size_t placed() const { return m_records - m_outside.total(); }
    [[nodiscard]] const OutsideRecords& outside() const { return m_outside; }
    // The signal the cells hold statistics of, if one was asked for.
    [[nodiscard]] std::optional<LiveSignal> signal() const { return m_signal; }
    // Whether the recording carries the chosen signal (false: no cell counts it).
    [[nodiscard]] bool signalCarried() const { return m_signalCarried; }

protected:
    // The cell a running record falls in, as an index into the table's cells.
    using RecordPlace = std::function<std::size_t(std::size_t record)>;
    // Clips [first, last) to the recording and takes the signal; records() is then its length.
    void begin(const Recording& recording, std::optional<LiveSignal> signal, std::size_t& first,
               std::size_t& last);
    // Records [first, last) with the engine turning added to cells[place(record)] with their
    // signal's value; those with the engine stopped counted apart.
    void tally(const Recording& recording, const LiveContext& context, std::size_t first,
               std::size_t last, const RecordPlace& place, CellStatistics* cells);

    std::size_t m_records = 0;
    OutsideRecords m_outside;
    std::optional<LiveSignal> m_signal;
    bool m_signalCarried = false;
};

class CellTable : public RecordTable {
public:
    // Column 0 to 7 and row 0 to 15 as the operating point counts them.
    [[nodiscard]] const CellStatistics& cell(int column, int row) const {
        return m_cells[static_cast<std::size_t>(row * kMainMapColumns + column)];
    }
    [[nodiscard]] CellStatistics& cell(int column, int row) {
        return m_cells[static_cast<std::size_t>(row * kMainMapColumns + column)];
    }
    // The texts of the grid's row 0 and column 0 above and beside the cell.
    [[nodiscard]] const std::string& columnHeading(int column) const {
        return m_columnHeadings[static_cast<std::size_t>(column)];
    }
    [[nodiscard]] const std::string& rowHeading(int row) const {
        return m_rowHeadings[static_cast<std::size_t>(row)];
    }
    // The map columns the grid shows for the set-up's type (1 for the pressure-only map).
    [[nodiscard]] int columns() const { return m_columns; }
    // The map type's list item, or a text naming an unknown type.
    [[nodiscard]] const std::string& mapType() const { return m_mapType; }

private:
    friend CellTable cellStatistics(const Recording&, const RecordingSetup&,
                                    std::optional<LiveSignal>, std::size_t, std::size_t);
    std::array<CellStatistics, kMainMapCells> m_cells{};
    std::array<std::string, kMainMapColumns> m_columnHeadings;
    std::array<std::string, kMainMapRows> m_rowHeadings;
    int m_columns = 1;
    std::string m_mapType;
};

// The records [first, last) of `recording` (clipped to its size) on the set-up's main map, with
// the statistics of `signal` when one is given. A signal the recording does not carry counts
// nothing (CellTable::signalCarried).
[[nodiscard]] CellTable cellStatistics(const Recording& recording, const RecordingSetup& setup,
                                       std::optional<LiveSignal> signal = std::nullopt,
                                       std::size_t first = 0, std::size_t last = SIZE_MAX);

}  // namespace kaldor
