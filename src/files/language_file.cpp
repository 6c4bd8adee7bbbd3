#include "files/language_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "files/code_pages.h"

namespace kaldor {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kIdLength = 6;

bool hasHighByte(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

// Splits lines into characters: bytes of an 8-bit file, whole sequences of a UTF-8 file (an
// ill-formed byte counts as one character).
class LineReader {
public:
    LineReader(bool utf8, int codePage) : m_utf8(utf8), m_codePage(codePage) {}

    // Byte length of the character at pos.
    [[nodiscard]] std::size_t charLength(std::string_view line, std::size_t pos) const {
        if (!m_utf8)
            return 1;
        const std::size_t length = utf8SequenceLength(line, pos);
        return length == 0 ? 1 : length;
    }

    // Bytes of the first `count` characters, or npos when the line is shorter.
    [[nodiscard]] std::size_t skipChars(std::string_view line, std::size_t count) const {
        std::size_t pos = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (pos >= line.size())
                return std::string_view::npos;
            pos += charLength(line, pos);
        }
        return pos;
    }

    // The first `maxChars` characters of the text (a UTF-8 character of several bytes counts
    // once).
    [[nodiscard]] std::string_view cut(std::string_view text, std::size_t maxChars) const {
        const std::size_t bytes = skipChars(text, maxChars);
        return bytes == std::string_view::npos ? text : text.substr(0, bytes);
    }

    [[nodiscard]] std::string decode(std::string_view bytes) const {
        return m_utf8 ? sanitizeUtf8(bytes) : decodeCodePage(bytes, m_codePage);
    }

private:
    bool m_utf8;
    int m_codePage;
};

std::optional<TextId> parseId(std::string_view digits) {
    TextId id = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        id = id * 10 + TextId(c - '0');
    }
    return id;
}

}  // namespace

bool isUtf8LanguageText(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        return true;
    return hasHighByte(bytes) && isValidUtf8(bytes);
}

LanguageFile parseLanguageText(std::string_view bytes, int codePage) {
    LanguageFile result;
    const bool utf8 = isUtf8LanguageText(bytes);
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    const LineReader reader(utf8, codePage);

    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lineFeed = bytes.find('\n', start);
        const bool hasLineEnd = lineFeed != std::string_view::npos;
        std::string_view line = bytes.substr(start, (hasLineEnd ? lineFeed : bytes.size()) - start);
        start = hasLineEnd ? lineFeed + 1 : bytes.size();
        // A CR is part of the line end only in front of its LF.
        if (hasLineEnd && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        if (!line.empty() && line.front() == '#')
            continue;
        const std::size_t idEnd = reader.skipChars(line, kIdLength);
        const std::size_t textStart = reader.skipChars(line, kIdLength + 1);
        // Empty lines and lines too short to hold an id and a separator carry nothing.
        if (textStart == std::string_view::npos)
            continue;
        const std::string_view idChars = line.substr(0, idEnd);
        const std::optional<TextId> id = parseId(idChars);
        if (!id) {
            result.error = "'" + reader.decode(idChars) + "' is not a valid integer value";
            return result;
        }
        if (!findTextId(*id))
            continue;
        const std::string_view text = reader.cut(line.substr(textStart), kMaxLanguageTextChars);
        result.entries.push_back({*id, reader.decode(text)});
    }
    return result;
}

LanguageFile readLanguageFile(const std::string& path, int codePage) {
    LanguageFile unreadable;
    unreadable.error = std::string(kLanguageFileError);
    unreadable.refused = true;
    std::error_code notFile;
    if (!std::filesystem::is_regular_file(path, notFile))
        return unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return unreadable;
    const auto tooLarge = [&path](std::uintmax_t size) {
        LanguageFile refused;
        refused.refused = true;
        refused.error = "The language file \"" + path + "\" was not read: it holds " +
                        std::to_string(size) + " bytes, more than the " +
                        std::to_string(kMaxLanguageFileBytes) + " a language file may hold.";
        return refused;
    };
    // Measured first, so a huge file is never read in.
    std::error_code unmeasured;
    const std::uintmax_t size = std::filesystem::file_size(path, unmeasured);
    if (!unmeasured && size > kMaxLanguageFileBytes)
        return tooLarge(size);
    std::string bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        // A file that grew while being read.
        if (bytes.size() > kMaxLanguageFileBytes)
            return tooLarge(bytes.size());
    }
    if (in.bad())
        return unreadable;
    return parseLanguageText(bytes, codePage);
}

LanguageFile readLanguage(const std::string& baseFolder, const std::string& programFolder,
                          const LanguageDef& language) {
    std::string refusals;
    for (const std::string& path : languageFiles(baseFolder, programFolder, language)) {
        LanguageFile file = readLanguageFile(path, language.codePage);
        if (!file.refused) {
            if (!refusals.empty())
                file.error = refusals + " The shipped file \"" + path + "\" is used instead." +
                             (file.error ? "\n" + *file.error : std::string());
            return file;
        }
        if (file.error && *file.error != kLanguageFileError)
            refusals += (refusals.empty() ? "" : " ") + *file.error;
    }
    LanguageFile missing;
    missing.refused = true;
    missing.error = refusals.empty() ? std::string(kLanguageFileError) : refusals;
    return missing;
}

}  // namespace kaldor
