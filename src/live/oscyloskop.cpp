#include "live/oscyloskop.h"

#include <algorithm>
#include <cmath>

#include "model/fixed_text.h"

namespace kaldor {
namespace {

constexpr int kOff = 0;

// Keeps a far-off old sample (drawn against a smaller new range) inside what an int can hold.
constexpr double kCoordinateLimit = 1e9;

int pixel(double y) {
    return static_cast<int>(std::clamp(y, -kCoordinateLimit, kCoordinateLimit));
}

}  // namespace

std::optional<LiveSignal> scopeSignal(int item) {
    // Item -> signal, from the table's scope column once.
    static const std::array<std::optional<LiveSignal>, kScopeQuantities.size()> kSignalOfItem = [] {
        std::array<std::optional<LiveSignal>, kScopeQuantities.size()> table{};
        for (const LiveSignalDef& def : liveSignals())
            if (def.scopeItem > kOff && def.scopeItem < static_cast<int>(table.size()))
                table[static_cast<std::size_t>(def.scopeItem)] = def.id;
        return table;
    }();
    if (item <= kOff || item >= static_cast<int>(kSignalOfItem.size()))
        return std::nullopt;
    return kSignalOfItem[static_cast<std::size_t>(item)];
}

double scopeValue(int item, const LiveRecord& record) {
    const std::optional<LiveSignal> signal = scopeSignal(item);
    return signal ? record.value(*signal) : 0;
}

OSCYLOSKOP::Values OSCYLOSKOP::valuesOf(const Items& items, const LiveRecord& record) {
    Values values{};
    for (std::size_t i = 0; i < kChannels; ++i)
        values[i] = scopeValue(items[i], record);
    return values;
}

OSCYLOSKOP::OSCYLOSKOP() {
    for (std::size_t i = 0; i < kChannels; ++i) {
        Channel& c = m_channels[i];
        c.colour = kScopeChannels[i].colour;
        c.samples.assign(kHistory, 0.0f);
        c.points.assign(kHistory, ScopePoint{});
    }
    // Grid, four traces and three steps of markers each: no allocation after the first draw.
    m_picture.steps.reserve(2 * kGridLines + kChannels * 4);
}

void OSCYLOSKOP::Feed(const Items& items, int focused, const Values& values) {
    for (std::size_t i = 0; i < kChannels; ++i) {
        Channel& c = m_channels[i];
        const int item = items[i];
        c.enabled = item > kOff && item < static_cast<int>(kScopeQuantities.size());
        if (c.enabled)
            c.rangeMax = kScopeQuantities[static_cast<std::size_t>(item)].rangeMax;
        c.rangeMin = 0;
        c.offset = 0;
        c.colour = kScopeChannels[i].colour;
        c.penWidth = static_cast<int>(i) == focused ? kFocusedPenWidth : kPenWidth;
        c.value = static_cast<float>(values[i]);
    }
}

const ScopePicture& OSCYLOSKOP::Draw(int width, int height) {
    m_sampleCount = std::min(m_sampleCount + 1, kHistory);
    m_picture.width = width;
    m_picture.height = height;
    m_picture.background = kBackground;
    m_picture.steps.clear();
    drawGrid(width, height);
    for (Channel& c : m_channels)
        if (c.enabled)
            drawChannel(c, width, height);
    return m_picture;
}

void OSCYLOSKOP::drawGrid(int width, int height) {
    ScopeStep line;
    line.kind = ScopeStep::Kind::Line;
    line.colour = kGridColour;
    line.pen = ScopePen::Dotted;
    const int dy = height / kGridLines;
    const int dx = width / kGridLines;
    for (int i = 0; i < kGridLines; ++i) {
        line.from = {0, dy + i * dy};
        line.to = {width - 1, dy + i * dy};
        m_picture.steps.push_back(line);
    }
    for (int j = 0; j < kGridLines; ++j) {
        line.from = {dx + j * dx, 0};
        line.to = {dx + j * dx, height - 1};
        m_picture.steps.push_back(line);
    }
}

void OSCYLOSKOP::drawChannel(Channel& c, int width, int height) {
    const float value = std::isnan(c.value) ? c.rangeMin : c.value;
    const float clamped = std::clamp(value, c.rangeMin, std::max(c.rangeMin, c.rangeMax));
    // In place, newest first: the oldest sample falls off the end.
    std::copy_backward(c.samples.begin(), c.samples.end() - 1, c.samples.end());
    c.samples[0] = clamped;

    const std::size_t n = std::min(m_sampleCount, static_cast<std::size_t>(std::max(width, 0)));
    c.pointCount = n;
    if (n == 0)
        return;
    const double range = static_cast<double>(c.rangeMax) - c.rangeMin;
    // Multiplying before dividing keeps values that land on a whole pixel exactly on it (the top
    // of the range is y = -1, the line just above the box).
    for (std::size_t x = 0; x < n; ++x) {
        const double above = range > 0 ? (c.samples[x] - c.rangeMin) * height / range : 0.0;
        c.points[x] = {static_cast<int>(x), pixel(height - 1 - above - c.offset)};
    }
    std::size_t largest = 0;
    std::size_t smallest = 0;
    for (std::size_t x = 1; x < n; ++x) {
        if (c.samples[x] >= c.samples[largest])
            largest = x;
        if (c.samples[x] <= c.samples[smallest])
            smallest = x;
    }
    c.largest = c.samples[largest];
    c.largestX = static_cast<int>(largest);
    c.smallest = c.samples[smallest];
    c.smallestX = static_cast<int>(smallest);

    ScopeStep trace;
    trace.kind = ScopeStep::Kind::Polyline;
    trace.colour = c.colour;
    trace.penWidth = c.penWidth;
    trace.points = c.points.data();
    trace.pointCount = n;
    m_picture.steps.push_back(trace);

    ScopeStep label;
    label.kind = ScopeStep::Kind::Text;
    label.colour = c.colour;
    label.fontSize = kFontSize;
    label.from = c.points[largest];
    label.text = fixedText(c.largest, 2);
    m_picture.steps.push_back(label);
    label.from = c.points[smallest];
    label.text = fixedText(c.smallest, 2);
    m_picture.steps.push_back(std::move(label));

    // The smallest value's marker, hatched like the grid.
    const ScopePoint p = c.points[smallest];
    ScopeStep marker;
    marker.kind = ScopeStep::Kind::Rectangle;
    marker.colour = c.colour;
    marker.penWidth = kMarkerPenWidth;
    marker.brush = ScopeBrush::DiagonalCross;
    marker.from = {p.x - 2, p.y - 2};
    marker.to = {p.x + 2, p.y + 2};
    m_picture.steps.push_back(marker);
}

}  // namespace kaldor
