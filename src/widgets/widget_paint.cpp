#include "widgets/widget_paint.h"

#include <algorithm>
#include <cmath>

namespace widget_paint {

namespace {

struct StepChoice {
    double mantissa;
    int minorDivisions;
};
constexpr StepChoice kStepChoices[] = {{1.0, 5}, {2.0, 4}, {2.5, 5}, {5.0, 5}};

// A scale never gets more labels than fit, whatever range it is given.
constexpr int kMaxMajors = 40;

}  // namespace

QFont scaledFont(const QFont& base, qreal pixelSize, bool bold) {
    QFont font(base);
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(std::max(kMinFontPixels, pixelSize)))));
    font.setBold(bold);
    return font;
}

QColor textColourOn(const QColor& background) {
    const double luminance =
        0.299 * background.redF() + 0.587 * background.greenF() + 0.114 * background.blueF();
    return luminance > 0.55 ? QColor(Qt::black) : QColor(Qt::white);
}

Range orderedRange(double minimum, double maximum) {
    if (!std::isfinite(minimum)) {
        minimum = 0.0;
    }
    if (!std::isfinite(maximum)) {
        maximum = minimum;
    }
    return minimum <= maximum ? Range{minimum, maximum} : Range{maximum, minimum};
}

double rangeFraction(double value, const Range& range) {
    const double span = range.upper - range.lower;
    if (!(span > 0.0) || std::isnan(value)) {
        return 0.0;
    }
    return std::clamp((value - range.lower) / span, 0.0, 1.0);
}

Scale niceScale(const Range& range, int targetDivisions) {
    Scale scale;
    const double span = range.upper - range.lower;
    if (!(span > 0.0) || !std::isfinite(span)) {
        scale.majors.push_back(range.lower);
        scale.labelPattern = "0";
        return scale;
    }
    targetDivisions = std::clamp(targetDivisions, 1, kMaxMajors - 1);
    const double rough = span / targetDivisions;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    StepChoice chosen = kStepChoices[0];
    double step = magnitude * 10.0;
    for (const StepChoice& choice : kStepChoices) {
        if (choice.mantissa * magnitude >= rough * 0.999) {
            chosen = choice;
            step = choice.mantissa * magnitude;
            break;
        }
    }
    scale.step = step;
    scale.minorDivisions = chosen.minorDivisions;

    // A tick just outside the range (0 on a scale starting at 0.001) still belongs to it.
    const double tolerance = span * 0.005;
    const double first = std::ceil((range.lower - tolerance) / step) * step;
    for (int i = 0; i < kMaxMajors; ++i) {
        const double tick = first + i * step;
        if (tick > range.upper + tolerance) {
            break;
        }
        scale.majors.push_back(std::fabs(tick) < step * 1e-9 ? 0.0 : tick);
    }

    // Enough decimals to tell neighbouring labels apart.
    int decimals = 0;
    double scaled = step;
    while (decimals < 6 && std::fabs(scaled - std::round(scaled)) > 1e-6 * std::max(1.0, scaled)) {
        scaled *= 10.0;
        ++decimals;
    }
    scale.labelPattern = decimals == 0 ? QString("0") : QString("0.") + QString(decimals, '0');
    return scale;
}

}  // namespace widget_paint
