#pragma once
// Whole-file writes that never leave a half-written file: the content goes to a temporary file
// beside the target, which then replaces the target in one rename.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace kaldor {

// The temporary file a write of `path` goes through: `path` with ".tmp" added, so it never ends
// in an extension a file dialog of ours filters for (".kcfg", ".mqsetD", ".log", ".csv"). A
// temporary file a killed program left behind is removed by the next write of the same file.
[[nodiscard]] std::string temporaryPathFor(const std::string& path);

// Nothing when the file was written; otherwise the reason it was not (the old file, if any, is
// then left as it was).
[[nodiscard]] std::optional<std::string> writeFileAtomically(const std::string& path,
                                                             std::string_view content);

// The first `length` bytes of `source` become `path` the same way, read and written in pieces,
// never held whole. A reason that concerns the source says so ("reading \"source\": ...").
[[nodiscard]] std::optional<std::string> copyFileAtomically(const std::string& source,
                                                            const std::string& path,
                                                            std::uintmax_t length);

// Hands what `f` holds (flushed first) to the disk, so it survives a power cut; false on
// failure.
[[nodiscard]] bool flushToDisk(std::FILE* f);

}  // namespace kaldor
