// The traces as the log viewer paints them: each lane's names, unit and scale in the margin and
// its channels as strokes per column (or lines between the records at the finest zoom), the fuel
// mode as a band of colours, the time axis, and the colours of the channels and fuel modes.
#include <QLine>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "live/status_texts.h"
#include "model/fixed_text.h"
#include "ui/log_viewer/trace_view.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

constexpr int kLaneGap = 6;
// Time-axis steps in seconds; the first whose labels stand this far apart is used.
constexpr int kTickSpacing = 90;
constexpr double kTickSteps[] = {0.1, 0.2, 0.5, 1,   2,    5,    10,   15,    30,   60,
                                 120, 300, 600, 900, 1800, 3600, 7200, 14400, 28800};

constexpr std::array<QRgb, 8> kTraceColours{0x1F5FBF, 0xC0392B, 0x2E8B57, 0x8E44AD,
                                            0xD35400, 0x16A085, 0x7F5F2A, 0x34495E};
// As the side panel's fuel buttons light: diesel, auto, propane; an error in red.
constexpr std::array<QRgb, 4> kFuelModeColours{0xEBBE28, 0x4696EB, 0x3CC83C, 0xE6281E};
// The fuel modes by their status texts, in the order of their numbers.
constexpr std::string StatusTexts::*kFuelModeNames[] = {
    &StatusTexts::diesel, &StatusTexts::autoMode, &StatusTexts::propane, &StatusTexts::error};

QString timeText(double seconds, bool tenths) {
    const auto tenthsTotal = static_cast<long long>(std::llround(seconds * 10));
    const long long s = tenthsTotal / 10;
    QString text = QStringLiteral("%1:%2:%3")
                       .arg(s / 3600)
                       .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
                       .arg(s % 60, 2, 10, QLatin1Char('0'));
    if (tenths)
        text += QStringLiteral(".%1").arg(tenthsTotal % 10);
    return text;
}

int yOf(double value, const LogLane& lane, const QRect& area) {
    const double span = lane.high > lane.low ? lane.high - lane.low : 1;
    const double f = std::clamp((value - lane.low) / span, 0.0, 1.0);
    return area.bottom() - static_cast<int>(std::lround(f * (area.height() - 1)));
}

}  // namespace

QColor TraceView::colourOf(LiveSignal id) const {
    if (m_view == nullptr)
        return {};
    int index = 0;
    for (const LogLane& lane : m_view->lanes())
        for (const LiveSignal c : lane.channels) {
            if (c == id)
                return QColor::fromRgb(
                    kTraceColours[static_cast<std::size_t>(index) % kTraceColours.size()]);
            ++index;
        }
    return {};
}

QColor TraceView::fuelModeColour(int mode) {
    return QColor::fromRgb(kFuelModeColours[static_cast<std::size_t>(std::clamp(mode, 0, 3))]);
}

void TraceView::renderTraces(QPainter& painter, const QSize& size) {
    const QRect all(QPoint(0, 0), size);
    painter.fillRect(all, Qt::white);
    if (m_view == nullptr || m_view->lanes().empty())
        return;
    const auto& lanes = m_view->lanes();
    const int n = static_cast<int>(lanes.size());
    const int tracesHeight = size.height() - kAxisHeight;
    const int laneHeight = std::max(8, (tracesHeight - (n - 1) * kLaneGap) / n);
    int colourIndex = 0;
    for (int i = 0; i < n; ++i) {
        const QRect area(kScaleWidth, i * (laneHeight + kLaneGap), size.width() - kScaleWidth,
                         laneHeight);
        paintLane(painter, lanes[static_cast<std::size_t>(i)], area, colourIndex);
    }
    paintAxis(painter, QRect(kScaleWidth, tracesHeight, size.width() - kScaleWidth, kAxisHeight));
}

