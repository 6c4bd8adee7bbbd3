#pragma once
// The step edit of the one-row maps (correction maps, cruise map): the grid edit
// (maps/grid_edit.h) on the selected columns of row 1, right-most first, each write followed by
// a pause.
#include <cstddef>

#include "maps/grid_texts.h"
#include "maps/main_map_editor.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/fields.h"

namespace kaldor {

// Each byte a step edit writes leaves the controller this long before the next.
inline constexpr int kMapBytePauseMs = 5;

struct RowMapRange {
    FieldId field;
    std::size_t firstElement;  // the field's element shown in column 0
    int columns;
    int minimum;
    int maximum;
    bool emptyIsZero;  // the grid shows an empty text as 0 (otherwise it does not parse)
};

// The selection's columns within the map, from right to left; its rows are ignored (the
// selection always lies in row 1).
MapEditOutcome stepRowMap(EcuImage& image, FieldSender& sender, GridTexts& grid,
                          const RowMapRange& range, GridRect selection, int step);

}  // namespace kaldor
