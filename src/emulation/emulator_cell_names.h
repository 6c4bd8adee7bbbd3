#pragma once
// The emulator maps' cells named by their axis values ("K1 x 2.50 V", "K2 x 30"), and the
// throttle map's axis read in the unit of the chosen input.
#include <cstddef>
#include <optional>
#include <string>

#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

// A cell of the throttle or the step emulator map by its channel and axis value; nothing for
// another field.
[[nodiscard]] std::optional<std::string> emulatorCellName(const EcuImage& image, FieldId id,
                                                          std::size_t element);
// A value of the throttle map's axis with the chosen input's unit; nothing for another field or
// a value the input's rule does not show.
[[nodiscard]] std::optional<std::string> emulatorAxisValue(const EcuImage& image, FieldId id,
                                                           std::size_t element);

}  // namespace kaldor
