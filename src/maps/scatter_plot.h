#pragma once
// The log viewer's scatter plot and histogram over a range of a recording: any two channels
// against each other, each point coloured by a third, with the main map's cell borders where a
// plotted channel is one of the map's axes (engine speed against manifold pressure, coloured by
// the exhaust temperature, is the main map's own view of a drive); and how often one channel
// took each value.
#include <cstddef>
#include <optional>
#include <vector>

#include "live/recording.h"
#include "live/recording_setup.h"
#include "live/trace_pyramid.h"

namespace kaldor {

struct ScatterPoint {
    double x = 0;
    double y = 0;
    double colour = 0;
};

struct ScatterPlot {
    std::vector<ScatterPoint> points;  // at most the points asked for, spread over the range
    ValueRange x;
    ValueRange y;
    ValueRange colour;
    // The main map's axis values on each plotted channel (empty: the channel is no axis).
    std::vector<double> xLines;
    std::vector<double> yLines;
};

inline constexpr LiveSignal kScatterX = LiveSignal::EngineSpeed;
inline constexpr LiveSignal kScatterY = LiveSignal::ManifoldPressure;
inline constexpr LiveSignal kScatterColour = LiveSignal::ExhaustTemperature;

// The records [first, last) (clipped); every n-th where there are more than `maxPoints`.
[[nodiscard]] ScatterPlot scatterPlot(const Recording& recording, const RecordingSetup& setup,
                                      LiveSignal x, LiveSignal y, LiveSignal colour,
                                      std::size_t first, std::size_t last,
                                      std::size_t maxPoints = 20000);

// The main map's axis values as the channel reads them, when the set-up's map type has the
// channel on an axis (the pressure-only map has no column axis).
[[nodiscard]] std::vector<double> mapAxisLines(const RecordingSetup& setup, LiveSignal channel);

struct Histogram {
    ValueRange range;
    std::vector<std::size_t> counts;  // `bins` equal widths over the range
};
[[nodiscard]] Histogram histogram(const Recording& recording, const LiveContext& context,
                                  LiveSignal channel, std::size_t first, std::size_t last,
                                  std::size_t bins = 40);

}  // namespace kaldor
