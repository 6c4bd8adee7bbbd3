#include "diagnostics/error_codes.h"

#include <algorithm>

namespace kaldor {

ErrorTexts::ErrorTexts() : m_unknown(kUnknownErrorText) {
    for (std::size_t i = 0; i < kErrorCodeCount; ++i)
        m_texts[i] = std::string(kBuiltInErrorTexts[i]);
}

bool ErrorTexts::replace(std::size_t code, std::string text) {
    if (code >= kReplaceableErrorTexts)
        return false;
    m_texts[code] = std::move(text);
    return true;
}

const std::string& ErrorTexts::text(unsigned code) const {
    // The end marker only closes the controller's table; a memory holding it is damaged.
    if (code >= kErrorEndMarker)
        return m_unknown;
    return m_texts[code];
}

std::string ErrorTexts::describe(unsigned code) const {
    return std::to_string(code) + " " + text(code);
}

std::uint16_t ErrorBlock::word(std::size_t index) const {
    if (2 * index + 1 >= kSize)
        return 0;
    return static_cast<std::uint16_t>(m_bytes[2 * index] | (m_bytes[2 * index + 1] << 8));
}

void ErrorBlock::setWord(std::size_t index, std::uint16_t value) {
    if (2 * index + 1 >= kSize)
        return;
    m_bytes[2 * index] = static_cast<std::uint8_t>(value & 0xFF);
    m_bytes[2 * index + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::vector<std::string> errorListRows(const ErrorBlock& block, const ErrorTexts& texts,
                                       const std::string& noErrorsText) {
    std::vector<std::string> rows(kErrorGridRows);
    const std::size_t stored = block.count();
    if (stored == 0) {
        rows[0] = noErrorsText;
        return rows;
    }
    const std::size_t listed = std::min(stored, kErrorGridRows);
    for (std::size_t r = 0; r < listed; ++r)
        rows[r] = texts.describe(block.word(r));
    return rows;
}

}  // namespace kaldor
