#include "live/log_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kaldor {
namespace {

constexpr double kZoomStep = 2;
constexpr double kPanStepOfView = 0.125;

// Channels with the same unit and range share a lane; one without a unit (a count, a flag, a
// mode) has its own.
bool sameLane(const LiveSignalDef& a, const LiveSignalDef& b) {
    return *a.unit != '\0' && std::strcmp(a.unit, b.unit) == 0 && a.minimum == b.minimum &&
           a.maximum == b.maximum;
}

}  // namespace

LogView::LogView(std::shared_ptr<const Recording> recording, RecordingSetup setup)
    : m_recording(std::move(recording)), m_setup(std::move(setup)) {
    for (const LiveSignalDef& d : liveSignals())
        if (m_recording->carries(d.id))
            m_available.push_back(d.id);
    for (const LiveSignal id : kDefaultChannels)
        if (m_recording->carries(id))
            m_shown.push_back(id);
    rebuildLanes();
    fit();
}

void LogView::setSetup(RecordingSetup setup) {
    m_setup = std::move(setup);
    m_traces.clear();
    rebuildLanes();
}

void LogView::setRecording(std::shared_ptr<const Recording> recording) {
    const bool wholeDrive = m_first <= 0 && visibleLast() >= m_recording->size();
    m_recording = std::move(recording);
    m_traces.clear();
    rebuildLanes();
    if (wholeDrive)
        fit();
    else
        clampView();
    m_cursor = std::min(m_cursor, m_recording->size() - 1);
}

bool LogView::shown(LiveSignal id) const {
    return std::find(m_shown.begin(), m_shown.end(), id) != m_shown.end();
}

void LogView::setShown(LiveSignal id, bool show) {
    if (show == shown(id) || !m_recording->carries(id))
        return;
    if (show) {
        m_shown.push_back(id);
        // In the order of the table, as the chooser lists them.
        std::sort(m_shown.begin(), m_shown.end());
    } else {
        m_shown.erase(std::find(m_shown.begin(), m_shown.end(), id));
        m_traces.erase(std::remove_if(m_traces.begin(), m_traces.end(),
                                      [id](const Trace& t) { return t.id == id; }),
                       m_traces.end());
    }
    rebuildLanes();
}

void LogView::rebuildLanes() {
    m_lanes.clear();
    for (const LiveSignal id : m_shown) {
        const LiveSignalDef& d = liveSignalDef(id);
        auto lane = std::find_if(m_lanes.begin(), m_lanes.end(), [&d](const LogLane& l) {
            return !l.band && sameLane(liveSignalDef(l.channels.front()), d);
        });
        if (lane == m_lanes.end() || id == LiveSignal::FuelMode) {
            LogLane fresh;
            fresh.unit = d.unit;
            fresh.low = d.minimum;
            fresh.high = d.maximum;
            fresh.band = id == LiveSignal::FuelMode;
            m_lanes.push_back(fresh);
            lane = m_lanes.end() - 1;
        }
        lane->channels.push_back(id);
        const ValueRange all = trace(id).pyramid->overall();
        lane->low = std::min(lane->low, all.minimum);
        lane->high = std::max(lane->high, all.maximum);
    }
}

LogView::Trace& LogView::trace(LiveSignal id) {
    for (Trace& t : m_traces)
        if (t.id == id)
            return t;
    Trace t;
    t.id = id;
    t.pyramid = std::make_unique<TracePyramid>(*m_recording, id, m_setup.context);
    m_traces.push_back(std::move(t));
    return m_traces.back();
}

void LogView::setWidth(std::size_t columns) {
    columns = std::max<std::size_t>(columns, 1);
    if (columns == m_width)
        return;
    // The same stretch of time stays in view.
    const double records = m_perColumn * static_cast<double>(m_width);
    m_width = columns;
    m_perColumn = records / static_cast<double>(m_width);
    clampView();
}

double LogView::finest() const {
    return std::min(1 / kFinestColumnsPerRecord, coarsest());
}

double LogView::coarsest() const {
    return static_cast<double>(std::max<std::size_t>(m_recording->size(), 1)) /
           static_cast<double>(m_width);
}

std::size_t LogView::visibleFirst() const {
    return std::min(static_cast<std::size_t>(std::floor(m_first)), m_recording->size() - 1);
}

std::size_t LogView::visibleLast() const {
    const double end = std::ceil(m_first + m_perColumn * static_cast<double>(m_width));
    return std::clamp<std::size_t>(static_cast<std::size_t>(end), visibleFirst() + 1,
                                   m_recording->size());
}

