#pragma once
// Reading a language file. Each line is a comment ("#" first) or an entry: six characters of
// decimal TextId, one separator character that is dropped whatever it is, and the text byte for
// byte up to the line end (CR LF or LF; the last line needs none). Texts are 8-bit in the
// language's code page, or UTF-8 when the file is evidently UTF-8.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/languages.h"
#include "files/text_ids.h"

namespace kaldor {

inline constexpr std::size_t kMaxLanguageTextChars = 254;
// Far above any real language file; a larger file is not read at all.
inline constexpr std::size_t kMaxLanguageFileBytes = 1 << 20;
// The message box text for a language file that cannot be read.
inline constexpr std::string_view kLanguageFileError = "ERROR";

struct LanguageEntry {
    TextId id;
    std::string text;  // UTF-8
};

struct LanguageFile {
    // Entries with ids the table lists, in file order; an id given twice appears twice.
    std::vector<LanguageEntry> entries;
    // Set when reading stopped early: kLanguageFileError when the file could not be opened,
    // the file's name and size when it is over kMaxLanguageFileBytes (no entries either way),
    // or "'<id>' is not a valid integer value" at a malformed id, with the entries before that
    // line kept.
    std::optional<std::string> error;
    bool refused = false;  // nothing was read: the file could not be opened or is too large
};

// True when the bytes are to be read as UTF-8: they start with a byte-order mark, or they are
// well-formed UTF-8 holding at least one multi-byte character.
[[nodiscard]] bool isUtf8LanguageText(std::string_view bytes);

// The entries of a file's bytes; codePage decodes 8-bit texts.
[[nodiscard]] LanguageFile parseLanguageText(std::string_view bytes, int codePage);
[[nodiscard]] LanguageFile readLanguageFile(const std::string& path, int codePage);
// The language's file from the folder findLanguageFile picks, decoded by the language's code
// page; kLanguageFileError when no folder has it. A file that is refused (too large, unreadable)
// gives way to the shipped file of the language, and the message names both.
[[nodiscard]] LanguageFile readLanguage(const std::string& baseFolder,
                                        const std::string& programFolder,
                                        const LanguageDef& language);

}  // namespace kaldor
