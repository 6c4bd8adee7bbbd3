#include "model/number_text.h"

#include <array>
#include <charconv>
#include <limits>
#include <locale>
#include <sstream>

namespace kaldor {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string withSeparator(std::string text, char decimalPoint) {
    for (char& c : text)
        if (c == '.')
            c = decimalPoint;
    return text;
}

}  // namespace

std::optional<std::int32_t> parseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<long double> parseNumber(std::string_view text, char decimalPoint) {
    text = trimmed(text);
    // Checked here by hand, so that the conversion below only ever sees a plain number in C form.
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    int digits = 0;
    bool separator = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++digits;
            plain += c;
        } else if (c == decimalPoint && !separator) {
            separator = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        const std::size_t first = i;
        while (i < text.size() && isDigit(text[i]))
            plain += text[i++];
        if (i == first)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    // Not std::from_chars: MinGW's reads a long double through double, so 0.95 would store 949
    // millibar. The stream in the classic locale hands the text to the C library's strtold,
    // which keeps the extended digits on every platform, whatever locale the program runs in.
    std::istringstream in(plain);
    in.imbue(std::locale::classic());
    long double value = 0;
    in >> value;
    if (in.fail() || in.peek() != std::char_traits<char>::eof())
        return std::nullopt;
    return value;
}

std::string notAnIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string notANumberMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

std::string generalText(double value, char decimalPoint) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    return withSeparator(std::string(buffer.data(), result.ptr), decimalPoint);
}

}  // namespace kaldor
