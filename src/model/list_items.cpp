#include "model/list_items.h"

#include <cmath>

namespace kaldor {

namespace {
constexpr double kEgtDegreesPerVolt = 285.8;
}

std::string egtMaxItem(int item) {
    const long degrees = std::lround(item * 0.1 * kEgtDegreesPerVolt);
    const std::string celsius = std::to_string(degrees) +
                                "\xC2\xB0"
                                "C";
    if (item == kEgtMaxItems - 1)
        return "5V      " + celsius;
    return std::to_string(item / 10) + "," + std::to_string(item % 10) + "V   " + celsius;
}

}  // namespace kaldor
