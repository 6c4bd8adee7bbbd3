#include "widgets/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

// Patterns as the window's controls use them, with the digit, rounding and sign rules.
const std::vector<FormatCase> kCases = {
    // "#0.0#": one to two decimals.
    {0.5, "#0.0#", "0.5"},
    {0.45, "#0.0#", "0.45"},
    {1.0, "#0.0#", "1.0"},
    {0.4, "#0.0#", "0.4"},
    {1.2, "#0.0#", "1.2"},
    {0.05, "#0.0#", "0.05"},
    {0.999, "#0.0#", "1.0"},
    {0.125, "#0.0#", "0.13"},
    {-0.125, "#0.0#", "-0.13"},
    {-2.0, "#0.0#", "-2.0"},
    {24.0, "#0.0#", "24.0"},
    // "##0.00": always two decimals.
    {0.0, "##0.00", "0.00"},
    {2.675, "##0.00", "2.68"},
    {1.005, "##0.00", "1.01"},
    {-0.004, "##0.00", "0.00"},
    {-0.005, "##0.00", "-0.01"},
    {3.0, "##0.00", "3.00"},
    {1234.5, "##0.00", "1234.50"},
    // "##0.0", "##0", "#0": whole numbers grow past the pattern.
    {4.95, "##0.0", "5.0"},
    {4.94, "##0.0", "4.9"},
    {-0.04, "##0.0", "0.0"},
    {9999.0, "##0", "9999"},
    {0.5, "##0", "1"},
    {-0.5, "##0", "-1"},
    {-0.4, "##0", "0"},
    {2.5, "#0", "3"},
    {-25.0, "#0", "-25"},
    {123456789.0, "#0", "123456789"},
    // "##00" and "#0#": two integer digits at least.
    {5.0, "##00", "05"},
    {-5.0, "##00", "-05"},
    {150.0, "##00", "150"},
    {0.0, "##00", "00"},
    {5.0, "#0#", "05"},
    {1200.0, "#0#", "1200"},
    {99.5, "#0#", "100"},
    // "0" and "#": "#" shows no digit for zero.
    {7.0, "0", "7"},
    {0.0, "0", "0"},
    {7.0, "#", "7"},
    {0.0, "#", ""},
    {0.4, "#", ""},
    {-0.0, "0", "0"},
    // Decimals without a leading digit.
    {0.5, "#.##", ".5"},
    {0.0, "#.##", ""},
    // Tiny and huge magnitudes.
    {1e-20, "##0.00", "0.00"},
    {-1e-20, "##0.00", "0.00"},
    {1e20, "#0", "100000000000000000000"},
    {0.000049, "0.0000", "0.0000"},
    {0.00005, "0.0000", "0.0001"},
};

TEST(NumberFormat, GoldenTable) {
    for (const FormatCase& c : kCases) {
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected)
            << "value " << c.value << " pattern \"" << c.pattern << "\"";
    }
}

TEST(NumberFormat, NonFiniteAndEmptyPattern) {
    EXPECT_EQ(formatNumber(std::nan(""), "##0"), "NaN");
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), "##0"), "INF");
    EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity(), "##0"), "-INF");
    EXPECT_EQ(formatNumber(1.25, ""), "1.25");
    EXPECT_EQ(formatNumber(-0.0, ""), "0");
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::max(), "#0.0").size(), 311u);
}

TEST(NumberFormat, QStringOverloadMatches) {
    EXPECT_EQ(formatNumber(0.45, QStringLiteral("#0.0#")), QStringLiteral("0.45"));
    EXPECT_EQ(formatNumber(-40.0, QStringLiteral("##00")), QStringLiteral("-40"));
}

}  // namespace
