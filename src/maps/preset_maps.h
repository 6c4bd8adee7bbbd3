#pragma once
// The four preset main maps of each of the two sets: set A for a regulator with its vacuum line
// connected, set B without. Same layout as the map: row by row, eight cells a row.
#include <array>
#include <cstdint>

#include "maps/main_map.h"
#include "model/ecu_image.h"

namespace kaldor {

using MainMapCells = std::array<std::uint8_t, kMainMapCells>;

inline constexpr int kPresetMapCount = 4;  // "LOW FLOW" .. "VERY BIG FLOW"

// Preset k (1..4) of the set the regulator's vacuum line chooses; nothing for another k.
[[nodiscard]] const MainMapCells* presetMap(int k, bool vacuumConnected);
[[nodiscard]] const MainMapCells* presetMap(int k, const EcuImage& image);

}  // namespace kaldor
