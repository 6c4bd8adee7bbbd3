#include "maps/axis_statistics.h"

#include <algorithm>

#include "maps/correction_maps.h"
#include "maps/cruise_editor.h"
#include "maps/cruise_map.h"

namespace kaldor {

void AxisTable::place(const Recording& recording, const RecordingSetup& setup, LiveSignal input,
                      const ColumnOf& columnOf, std::size_t first, std::size_t last) {
    if (!recording.carries(input)) {
        m_outside.axisSignalMissing = m_records;
        return;
    }
    const std::size_t word = liveSignalDef(input).word;
    const int columns = this->columns();
    LiveFrame frame;
    const auto at = [&](std::size_t i) {
        frame.setWord(word, recording.word(i, word));
        // The lookups never leave the axis; the clamp keeps a damaged table from doing so.
        return static_cast<std::size_t>(std::clamp(columnOf(frame), 0, columns - 1));
    };
    tally(recording, setup.context, first, last, at, m_columns.data());
}

AxisTable correctionStatistics(const Recording& recording, const RecordingSetup& setup, int map,
                               std::optional<LiveSignal> signal, std::size_t first,
                               std::size_t last) {
    AxisTable table;
    table.begin(recording, signal, first, last);
    if (map < 0 || map >= kCorrectionMapCount) {
        table.m_outside.unknownMapType = table.m_records;
        return table;
    }
    const CorrectionMapDef& def = correctionMaps()[static_cast<std::size_t>(map)];
    table.m_columns.resize(static_cast<std::size_t>(def.columns));
    table.place(
        recording, setup, def.input,
        [&def](const LiveFrame& frame) { return correctionLiveColumn(def, frame); }, first, last);
    return table;
}

AxisTable cruiseStatistics(const Recording& recording, const RecordingSetup& setup,
                           std::optional<LiveSignal> signal, std::size_t first, std::size_t last) {
    AxisTable table;
    table.begin(recording, signal, first, last);
    table.m_columns.resize(kCruiseMapColumns);
    const unsigned revision = setup.context.softwareRevision;
    if (!cruiseHasLiveColumn(revision)) {
        table.m_outside.mapHidden = table.m_records;
        return table;
    }
    table.place(
        recording, setup, LiveSignal::ManifoldPressure,
        [revision](const LiveFrame& frame) { return cruiseLiveColumn(frame, revision); }, first,
        last);
    return table;
}

}  // namespace kaldor
