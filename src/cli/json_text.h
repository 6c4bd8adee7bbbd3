#pragma once
// Strings as JSON string literals: quotes, backslashes and control characters escaped, every
// other byte (UTF-8 included) as it is.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor::cli {

[[nodiscard]] inline std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

// ["a", "b"]
[[nodiscard]] inline std::string jsonStrings(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : ", ") + jsonString(items[i]);
    return out + "]";
}

}  // namespace kaldor::cli
