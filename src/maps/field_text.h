#pragma once
// Field values as an installer reads them in a list of differences: one element of a field named
// the way its page shows it ("MainMap row 3 column 5") and its value in the page's units
// ("1.500 bar", "1200 rpm", "item 2"). The numbers come from the codecs, so a value reads the
// same here as in its control; the decimal point is always '.'.
#include <cstddef>
#include <string>

#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

// The field's name for a scalar; for maps, tables and axes the name with the cell: "MainMap row 3
// column 5", "StepEmulatorTable row K2 column 12", "CorrectionMaps EGT column 4",
// "MainMapRowAxis row 7", "ReservedTail word 380". Rows and columns count from 1.
[[nodiscard]] std::string fieldElementName(FieldId id, std::size_t element);

// One element's value with its unit, read from `image` (a period by that image's rpm signal
// type, a main map axis by that image's map type). A value the codec can not show (an input
// channel the list does not offer) is given as "raw N". A PIN is never shown, only whether one
// is set.
[[nodiscard]] std::string fieldValueText(const EcuImage& image, FieldId id, std::size_t element);

// The same value with its unit apart ("1.500" and "bar"; the unit is empty for a number without
// one, a list item, a switch, a PIN), for a listing a program reads.
struct ShownField {
    std::string value;
    std::string unit;
};
[[nodiscard]] ShownField fieldShown(const EcuImage& image, FieldId id, std::size_t element);

}  // namespace kaldor
