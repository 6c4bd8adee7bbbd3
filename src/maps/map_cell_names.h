#pragma once
// The maps' cells named by their axis values, as their grids head their rows and columns: the
// main map ("0.9 bar x 1500 rpm"), its axes, the cruise map and the correction maps; and the
// name of the group each map field is listed under.
#include <cstddef>
#include <functional>
#include <string>

#include "maps/correction_maps.h"
#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

// The caption a correction map is listed under (its label's text in the chosen language).
using CorrectionCaption = std::function<std::string(const CorrectionMapDef&)>;

// One element of a map field by its axis values; the field's element name for any other field
// or for a cell past its axis.
[[nodiscard]] std::string mapCellName(const EcuImage& image, FieldId id, std::size_t element,
                                      unsigned softwareRevision,
                                      const CorrectionCaption& correctionCaption);

// "main map", "cruise map", "correction maps", "TPS map", "Step map"; the field's name for
// another field.
[[nodiscard]] std::string mapsGroupName(FieldId id);

}  // namespace kaldor
