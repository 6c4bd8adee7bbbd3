#pragma once
// The difference between two parameter images, field by field: what the PC holds against what the
// controller or a configuration file holds. One list serves "verify ECU", "compare with file..."
// and the command-line comparison, so all three name and show a difference the same way.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/ecu_image.h"
#include "model/fields.h"
#include "service/setup_description.h"

namespace kaldor {

// The locations that belong to the controller: listed apart and never written to it.
inline constexpr std::array<FieldId, 4> kControllerOwnedFields{{
    FieldId::ControllerSerialNumber,
    FieldId::ControllerPin,
    FieldId::ReservedTail,
    FieldId::ReservedByte51,
}};
[[nodiscard]] bool isControllerOwnedByte(std::size_t byteOffset);

// One write to the controller: a word by its index or a byte by its offset.
struct SentLocation {
    SendAs as = SendAs::Word;  // Word or Byte
    std::uint16_t at = 0;

    friend bool operator==(const SentLocation& a, const SentLocation& b) {
        return a.as == b.as && a.at == b.at;
    }
};

struct Difference {
    std::string
        name;  // "parameters / minimum pressure [bar]", "main map 0.9 bar x 1500 rpm", "byte 124"
    std::optional<FieldId> field;  // nothing for a location no field names
    std::size_t element = 0;       // of the field
    std::size_t byteOffset = 0;    // where the location starts, for the order of the list
    std::string first;             // value in the first image, in the page's units
    std::string second;            // value in the second image
    std::uint32_t firstRaw = 0;    // for a bit field its bits, for a location no field names
    std::uint32_t secondRaw = 0;   // the bits no field names
    // The writes that make the second image's holder equal the first; none for a location of
    // the controller.
    std::vector<SentLocation> sends;
};

struct ImageDiff {
    std::vector<Difference> entries;          // by byte offset, then bit
    std::vector<Difference> controllerOwned;  // kControllerOwnedFields that differ

    // Nothing to write: the images agree everywhere but, perhaps, the controller's locations.
    [[nodiscard]] bool writableMatch() const { return entries.empty(); }
    [[nodiscard]] bool identical() const { return entries.empty() && controllerOwned.empty(); }
};

// Field by field, element by element: a bit field by its own bits, a map or table by its cells,
// a 32-bit value as one entry; bits and bytes no field names by byte offset. An entry is named as
// the set-up's description names it (the page's caption, a map cell by the first image's axes)
// in the given language; each side is shown by its own image (a period by its own rpm signal
// type, a list's item by its text).
[[nodiscard]] ImageDiff diffImages(const EcuImage& first, const EcuImage& second,
                                   const SetupTexts& texts = {});

// Every write of the entries once, in address order; a byte inside a word that goes out anyway
// is left out.
[[nodiscard]] std::vector<SentLocation> writesToMatch(const ImageDiff& diff);

// A plain-text table for a terminal or a report: one line per entry, "name: first | second",
// headed by the two labels, the controller's locations in a section of their own.
[[nodiscard]] std::string diffText(const ImageDiff& diff, const std::string& firstLabel,
                                   const std::string& secondLabel);

}  // namespace kaldor
