// The texts a screen reader says that the window shows nowhere: their English built in (in
// SpokenText order) and their targets in the language files' range from kFirstSpokenTextId.
#include <cstddef>

#include "files/text_ids.h"
#include "files/text_ids_internal.h"

namespace kaldor {
namespace {

using text_targets::make;

// In SpokenText order.
constexpr std::array<std::string_view, kSpokenTextIdCount> kSpokenEnglish{
    "on",
    "off",
    "scope trace %1 (%2)",
    "black",
    "red",
    "green",
    "blue",
    "calibration tables",
    "engine speed",
    "differential pressure",
    "transfer progress",
    "Error memory",
    "Main map",
    "Cruise map",
    "CDi emulator type",
    "CDi threshold %1",
    "CDi value %1",
    "dynamic coefficient on",
    "dynamic coefficient",
    "assumed software revision",
    "main enrichment [%]",
    "main injection offset [ms]",
    "frequency algorithm",
    "frequency grid",
    "frequency emulator duty",
    "throttle signal kind",
    "column presets",
    "row presets",
    "diesel consumption [l/h]",
    "propane consumption [l/h]",
    "diesel table",
    "gas table",
    "correction table",
    "gas and diesel difference [%]",
    "TPS emulator table",
    "step emulator table",
};

constexpr std::array<TextTarget, kSpokenTextIdCount> kSpokenTable = [] {
    std::array<TextTarget, kSpokenTextIdCount> table{};
    for (int i = 0; i < kSpokenTextIdCount; ++i)
        table[static_cast<std::size_t>(i)] =
            make(kFirstSpokenTextId + TextId(i), TextKind::SpokenText, {}, i);
    return table;
}();
static_assert(kSpokenTextIdCount <= 50, "the spoken texts keep to 101400-101449");
static_assert(kFirstSpokenTextId >= kFirstWindowTextId + kWindowTextIdCount &&
                  kFirstSpokenTextId + kSpokenTextIdCount <= kFirstCellTextId,
              "the spoken texts follow the window's and end below the cell view's");

}  // namespace

std::string_view spokenTextEnglish(SpokenText text) {
    const auto index = static_cast<std::size_t>(text);
    return index < kSpokenEnglish.size() ? kSpokenEnglish[index] : std::string_view();
}

const std::array<TextTarget, kSpokenTextIdCount>& spokenTextIdTable() {
    return kSpokenTable;
}

}  // namespace kaldor
