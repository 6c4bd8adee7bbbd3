#include "widgets/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// 15 significant digits is what a double holds reliably; more digits would show binary noise.
constexpr int kSignificantDigits = 15;

struct PatternShape {
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
};

PatternShape parsePattern(std::string_view pattern) {
    PatternShape shape;
    bool afterPoint = false;
    bool zeroSeen = false;
    for (const char c : pattern) {
        if (c == '.') {
            afterPoint = true;
        } else if (c == '0') {
            if (afterPoint) {
                ++shape.minDecimals;
                ++shape.maxDecimals;
            } else {
                zeroSeen = true;
                ++shape.minIntegerDigits;
            }
        } else if (c == '#') {
            if (afterPoint) {
                ++shape.maxDecimals;
            } else if (zeroSeen) {
                ++shape.minIntegerDigits;
            }
        }
    }
    return shape;
}

std::string generalFormat(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", kSignificantDigits, value);
    std::string text(buffer);
    if (text == "-0") {
        text = "0";
    }
    return text;
}

// The decimal digits of |value| and the position of the decimal point within them:
// |value| = 0.d1d2d3... * 10^pointPos.
struct DecimalDigits {
    std::string digits;
    int pointPos = 0;
};

DecimalDigits decimalDigits(double magnitude) {
    DecimalDigits result;
    if (magnitude == 0.0) {
        result.digits = "0";
        result.pointPos = 1;
        return result;
    }
    char buffer[64];
    // "d.dddddddddddddde+XX"
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    const std::string text(buffer);
    const std::size_t ePos = text.find('e');
    for (std::size_t i = 0; i < ePos && i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            result.digits.push_back(text[i]);
        }
    }
    const int exponent = ePos == std::string::npos ? 0 : std::atoi(text.c_str() + ePos + 1);
    result.pointPos = exponent + 1;
    return result;
}

}  // namespace

std::string formatNumber(double value, std::string_view pattern) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (pattern.empty()) {
        return generalFormat(value);
    }
    const PatternShape shape = parsePattern(pattern);
    const bool negative = std::signbit(value);
    DecimalDigits decimal = decimalDigits(std::fabs(value));

    // With leading zeros the digits start at the decimal point, so that every digit before
    // the point and every decimal has its place in the string.
    if (decimal.pointPos < 0) {
        decimal.digits.insert(0, static_cast<std::size_t>(-decimal.pointPos), '0');
        decimal.pointPos = 0;
    }

    // Keep the integer digits and maxDecimals decimals, rounding half away from zero.
    const std::size_t keep =
        static_cast<std::size_t>(decimal.pointPos) + static_cast<std::size_t>(shape.maxDecimals);
    std::string kept;
    if (keep >= decimal.digits.size()) {
        kept = decimal.digits;
        kept.append(keep - decimal.digits.size(), '0');
    } else {
        kept = decimal.digits.substr(0, keep);
        if (decimal.digits[keep] >= '5') {
            std::size_t i = kept.size();
            while (i > 0 && kept[i - 1] == '9') {
                kept[i - 1] = '0';
                --i;
            }
            if (i > 0) {
                ++kept[i - 1];
            } else {
                kept.insert(kept.begin(), '1');
            }
        }
    }

    const std::size_t split = kept.size() - static_cast<std::size_t>(shape.maxDecimals);
    std::string integerPart = kept.substr(0, split);
    std::string fraction = kept.substr(split);
    const std::size_t firstNonZero = integerPart.find_first_not_of('0');
    integerPart =
        firstNonZero == std::string::npos ? std::string() : integerPart.substr(firstNonZero);
    if (static_cast<int>(integerPart.size()) < shape.minIntegerDigits) {
        integerPart.insert(0, static_cast<std::size_t>(shape.minIntegerDigits) - integerPart.size(),
                           '0');
    }
    while (static_cast<int>(fraction.size()) > shape.minDecimals && !fraction.empty() &&
           fraction.back() == '0') {
        fraction.pop_back();
    }

    const bool allZero = integerPart.find_first_not_of('0') == std::string::npos &&
                         fraction.find_first_not_of('0') == std::string::npos;
    std::string text;
    if (negative && !allZero) {
        text.push_back('-');
    }
    text += integerPart;
    if (!fraction.empty()) {
        text.push_back('.');
        text += fraction;
    }
    return text;
}

QString formatNumber(double value, const QString& pattern) {
    const QByteArray patternBytes = pattern.toLatin1();
    return QString::fromStdString(formatNumber(
        value,
        std::string_view(patternBytes.constData(), static_cast<std::size_t>(patternBytes.size()))));
}
