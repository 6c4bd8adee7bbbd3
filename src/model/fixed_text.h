#pragma once
// The one fixed-decimal number format of the program: live readings, map axes, the CSV export
// and messages all show their decimals through it.
#include <string>

namespace kaldor {

// Fixed notation with `decimals` digits after the separator, whatever the process locale (the
// window's toolkit sets the system's locale, and printf would then write a decimal comma where
// a point is promised). A value that rounds to zero shows no sign.
[[nodiscard]] std::string fixedText(double value, int decimals, char decimalPoint = '.');

}  // namespace kaldor
