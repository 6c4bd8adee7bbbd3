#pragma once
// What the log viewer shows of a recording, without the window: the channels chosen and the
// lanes they are stacked in, the stretch of time in view (zoom and pan), the cursor, the
// picture columns of every trace and the statistics of the visible range. The window paints
// and forwards keys and the mouse; every rule of moving around lives here.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "live/recording.h"
#include "live/recording_setup.h"
#include "live/trace_pyramid.h"

namespace kaldor {

struct LogLane {
    std::vector<LiveSignal> channels;
    std::string unit;
    double low = 0;  // the scale: the display range, widened to what the recording holds
    double high = 1;
    bool band = false;  // the fuel mode: a band of colours, not a trace
};

struct ChannelStatistics {
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
};

class LogView {
public:
    // The channels shown at first.
    static constexpr LiveSignal kDefaultChannels[] = {LiveSignal::EngineSpeed,
                                                      LiveSignal::Throttle,
                                                      LiveSignal::GasPressure,
                                                      LiveSignal::ManifoldPressure,
                                                      LiveSignal::PressureDifference,
                                                      LiveSignal::PropaneTemperature,
                                                      LiveSignal::FuelMode};
    // At the finest zoom a record is this many columns wide.
    static constexpr double kFinestColumnsPerRecord = 8;

    LogView(std::shared_ptr<const Recording> recording, RecordingSetup setup);

    [[nodiscard]] const Recording& recording() const { return *m_recording; }
    // For a window that keeps the records after this view is replaced (a reload).
    [[nodiscard]] std::shared_ptr<const Recording> sharedRecording() const { return m_recording; }
    [[nodiscard]] const RecordingSetup& setup() const { return m_setup; }
    // New conversions: every trace is prepared again.
    void setSetup(RecordingSetup setup);
    // A recording read again (a file still growing): the view keeps its place where it can.
    void setRecording(std::shared_ptr<const Recording> recording);

    // Channels: the table's signals the recording carries, in table order.
    [[nodiscard]] const std::vector<LiveSignal>& available() const { return m_available; }
    [[nodiscard]] bool shown(LiveSignal id) const;
    void setShown(LiveSignal id, bool shown);
    [[nodiscard]] const std::vector<LogLane>& lanes() const { return m_lanes; }

    // The picture's width in columns (pixels).
    void setWidth(std::size_t columns);
    [[nodiscard]] std::size_t width() const { return m_width; }
    // The left edge in records and the records per column.
    [[nodiscard]] double first() const { return m_first; }
    [[nodiscard]] double recordsPerColumn() const { return m_perColumn; }
    [[nodiscard]] bool finestZoom() const { return m_perColumn <= finest() * 1.0000001; }
    // The records at least partly in view: [visibleFirst, visibleLast).
    [[nodiscard]] std::size_t visibleFirst() const;
    [[nodiscard]] std::size_t visibleLast() const;
    // The column of a record's middle and the record under a column.
    [[nodiscard]] double columnOf(double record) const { return (record - m_first) / m_perColumn; }
    [[nodiscard]] std::size_t recordAt(double column) const;

    // factor < 1 zooms in; the record under `anchorColumn` stays where it is.
    void zoom(double factor, double anchorColumn);
    void zoomIn();
    void zoomOut();
    void fit();
    void panColumns(double columns);
    // The arrow keys: the cursor by one record at the finest zoom, else an eighth of the view.
    void stepLeft();
    void stepRight();
    // Home and End: the view and the cursor to the first or the last record.
    void home();
    void end();

    [[nodiscard]] std::size_t cursor() const { return m_cursor; }
    void setCursor(std::size_t record);

    // The traces: a trace's extremes per column, prepared once for a view and kept until the
    // view or the set-up changes. Empty when fewer records than columns are in view; the
    // window then draws the records themselves.
    [[nodiscard]] bool perColumn() const { return m_perColumn >= 1; }
    [[nodiscard]] const std::vector<ValueRange>& columns(LiveSignal id);
    [[nodiscard]] double value(LiveSignal id, std::size_t record);
    [[nodiscard]] ChannelStatistics statistics(LiveSignal id);
    // The value as the live pages show it.
    [[nodiscard]] std::string text(LiveSignal id, std::size_t record) const;

    // Memory the prepared traces take.
    [[nodiscard]] std::size_t heldBytes() const;

private:
    struct Trace {
        LiveSignal id;
        std::unique_ptr<TracePyramid> pyramid;
        std::vector<ValueRange> columns;
        bool prepared = false;
    };

    [[nodiscard]] double finest() const;
    [[nodiscard]] double coarsest() const;
    void clampView();
    void viewChanged();
    void rebuildLanes();
    Trace& trace(LiveSignal id);

    std::shared_ptr<const Recording> m_recording;
    RecordingSetup m_setup;
    std::vector<LiveSignal> m_available;
    std::vector<LiveSignal> m_shown;
    std::vector<LogLane> m_lanes;
    std::vector<Trace> m_traces;
    std::size_t m_width = 1;
    double m_first = 0;
    double m_perColumn = 1;
    std::size_t m_cursor = 0;
};

}  // namespace kaldor
