#pragma once
// The mask of error groups the controller may raise (`EnabledErrors`, word 276) and its eight
// check boxes in "Enabled Errors". Bits without a box keep whatever the controller holds.
#include <array>
#include <cstddef>
#include <string_view>

#include "model/ecu_image.h"
#include "model/field_sender.h"

namespace kaldor {

struct EnabledErrorBox {
    std::string_view checkBox;  // control name
    std::string_view caption;
    unsigned bit;  // of word 276
};

inline constexpr std::size_t kEnabledErrorBoxCount = 8;
inline constexpr std::array<EnabledErrorBox, kEnabledErrorBoxCount> kEnabledErrorBoxes{{
    {"CheckBoxErr1", "Tr", 0},
    {"CheckBoxErr2", "Tg", 1},
    {"CheckBoxErr4", "Pres", 3},
    {"CheckBoxErr5", "MAF", 4},
    {"CheckBoxErr6", "VDC", 5},
    {"CheckBoxErr9", "rpm", 8},
    {"CheckBoxErr10", "InjG", 9},
    {"CheckBoxErr11", "EGT", 10},
}};

// Ticked or not, in the order of kEnabledErrorBoxes.
using EnabledErrorStates = std::array<bool, kEnabledErrorBoxCount>;

// What the check boxes show for the image (the refresh step of the enabled errors).
[[nodiscard]] EnabledErrorStates enabledErrorStates(const EcuImage& image);

// "SAVE": the boxes' bits of word 276 follow the boxes, the other bits stay, and the word is
// sent. Returns what the boxes show afterwards.
EnabledErrorStates saveEnabledErrors(EcuImage& image, FieldSender& sender,
                                     const EnabledErrorStates& ticked);

}  // namespace kaldor
