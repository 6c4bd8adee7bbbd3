#pragma once
// Whole-file writes that never leave a half-written file: the content goes to a temporary file
// beside the target, which then replaces the target in one rename.
#include <optional>
#include <string>
#include <string_view>

namespace kaldor {

// Nothing when the file was written; otherwise the reason it was not (the old file, if any, is
// then left as it was).
[[nodiscard]] std::optional<std::string> writeFileAtomically(const std::string& path,
                                                             std::string_view content);

}  // namespace kaldor