std::size_t LogView::recordAt(double column) const {
    const double r = std::floor(m_first + column * m_perColumn);
    return static_cast<std::size_t>(
        std::clamp(r, 0.0, static_cast<double>(m_recording->size() - 1)));
}

void LogView::clampView() {
    m_perColumn = std::clamp(m_perColumn, finest(), coarsest());
    const double span = m_perColumn * static_cast<double>(m_width);
    const double lastStart = std::max(0.0, static_cast<double>(m_recording->size()) - span);
    // Whole records per column start on a record, so a view prepares the same blocks again.
    if (m_perColumn >= 1)
        m_first = std::round(m_first);
    m_first = std::clamp(m_first, 0.0, lastStart);
    viewChanged();
}

void LogView::viewChanged() {
    for (Trace& t : m_traces)
        t.prepared = false;
}

void LogView::zoom(double factor, double anchorColumn) {
    const double anchor = m_first + anchorColumn * m_perColumn;
    m_perColumn = std::clamp(m_perColumn * factor, finest(), coarsest());
    m_first = anchor - anchorColumn * m_perColumn;
    clampView();
}

void LogView::zoomIn() {
    // Around the cursor while it is in view, else around the middle.
    const double c = columnOf(static_cast<double>(m_cursor) + 0.5);
    const double w = static_cast<double>(m_width);
    zoom(1 / kZoomStep, c >= 0 && c <= w ? c : w / 2);
}

void LogView::zoomOut() {
    const double c = columnOf(static_cast<double>(m_cursor) + 0.5);
    const double w = static_cast<double>(m_width);
    zoom(kZoomStep, c >= 0 && c <= w ? c : w / 2);
}

void LogView::fit() {
    m_perColumn = coarsest();
    m_first = 0;
    clampView();
}

void LogView::panColumns(double columns) {
    m_first += columns * m_perColumn;
    clampView();
}

void LogView::stepLeft() {
    if (!finestZoom()) {
        panColumns(-kPanStepOfView * static_cast<double>(m_width));
        return;
    }
    setCursor(m_cursor > 0 ? m_cursor - 1 : 0);
}

void LogView::stepRight() {
    if (!finestZoom()) {
        panColumns(kPanStepOfView * static_cast<double>(m_width));
        return;
    }
    setCursor(m_cursor + 1);
}

void LogView::home() {
    m_first = 0;
    clampView();
    m_cursor = 0;
}

void LogView::end() {
    m_first = static_cast<double>(m_recording->size());
    clampView();
    m_cursor = m_recording->size() - 1;
}

void LogView::setCursor(std::size_t record) {
    m_cursor = std::min(record, m_recording->size() - 1);
    // A cursor moved by the keys takes the view along.
    const double c = columnOf(static_cast<double>(m_cursor));
    const double cEnd = columnOf(static_cast<double>(m_cursor) + 1);
    if (c < 0)
        panColumns(c);
    else if (cEnd > static_cast<double>(m_width))
        panColumns(cEnd - static_cast<double>(m_width));
}

const std::vector<ValueRange>& LogView::columns(LiveSignal id) {
    Trace& t = trace(id);
    if (!t.prepared) {
        if (perColumn()) {
            const auto span =
                static_cast<std::size_t>(std::llround(m_perColumn * static_cast<double>(m_width)));
            const std::size_t last =
                std::min(m_recording->size(), static_cast<std::size_t>(m_first) + span);
            const std::size_t first = last - std::min(last, std::max(span, m_width));
            t.pyramid->columns(first, last, m_width, t.columns);
        } else
            t.columns.clear();
        t.prepared = true;
    }
    return t.columns;
}

double LogView::value(LiveSignal id, std::size_t record) {
    return trace(id).pyramid->values().at(record);
}

ChannelStatistics LogView::statistics(LiveSignal id) {
    const TracePyramid& p = *trace(id).pyramid;
    const std::size_t a = visibleFirst();
    const std::size_t b = visibleLast();
    const ValueRange r = p.range(a, b);
    return {r.minimum, r.maximum, p.sum(a, b) / static_cast<double>(b - a)};
}

std::string LogView::text(LiveSignal id, std::size_t record) const {
    return recordingText(*m_recording, record, id, m_setup.context);
}

std::size_t LogView::heldBytes() const {
    std::size_t bytes = 0;
    for (const Trace& t : m_traces)
        bytes += t.pyramid->heldBytes() + t.columns.capacity() * sizeof(ValueRange);
    return bytes;
}

}  // namespace kaldor
