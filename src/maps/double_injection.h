#pragma once
// ComboBoxDoubleTime ("1x", "2x"): with the doubled injection time every gas dose of the cruise
// map and the main map is halved; going back doubles them (capped first, so nothing exceeds 250).
// Both grids then show the maps again; with a controller connected both maps are sent whole,
// cruise columns in order, then the main map column by column, each column from the top row
// down: 152 byte writes.
#include <cstddef>
#include <vector>

#include "maps/grid_texts.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"

namespace kaldor {

// Doubling caps each byte here first.
inline constexpr int kDoublingCap = 125;

struct DoubleInjectionOutcome {
    bool done = false;  // false: no item chosen, nothing changed or sent
    // Bytes whose value changed, as CruiseMap and MainMap elements.
    std::vector<std::size_t> cruiseChanged;
    std::vector<std::size_t> mainChanged;
    // True when all 152 bytes were sent (a controller was connected); the grids show the new
    // bytes either way.
    bool mapsSent = false;
};

// cruiseGrid is StringGridMapaTempomatu (row 1 holds the bytes), mainGrid StringGridMapa.
DoubleInjectionOutcome doubleInjectionTimeChosen(EcuImage& image, FieldSender& sender, int item,
                                                 GridTexts& cruiseGrid, GridTexts& mainGrid);

}  // namespace kaldor
