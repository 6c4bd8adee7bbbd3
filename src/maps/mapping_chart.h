#pragma once
// The mapping chart of PaintBoxMapowanie: the calibration block's two series (throttle signal
// over manifold pressure, one point per 62.5 millibar) against a grid of throttle volts and bar,
// with the engine's current point. draw() describes the whole picture as a list of drawing steps
// that the page paints into an off-screen bitmap and copies onto the paint box in one step.
#include <array>

#include "live/live_frame.h"
#include "live/oscyloskop.h"

namespace kaldor {

// The chart's throttle range in volts by the item of ComboBoxTpsType ("1V" .. "15V").
inline constexpr std::array<double, 13> kMappingThrottleRanges{1,   1.25, 1.5, 2,  2.5, 3, 4,
                                                               4.5, 5,    7.5, 10, 12,  15};
inline constexpr double kMappingInitialRange = 12;
inline constexpr double kMappingMaxBar = 4;
inline constexpr int kMappingSeriesPoints = 64;

inline constexpr ScopeColour kMappingGridColour{162, 162, 162};
inline constexpr ScopeColour kMappingRising{255, 0, 0};  // series 1 above series 2
inline constexpr ScopeColour kMappingOther{0, 128, 128};
inline constexpr ScopeColour kMappingMarkerOutline{128, 128, 128};
inline constexpr ScopeColour kMappingPointFill{230, 0, 5};

class MappingChart {
public:
    explicit MappingChart(char decimalPoint = '.');

    // One picture for a box of this size; tpsTypeItem is ComboBoxTpsType's item (an item the list
    // does not hold keeps the last range).
    const ScopePicture& draw(int width, int height, const CalibrationBlock& block,
                             const LiveFrame& frame, int tpsTypeItem);

    [[nodiscard]] double throttleRange() const { return m_range; }
    [[nodiscard]] const ScopePicture& picture() const { return m_picture; }

private:
    void drawGrid(double sx, double sy);
    void drawSeries(const CalibrationBlock& block, double sx, double sy);
    void drawCurrentPoint(const LiveFrame& frame, double sx, double sy);

    char m_decimalPoint;
    double m_range = kMappingInitialRange;
    ScopePicture m_picture;
};

}  // namespace kaldor
