#include "maps/map_colour.h"

namespace kaldor {
namespace {

std::uint8_t component(long long value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

}  // namespace

Rgb MapCellColour(long value) {
    const long long v = value;
    if (v > 0)
        return {255, component(255 - v), component(255 - v)};
    if (v < 0)
        return {component(255 + 2 * v), component(255 + 2 * v), 255};
    return {255, 255, 255};
}

}  // namespace kaldor
