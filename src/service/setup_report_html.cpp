#include "service/setup_report_html.h"

namespace kaldor::setup_report {

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string row(std::string_view caption, std::string_view value) {
    return "<tr><th>" + escaped(caption) + "</th><td>" + escaped(value) + "</td></tr>";
}

}  // namespace kaldor::setup_report
