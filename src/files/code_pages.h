#pragma once
// Language files were written in the 8-bit code page of their language's script; the window
// shows UTF-8. These are the code pages the languages use, decoded from compact tables so the
// result never depends on which converters the system has installed.
#include <cstddef>
#include <string>
#include <string_view>

namespace kaldor {

// 1250, 1251, 1252, 1253, 1257 and 874.
[[nodiscard]] bool isSupportedCodePage(int codePage);

// Bytes of one code page as UTF-8. Bytes the code page leaves undefined, and every byte above
// 0x7F of an unsupported code page, become U+FFFD so they show as visibly wrong, never as
// control characters.
[[nodiscard]] std::string decodeCodePage(std::string_view bytes, int codePage);

// Length of the well-formed UTF-8 sequence at pos (1 to 4), or 0 when the bytes there are not
// one (stray continuation byte, overlong form, surrogate, above U+10FFFF, cut off by the end).
[[nodiscard]] std::size_t utf8SequenceLength(std::string_view bytes, std::size_t pos);

[[nodiscard]] bool isValidUtf8(std::string_view bytes);

// Well-formed sequences kept, every ill-formed byte replaced by U+FFFD.
[[nodiscard]] std::string sanitizeUtf8(std::string_view bytes);

}  // namespace kaldor
