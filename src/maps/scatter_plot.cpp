#include "maps/scatter_plot.h"

#include <algorithm>

#include "maps/main_map.h"
#include "model/fields.h"

namespace kaldor {
namespace {

void widen(ValueRange& r, double v, bool first) {
    r.minimum = first ? v : std::min(r.minimum, v);
    r.maximum = first ? v : std::max(r.maximum, v);
}

}  // namespace

std::vector<double> mapAxisLines(const RecordingSetup& setup, LiveSignal channel) {
    const MainMapAxes axes = mainMapAxes(setup.image);
    std::vector<double> lines;
    if (axes.type == nullptr)
        return lines;
    if (axes.type->columns != AxisKind::None && axes.type->columnSignal == channel)
        for (const std::uint16_t w : axes.columns)
            lines.push_back(liveValueOfRaw(channel, w, setup.context));
    else if (axes.type->rowSignal == channel)
        for (const std::uint16_t w : axes.rows)
            lines.push_back(liveValueOfRaw(channel, w, setup.context));
    return lines;
}

ScatterPlot scatterPlot(const Recording& recording, const RecordingSetup& setup, LiveSignal x,
                        LiveSignal y, LiveSignal colour, std::size_t first, std::size_t last,
                        std::size_t maxPoints) {
    ScatterPlot plot;
    last = std::min(last, recording.size());
    first = std::min(first, last);
    plot.xLines = mapAxisLines(setup, x);
    plot.yLines = mapAxisLines(setup, y);
    if (first == last || maxPoints == 0)
        return plot;
    const ChannelValues xs(recording, x, setup.context);
    const ChannelValues ys(recording, y, setup.context);
    const ChannelValues cs(recording, colour, setup.context);
    const std::size_t step = std::max<std::size_t>(1, (last - first + maxPoints - 1) / maxPoints);
    plot.points.reserve((last - first) / step + 1);
    for (std::size_t i = first; i < last; i += step) {
        const ScatterPoint p{xs.at(i), ys.at(i), cs.at(i)};
        const bool none = plot.points.empty();
        widen(plot.x, p.x, none);
        widen(plot.y, p.y, none);
        widen(plot.colour, p.colour, none);
        plot.points.push_back(p);
    }
    return plot;
}

Histogram histogram(const Recording& recording, const LiveContext& context, LiveSignal channel,
                    std::size_t first, std::size_t last, std::size_t bins) {
    Histogram h;
    last = std::min(last, recording.size());
    first = std::min(first, last);
    h.counts.assign(std::max<std::size_t>(bins, 1), 0);
    if (first == last)
        return h;
    const ChannelValues values(recording, channel, context);
    for (std::size_t i = first; i < last; ++i)
        widen(h.range, values.at(i), i == first);
    const double width = h.range.maximum - h.range.minimum;
    for (std::size_t i = first; i < last; ++i) {
        std::size_t bin = 0;
        if (width > 0)
            bin = std::min(h.counts.size() - 1,
                           static_cast<std::size_t>((values.at(i) - h.range.minimum) / width *
                                                    static_cast<double>(h.counts.size())));
        ++h.counts[bin];
    }
    return h;
}

}  // namespace kaldor
