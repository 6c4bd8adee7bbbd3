#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <vector>

// Drawing helpers shared by the instrument widgets. Internal to the widgets library.
namespace widget_paint {

// Below this pixel size text stops being readable on any screen.
constexpr qreal kMinFontPixels = 7.0;

// The widget's own font family (the language may choose it) at a pixel size that follows the
// widget's size.
[[nodiscard]] QFont scaledFont(const QFont& base, qreal pixelSize, bool bold = false);

// Black or white, whichever reads better on the given background.
[[nodiscard]] QColor textColourOn(const QColor& background);

// A value range made safe for drawing: finite, lower <= upper.
struct Range {
    double lower = 0.0;
    double upper = 0.0;
};
[[nodiscard]] Range orderedRange(double minimum, double maximum);

// Where value lies in the range, 0..1, clamped; 0 for an empty range.
[[nodiscard]] double rangeFraction(double value, const Range& range);

// A scale of round-numbered major ticks (steps of 1, 2, 2.5 or 5 times a power of ten) with the
// number of minor divisions between two majors and the pattern for the tick labels.
struct Scale {
    std::vector<double> majors;
    int minorDivisions = 5;
    double step = 1.0;
    QString labelPattern;
};
[[nodiscard]] Scale niceScale(const Range& range, int targetDivisions);

}  // namespace widget_paint
