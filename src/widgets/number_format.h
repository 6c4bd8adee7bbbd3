#pragma once

#include <QString>

#include <string>
#include <string_view>

// Number patterns of the instrument widgets ("#0.0#", "##0.00", "##00", ...): the core's
// patternText (model/number_pattern.h says how a pattern reads), so a value reads the same on an
// instrument, in an editor and in the set-up description.
[[nodiscard]] std::string formatNumber(double value, std::string_view pattern);
[[nodiscard]] QString formatNumber(double value, const QString& pattern);
// A literal pattern would otherwise fit both of the above.
[[nodiscard]] inline std::string formatNumber(double value, const char* pattern) {
    return formatNumber(value, std::string_view(pattern != nullptr ? pattern : ""));
}
