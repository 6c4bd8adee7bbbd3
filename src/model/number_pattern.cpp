#include "model/number_pattern.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kaldor {
namespace {

// 15 significant digits is what a double holds reliably; more digits would show binary noise.
constexpr int kSignificantDigits = 15;

struct PatternShape {
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
};

PatternShape shapeOf(std::string_view pattern) {
    PatternShape shape;
    bool afterPoint = false;
    bool zeroSeen = false;
    for (const char c : pattern) {
        if (c == '.') {
            afterPoint = true;
        } else if (c == '0') {
            ++(afterPoint ? shape.maxDecimals : shape.minIntegerDigits);
            if (afterPoint)
                ++shape.minDecimals;
            else
                zeroSeen = true;
        } else if (c == '#') {
            if (afterPoint)
                ++shape.maxDecimals;
            else if (zeroSeen)
                ++shape.minIntegerDigits;
        }
    }
    return shape;
}

// |value| = 0.d1d2d3... * 10^pointPos, with 15 significant digits.
struct DecimalDigits {
    std::string digits;
    int pointPos = 0;
};

DecimalDigits decimalDigits(double magnitude) {
    if (magnitude == 0.0)
        return {"0", 1};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    const std::string text(buffer);
    const std::size_t ePos = text.find('e');
    DecimalDigits result;
    for (std::size_t i = 0; i < ePos && i < text.size(); ++i)
        if (text[i] >= '0' && text[i] <= '9')
            result.digits.push_back(text[i]);
    result.pointPos = (ePos == std::string::npos ? 0 : std::atoi(text.c_str() + ePos + 1)) + 1;
    return result;
}

std::string generalForm(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", kSignificantDigits, value);
    const std::string text(buffer);
    return text == "-0" ? "0" : text;
}

}  // namespace

std::string patternText(double value, std::string_view pattern) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (pattern.empty())
        return generalForm(value);
    const PatternShape shape = shapeOf(pattern);
    DecimalDigits decimal = decimalDigits(std::fabs(value));
    if (decimal.pointPos < 0) {
        decimal.digits.insert(0, static_cast<std::size_t>(-decimal.pointPos), '0');
        decimal.pointPos = 0;
    }
    const std::size_t keep =
        static_cast<std::size_t>(decimal.pointPos) + static_cast<std::size_t>(shape.maxDecimals);
    std::string kept;
    if (keep >= decimal.digits.size()) {
        kept = decimal.digits + std::string(keep - decimal.digits.size(), '0');
    } else {
        kept = decimal.digits.substr(0, keep);
        if (decimal.digits[keep] >= '5') {
            std::size_t i = kept.size();
            while (i > 0 && kept[i - 1] == '9')
                kept[--i] = '0';
            if (i > 0)
                ++kept[i - 1];
            else
                kept.insert(kept.begin(), '1');
        }
    }
    const std::size_t split = kept.size() - static_cast<std::size_t>(shape.maxDecimals);
    std::string integerPart = kept.substr(0, split);
    std::string fraction = kept.substr(split);
    const std::size_t firstNonZero = integerPart.find_first_not_of('0');
    integerPart =
        firstNonZero == std::string::npos ? std::string() : integerPart.substr(firstNonZero);
    if (static_cast<int>(integerPart.size()) < shape.minIntegerDigits)
        integerPart.insert(0, static_cast<std::size_t>(shape.minIntegerDigits) - integerPart.size(),
                           '0');
    while (static_cast<int>(fraction.size()) > shape.minDecimals && fraction.back() == '0')
        fraction.pop_back();
    const bool allZero = integerPart.find_first_not_of('0') == std::string::npos &&
                         fraction.find_first_not_of('0') == std::string::npos;
    std::string text = std::signbit(value) && !allZero ? "-" : "";
    text += integerPart;
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

}  // namespace kaldor
