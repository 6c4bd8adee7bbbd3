#pragma once
// The heading texts the window writes into the map grids when it is created. The grids belong
// to their pages; these are only their initial headings (the refresh from a controller's image
// rewrites some of them).
#include <QString>
#include <QWidget>

#include <array>

namespace kaldor {

enum class HeaderFormat {
    Integer,      // the value as it stands
    TwoDecimals,  // value in hundredths, always two decimals: 50 -> "0.50"
    Shortest,     // value in hundredths, shortest form: 100 -> "1", 105 -> "1.05"
};

// One heading row: count values written into row 0, columns firstColumn onward.
struct GridHeader {
    const char* grid;
    int firstColumn;
    HeaderFormat format;
    const int* values;
    int count;
};

struct GridHeaderText {
    const char* grid;
    int column;
    int row;
    const char* text;
};

[[nodiscard]] QString headerText(int value, HeaderFormat format);

// Writes every fixed heading into the grids found by name under root. A grid that does not
// exist, or cells outside it, are skipped.
void writeFixedGridHeaders(QWidget* root);

}  // namespace kaldor
