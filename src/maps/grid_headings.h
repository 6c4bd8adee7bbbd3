#pragma once
// Heading texts of the map grids: the number formats, and the fixed headings the window writes
// when it is created (the refresh from a controller's image rewrites some of them).
#include <cstddef>
#include <string>

namespace kaldor {

enum class HeadingFormat {
    Integer,        // the value as it stands
    TwoDecimals,    // value in hundredths, always two decimals: 50 -> "0.50"
    Shortest,       // value in hundredths, shortest form: 100 -> "1", 105 -> "1.05"
    ThreeDecimals,  // value in thousandths, always three decimals: 850 -> "0.850"
};

// The text of one heading; decimals use the system's decimal separator, handed in.
[[nodiscard]] std::string headingText(int value, HeadingFormat format, char decimalPoint = '.');

// One heading row: count values written into row 0 from firstColumn on.
struct GridHeading {
    const char* grid;
    int firstColumn;
    HeadingFormat format;
    const int* values;
    int count;
};

// One heading cell with a fixed text.
struct GridHeadingText {
    const char* grid;
    int column;
    int row;
    const char* text;
};

[[nodiscard]] std::size_t fixedHeadingCount();
[[nodiscard]] const GridHeading& fixedHeading(std::size_t i);
[[nodiscard]] std::size_t fixedHeadingTextCount();
[[nodiscard]] const GridHeadingText& fixedHeadingText(std::size_t i);

}  // namespace kaldor
