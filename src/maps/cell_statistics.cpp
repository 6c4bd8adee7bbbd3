#include "maps/cell_statistics.h"

#include <algorithm>

#include "live/trace_pyramid.h"
#include "maps/map_axes.h"
#include "model/fields.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr std::int64_t kWordMax = 0xFFFF;

// A CSV holds the engine speed in whole rpm, which rises as the period falls. Mirrored (the
// largest word less the rpm), both the records and the axis compare as periods do, so the one
// lookup serves either format.
std::int64_t mirroredRpm(std::int64_t rpm) {
    return kWordMax - std::clamp<std::int64_t>(rpm, 0, kWordMax);
}

void setHeadings(std::array<std::string, kMainMapColumns>& columns,
                 std::array<std::string, kMainMapRows>& rows, const MainMapAxes& axes,
                 int rpmSignalType) {
    if (axes.type == nullptr)
        return;
    for (int c = 0; c < kMainMapColumns; ++c)
        columns[static_cast<std::size_t>(c)] =
            axes.type->columns == AxisKind::None
                ? std::string(c == 0 ? kNoColumnAxisText : "")
                : axisText(axes.type->columns, axes.columns[static_cast<std::size_t>(c)],
                           rpmSignalType, '.');
    for (int r = 0; r < kMainMapRows; ++r)
        rows[static_cast<std::size_t>(r)] =
            axisText(axes.type->rows, axes.rows[static_cast<std::size_t>(r)], rpmSignalType, '.');
}

}  // namespace

void SignalStatistics::add(double value) {
    if (count == 0) {
        minimum = value;
        maximum = value;
    } else {
        minimum = std::min(minimum, value);
        maximum = std::max(maximum, value);
    }
    sum += value;
    ++count;
}

void RecordTable::begin(const Recording& recording, std::optional<LiveSignal> signal,
                        std::size_t& first, std::size_t& last) {
    last = std::min(last, recording.size());
    first = std::min(first, last);
    m_records = last - first;
    m_signal = signal;
    m_signalCarried = signal && recording.carries(*signal);
}

void RecordTable::tally(const Recording& recording, const LiveContext& context, std::size_t first,
                        std::size_t last, const RecordPlace& place, CellStatistics* cells) {
    const ChannelValues rpm(recording, LiveSignal::EngineSpeed, context);
    std::optional<ChannelValues> values;
    if (m_signalCarried)
        values.emplace(recording, *m_signal, context);
    for (std::size_t i = first; i < last; ++i) {
        if (rpm.at(i) <= 0) {
            ++m_outside.engineStopped;
            continue;
        }
        CellStatistics& cell = cells[place(i)];
        ++cell.records;
        if (values)
            cell.signal.add(values->at(i));
    }
}

CellTable cellStatistics(const Recording& recording, const RecordingSetup& setup,
                         std::optional<LiveSignal> signal, std::size_t first, std::size_t last) {
    CellTable table;
    table.begin(recording, signal, first, last);

    MainMapAxes axes = mainMapAxes(setup.image);
    const unsigned type = readField(setup.image, FieldId::MainMapType);
    const int rpmSignalType = static_cast<int>(readField(setup.image, FieldId::RpmSignalType));
    setHeadings(table.m_columnHeadings, table.m_rowHeadings, axes, rpmSignalType);
    if (axes.type == nullptr) {
        table.m_mapType = "unknown map type " + std::to_string(type);
        table.m_outside.unknownMapType = table.m_records;
        return table;
    }
    table.m_mapType = axes.type->item;
    table.m_columns = mainMapColCount(type, readField(setup.image, FieldId::TpsSwitch) != 0) - 1;

    const bool hasColumns = axes.type->columns != AxisKind::None;
    const LiveSignal columnSignal = axes.type->columnSignal;
    const LiveSignal rowSignal = axes.type->rowSignal;
    const bool rpmColumns =
        hasColumns && columnSignal == LiveSignal::EngineSpeed && recording.engineSpeedInRpm();
    if (rpmColumns)
        for (std::uint16_t& c : axes.columns)
            c = static_cast<std::uint16_t>(mirroredRpm(PeriodToRpm(c, rpmSignalType)));
    if ((hasColumns && !recording.carries(columnSignal)) || !recording.carries(rowSignal)) {
        table.m_outside.axisSignalMissing = table.m_records;
        return table;
    }

    const LiveSignalDef& columnDef = liveSignalDef(hasColumns ? columnSignal : rowSignal);
    const LiveSignalDef& rowDef = liveSignalDef(rowSignal);
    // The axis signals are read through the signal table from a frame holding just their words.
    LiveFrame frame;
    const auto place = [&](std::size_t i) {
        int column = 0;
        if (hasColumns) {
            frame.setWord(columnDef.word, recording.word(i, columnDef.word));
            const std::int64_t v = liveRaw(frame, columnSignal);
            column = operatingColumnOf(axes, rpmColumns ? mirroredRpm(v) : v);
        }
        frame.setWord(rowDef.word, recording.word(i, rowDef.word));
        const int row = operatingRowOf(axes, liveRaw(frame, rowSignal));
        return static_cast<std::size_t>(row * kMainMapColumns + column);
    };
    table.tally(recording, setup.context, first, last, place, table.m_cells.data());
    return table;
}

}  // namespace kaldor
