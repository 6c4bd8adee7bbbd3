#include "maps/mapping_chart.h"

#include <algorithm>

#include "live/live_signals.h"
#include "model/fixed_text.h"

namespace kaldor {
namespace {

constexpr double kGridVoltStep = 0.5;
constexpr int kGridVoltLines = 31;  // 0 .. 15 V
constexpr int kGridBarLines = 41;   // 0 .. 4 bar in tenths
constexpr double kBarPerPoint = 0.0625;
constexpr int kGridFontSize = 8;
constexpr int kTextFontSize = 10;
constexpr int kMarkerHalf = 3;  // squares and circles of 6 pixels
constexpr int kPointRadius = 5;
constexpr int kSeriesPenWidth = 2;

constexpr ScopeColour kDarkRed{128, 0, 0};
constexpr ScopeColour kCodeHighBackground{0, 128, 0};

// Coordinates are truncated to whole pixels; a far-off value stays inside what an int holds.
int pixel(double v) {
    constexpr double kLimit = 1e9;
    return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

ScopeStep line(ScopeColour colour, ScopePoint from, ScopePoint to, int width = 1,
               ScopePen pen = ScopePen::Solid) {
    ScopeStep s;
    s.kind = ScopeStep::Kind::Line;
    s.colour = colour;
    s.penWidth = width;
    s.pen = pen;
    s.from = from;
    s.to = to;
    return s;
}

ScopeStep text(ScopeColour colour, ScopePoint at, std::string t, int fontSize) {
    ScopeStep s;
    s.kind = ScopeStep::Kind::Text;
    s.colour = colour;
    s.from = at;
    s.text = std::move(t);
    s.fontSize = fontSize;
    return s;
}

// A rectangle or an ellipse of the given half size around a point.
ScopeStep shape(ScopeStep::Kind kind, ScopePoint centre, int half, ScopeColour outline,
                ScopeColour fill, int width = 1) {
    ScopeStep s;
    s.kind = kind;
    s.colour = outline;
    s.penWidth = width;
    s.fill = fill;
    s.from = {centre.x - half, centre.y - half};
    s.to = {centre.x + half, centre.y + half};
    return s;
}

}  // namespace

MappingChart::MappingChart(char decimalPoint) : m_decimalPoint(decimalPoint) {
    m_picture.steps.reserve(2 * kGridVoltLines + 2 * kGridBarLines + 3 * kMappingSeriesPoints + 8);
}

const ScopePicture& MappingChart::draw(int width, int height, const CalibrationBlock& block,
                                       const LiveFrame& frame, int tpsTypeItem) {
    if (tpsTypeItem >= 0 && static_cast<std::size_t>(tpsTypeItem) < kMappingThrottleRanges.size())
        m_range = kMappingThrottleRanges[static_cast<std::size_t>(tpsTypeItem)];
    m_picture.width = width;
    m_picture.height = height;
    m_picture.background = kScopeWhite;
    m_picture.steps.clear();
    const double sx = width / m_range;
    const double sy = height / kMappingMaxBar;
    drawGrid(sx, sy);
    drawSeries(block, sx, sy);
    drawCurrentPoint(frame, sx, sy);
    return m_picture;
}

void MappingChart::drawGrid(double sx, double sy) {
    const int width = m_picture.width;
    const int height = m_picture.height;
    for (int i = 0; i < kGridVoltLines; ++i) {
        const double volts = i * kGridVoltStep;
        const int x = pixel(volts * sx);
        m_picture.steps.push_back(
            line(kMappingGridColour, {x, 0}, {x, height}, 1, ScopePen::Dotted));
        m_picture.steps.push_back(text(kMappingGridColour, {x, height - 16},
                                       fixedText(volts, 1, m_decimalPoint), kGridFontSize));
    }
    for (int i = 0; i < kGridBarLines; ++i) {
        const double bar = i / 10.0;
        const int y = pixel(height - bar * sy);
        m_picture.steps.push_back(
            line(kMappingGridColour, {0, y}, {width, y}, 1, ScopePen::Dotted));
        if (i > 0 && i < kGridBarLines - 1)
            m_picture.steps.push_back(text(kMappingGridColour, {1, y - 8},
                                           fixedText(bar, 2, m_decimalPoint), kGridFontSize));
    }
}

void MappingChart::drawSeries(const CalibrationBlock& block, double sx, double sy) {
    // The series hold throttle counts, converted as the live throttle signal is.
    const auto x = [sx](std::uint16_t w) {
        return pixel(liveValueOfRaw(LiveSignal::Throttle, w, LiveContext{}) * sx);
    };
    for (int i = 0; i < kMappingSeriesPoints; ++i) {
        const std::uint16_t p = block.word(static_cast<std::size_t>(i));
        const std::uint16_t s = block.word(static_cast<std::size_t>(kMappingSeriesPoints + i));
        const int y = pixel(m_picture.height - i * kBarPerPoint * sy);
        if (p != 0 && s != 0)
            m_picture.steps.push_back(line(p > s ? kMappingRising : kMappingOther, {x(p), y},
                                           {x(s), y}, kSeriesPenWidth));
        if (p != 0)
            m_picture.steps.push_back(shape(ScopeStep::Kind::Rectangle, {x(p), y}, kMarkerHalf,
                                            kMappingMarkerOutline, kScopeBlack, kSeriesPenWidth));
        if (s != 0)
            m_picture.steps.push_back(
                shape(ScopeStep::Kind::Ellipse, {x(s), y}, kMarkerHalf, kScopeBlue, kScopeBlue));
    }
}

void MappingChart::drawCurrentPoint(const LiveFrame& frame, double sx, double sy) {
    const int height = m_picture.height;
    const LiveContext context;
    const ScopePoint point{
        pixel(liveValue(frame, LiveSignal::Throttle, context) * sx),
        pixel(height - liveValue(frame, LiveSignal::ManifoldPressure, context) * sy)};
    m_picture.steps.push_back(line(kDarkRed, point, {5, point.y}));
    m_picture.steps.push_back(line(kDarkRed, {point.x, height - 5}, point));
    m_picture.steps.push_back(
        shape(ScopeStep::Kind::Ellipse, point, kPointRadius, kDarkRed, kMappingPointFill));
    ScopeStep low = text(kDarkRed, {30, height - 20},
                         liveText(frame, LiveSignal::ChartCode1, context), kTextFontSize);
    low.textBackground = kMappingPointFill;
    m_picture.steps.push_back(std::move(low));
    ScopeStep high = text(kDarkRed, {60, height - 20},
                          liveText(frame, LiveSignal::ChartCode2, context), kTextFontSize);
    high.textBackground = kCodeHighBackground;
    m_picture.steps.push_back(std::move(high));
}

}  // namespace kaldor
