#pragma once
// The number patterns the pages' spin editors show their values in ("#0.0#", "#0#", "#0.0"),
// for texts that must read as the editor reads: '0' a digit always shown, '#' one shown only
// when significant; after the point the '0's give the fewest and '0's and '#'s the most
// decimals. The value is first taken to 15 significant digits, then rounded half away from zero
// at the last decimal shown; never "-0". The instrument widgets format the same patterns
// themselves, as they include nothing of the core; the set-up description's tests hold the two
// to the same texts.
#include <string>
#include <string_view>

namespace kaldor {

[[nodiscard]] std::string patternText(double value, std::string_view pattern);

}  // namespace kaldor