void TraceView::paintLane(QPainter& painter, const LogLane& lane, const QRect& area,
                          int& colourIndex) {
    painter.fillRect(area, QColor(247, 247, 247));
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(area.adjusted(0, 0, -1, -1));

    // The lane's names in their colours, its unit and scale in the margin.
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect label(2, area.top(), kScaleWidth - 6, area.height());
    int y = label.top() + metrics.ascent();
    if (!lane.band)
        y += metrics.height();  // below the top of the scale
    if (lane.band) {
        painter.setPen(Qt::black);
        static const StatusTexts kEnglishStatus;
        const StatusTexts& status = m_status ? *m_status : kEnglishStatus;
        painter.drawText(label.left(), y, channelName(language(), LiveSignal::FuelMode));
        for (int m = 0; m < 4 && y + metrics.height() <= label.bottom(); ++m) {
            y += metrics.height();
            painter.fillRect(label.left(), y - metrics.ascent() + 2, 8, 8, fuelModeColour(m));
            painter.setPen(Qt::black);
            painter.drawText(label.left() + 12, y,
                             QString::fromStdString(status.*kFuelModeNames[m]));
        }
        paintBand(painter, area);
        return;
    }
    const int first = colourIndex;
    for (const LiveSignal id : lane.channels) {
        if (y + metrics.descent() <= label.bottom() - metrics.height()) {
            painter.setPen(QColor::fromRgb(
                kTraceColours[static_cast<std::size_t>(colourIndex) % kTraceColours.size()]));
            painter.drawText(
                label.left(), y,
                metrics.elidedText(channelName(language(), id), Qt::ElideRight, label.width()));
            y += metrics.height();
        }
        ++colourIndex;
    }
    const int decimals = liveSignalDef(lane.channels.front()).decimals;
    painter.setPen(Qt::black);
    const QString unit = QString::fromUtf8(lane.unit.c_str());
    painter.drawText(
        label, Qt::AlignRight | Qt::AlignTop,
        QString::fromStdString(fixedText(lane.high, decimals)) + QLatin1Char(' ') + unit);
    painter.drawText(
        label, Qt::AlignRight | Qt::AlignBottom,
        QString::fromStdString(fixedText(lane.low, decimals)) + QLatin1Char(' ') + unit);

    painter.save();
    painter.setClipRect(area);
    colourIndex = first;
    std::vector<QLine> lines;
    for (const LiveSignal id : lane.channels) {
        painter.setPen(QColor::fromRgb(
            kTraceColours[static_cast<std::size_t>(colourIndex++) % kTraceColours.size()]));
        if (m_view->perColumn()) {
            // A vertical stroke per column from its minimum to its maximum, reaching to the
            // column before so the trace has no gaps.
            const std::vector<ValueRange>& columns = m_view->columns(id);
            lines.clear();
            lines.reserve(columns.size());
            for (std::size_t c = 0; c < columns.size(); ++c) {
                double lo = columns[c].minimum;
                double hi = columns[c].maximum;
                if (c > 0) {
                    lo = std::min(lo, columns[c - 1].maximum);
                    hi = std::max(hi, columns[c - 1].minimum);
                }
                const int x = area.left() + static_cast<int>(c);
                lines.emplace_back(x, yOf(lo, lane, area), x, yOf(hi, lane, area));
            }
            painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        } else {
            QPolygon points;
            for (std::size_t r = m_view->visibleFirst(); r < m_view->visibleLast(); ++r) {
                const double x = m_view->columnOf(static_cast<double>(r) + 0.5);
                points << QPoint(area.left() + static_cast<int>(std::lround(x)),
                                 yOf(m_view->value(id, r), lane, area));
            }
            painter.drawPolyline(points);
        }
    }
    painter.restore();
}

void TraceView::paintBand(QPainter& painter, const QRect& area) {
    // The upper half shows the highest mode of a column, the lower half the lowest: a column in
    // which the engine fell back to diesel shows diesel below whatever else it ran on.
    const QRect band = area.adjusted(1, 1, -1, -1);
    const int half = band.height() / 2;
    auto fill = [&](int x0, int x1, int lo, int hi) {
        painter.fillRect(QRect(x0, band.top(), x1 - x0, half), fuelModeColour(hi));
        painter.fillRect(QRect(x0, band.top() + half, x1 - x0, band.height() - half),
                         fuelModeColour(lo));
    };
    if (m_view->perColumn()) {
        const std::vector<ValueRange>& columns = m_view->columns(LiveSignal::FuelMode);
        std::size_t start = 0;
        for (std::size_t c = 1; c <= columns.size(); ++c) {
            if (c < columns.size() && columns[c].minimum == columns[start].minimum &&
                columns[c].maximum == columns[start].maximum)
                continue;
            fill(band.left() + static_cast<int>(start), band.left() + static_cast<int>(c),
                 static_cast<int>(columns[start].minimum),
                 static_cast<int>(columns[start].maximum));
            start = c;
        }
        return;
    }
    for (std::size_t r = m_view->visibleFirst(); r < m_view->visibleLast(); ++r) {
        const int mode = static_cast<int>(m_view->value(LiveSignal::FuelMode, r));
        const int x0 = band.left() + static_cast<int>(std::floor(m_view->columnOf(r)));
        const int x1 = band.left() + static_cast<int>(std::floor(m_view->columnOf(r + 1.0)));
        fill(std::max(x0, band.left()), std::min(std::max(x1, x0 + 1), band.right() + 1), mode,
             mode);
    }
}

void TraceView::paintAxis(QPainter& painter, const QRect& area) {
    const double secondsPerColumn = m_view->recordsPerColumn() * Recording::kSecondsPerRecord;
    double step = kTickSteps[std::size(kTickSteps) - 1];
    for (const double s : kTickSteps)
        if (s / secondsPerColumn >= kTickSpacing) {
            step = s;
            break;
        }
    const double firstSecond = m_view->first() * Recording::kSecondsPerRecord;
    const double lastSecond = firstSecond + secondsPerColumn * area.width();
    painter.setPen(Qt::black);
    for (double t = std::ceil(firstSecond / step) * step; t <= lastSecond; t += step) {
        const int x =
            area.left() + static_cast<int>(std::lround((t - firstSecond) / secondsPerColumn));
        painter.drawLine(x, area.top(), x, area.top() + 4);
        painter.drawText(QRect(x - 60, area.top() + 4, 120, area.height() - 4),
                         Qt::AlignHCenter | Qt::AlignTop, timeText(t, step < 1));
    }
}

}  // namespace kaldor
