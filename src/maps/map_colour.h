#pragma once
// The colour every map grid of the program gives a cell from its signed value: white for 0, ever
// deeper red for positive values, ever deeper blue for negative ones.
#include <cstdint>

namespace kaldor {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(Rgb a, Rgb b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
    friend constexpr bool operator!=(Rgb a, Rgb b) { return !(a == b); }
};

// The cell the engine works in.
inline constexpr Rgb kOperatingPointColour{255, 255, 0};
// The column of a one-row map the engine works in, with its text in red.
inline constexpr Rgb kLiveColumnColour{139, 217, 233};
inline constexpr Rgb kLiveColumnTextColour{255, 0, 0};
// The live cell of the cruise map while cruise control holds, and the calibration tables' cell
// of the operating point.
inline constexpr Rgb kActiveCellColour{0, 255, 0};

// Each component stays within 0..255 for every input: a percentage table can hold values far
// beyond the range a main map cell has.
[[nodiscard]] Rgb MapCellColour(long value);

}  // namespace kaldor
