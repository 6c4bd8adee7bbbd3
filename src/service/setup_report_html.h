#pragma once
// How the set-up report writes its HTML: the escaping, the table frame and the caption-and-value
// row its parts share, and the report's captions in the chosen language.
// Internal to the report (service/setup_report*.cpp).
#include <array>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

#include "service/setup_report.h"

namespace kaldor::setup_report {

inline constexpr const char* kTable = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">";

// The text with the characters HTML reads as markup written as entities.
[[nodiscard]] std::string escaped(std::string_view text);
// One table row: the caption as its heading cell, the value beside it.
[[nodiscard]] std::string row(std::string_view caption, std::string_view value);

// The report's texts in the chosen language, looked up once.
class Captions {
public:
    explicit Captions(const SetupTexts& texts) {
        for (const ReportCaptionText& c : kReportCaptions)
            m_texts[static_cast<std::size_t>(c.caption)] = reportCaption(texts, c.caption);
    }
    const std::string& operator()(ReportCaption caption) const {
        return m_texts[static_cast<std::size_t>(caption)];
    }
    std::string tagged(ReportCaption caption, const char* tag = "h2") const {
        return std::string("<") + tag + ">" + escaped((*this)(caption)) + "</" + tag + ">";
    }

private:
    std::array<std::string, std::size(kReportCaptions)> m_texts;
};

}  // namespace kaldor::setup_report
