#pragma once
// What the files of text_ids share: how a target is written, and the window texts' targets (the
// spoken texts' are public). For text_ids.cpp, window_text_ids.cpp and spoken_text_ids.cpp only.
#include <array>
#include <cstdint>
#include <string_view>

#include "files/text_ids.h"

namespace kaldor {
namespace text_targets {

constexpr TextTarget make(TextId id, TextKind kind, std::string_view control, int index = 0,
                          Reselect reselect = Reselect::None, FieldId field = FieldId::Count) {
    return {id, kind, control, static_cast<std::uint8_t>(index), reselect, field};
}

}  // namespace text_targets

// The window texts, in ascending order.
[[nodiscard]] const std::array<TextTarget, kWindowTextIdCount>& windowTextIdTable();

}  // namespace kaldor
