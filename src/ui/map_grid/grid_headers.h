#pragma once
// Heading texts in the map grids: numbers written with the system's decimal separator, and the
// fixed headings the window writes when it is created (the refresh from a controller's image
// rewrites some of them).
#include <QString>
#include <QWidget>

#include "maps/grid_headings.h"

namespace kaldor {

// The system's decimal separator as the core's number texts take it; '.' for one outside ASCII.
[[nodiscard]] char localeDecimalPoint();

// A heading number as a grid shows it, with the decimal separator of the system's number format.
[[nodiscard]] QString headingCellText(int value, HeadingFormat format);

// Writes every fixed heading into the grids found by name under root. A grid that does not
// exist, or cells outside it, are skipped.
void writeFixedGridHeaders(QWidget* root);

}  // namespace kaldor
