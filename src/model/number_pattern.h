#pragma once
// Number patterns ("#0.0#", "##0.00", "##00", ...), as the spin editors, the instruments and the
// set-up description show values. '0' is a digit that is always shown, '#' a digit shown only
// when significant. Before the point, the digits from the leftmost '0' up to the point are always
// shown (so "##00" shows 5 as "05"); larger numbers simply get more digits. After the point, the
// '0's give the smallest and the '0's and '#'s together the largest number of decimals. The value
// is rounded half away from zero at the last decimal that can be shown, after first being taken
// to 15 significant digits so that binary noise (2.675 held as 2.67499999...) does not decide the
// rounding. Negative values get a leading '-', except when every shown digit is zero (never
// "-0"). Any other character of the pattern is ignored. An empty pattern gives the shortest
// general form (up to 15 significant digits). NaN gives "NaN", infinities "INF" and "-INF".
#include <string>
#include <string_view>

namespace kaldor {

[[nodiscard]] std::string patternText(double value, std::string_view pattern);

}  // namespace kaldor
