#include "model/fixed_text.h"

#include <array>
#include <charconv>

namespace kaldor {

std::string fixedText(double value, int decimals, char decimalPoint) {
    // Room for the largest double (309 digits) with more decimals than any text shows.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return {};
    std::string text(buffer.data(), result.ptr);
    if (text.find_first_not_of("-0.") == std::string::npos && !text.empty() && text[0] == '-')
        text.erase(0, 1);
    for (char& c : text)
        if (c == '.')
            c = decimalPoint;
    return text;
}

}  // namespace kaldor
