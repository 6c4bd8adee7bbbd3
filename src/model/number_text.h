#pragma once
// Numbers in grid texts: parsing as the runtime's text conversions do (the decimal separator
// handed in, never the process locale) and their messages, and the shortest number format the
// map axes are shown in (the fixed one is model/fixed_text).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kaldor {

// A 32-bit integer: leading blanks, an optional sign, decimal digits.
[[nodiscard]] std::optional<std::int32_t> parseInteger(std::string_view text);
// A number at extended precision: blanks around it, an optional sign, digits with at most one
// decimal separator, an optional exponent.
[[nodiscard]] std::optional<long double> parseNumber(std::string_view text, char decimalPoint);

// The conversion messages a text that does not parse gets.
[[nodiscard]] std::string notAnIntegerMessage(std::string_view text);
[[nodiscard]] std::string notANumberMessage(std::string_view text);

// The shortest plain form with up to 15 significant digits: "0.8", "1", "1.25".
[[nodiscard]] std::string generalText(double value, char decimalPoint);

}  // namespace kaldor
