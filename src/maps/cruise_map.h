#pragma once
// The cruise-control map: one row of gas doses over the manifold pressure. Its pressure axis
// depends on the controller's software revision.
#include <array>

namespace kaldor {

inline constexpr int kCruiseMapColumns = 24;
using CruiseAxis = std::array<int, kCruiseMapColumns>;

// Hundredths of a bar, shown in shortest form ("1", "1.05").
inline constexpr CruiseAxis kCruiseAxisBefore4{90,  90,  100, 105, 110, 115, 120, 125,
                                               130, 135, 140, 145, 150, 155, 160, 165,
                                               170, 180, 190, 200, 210, 230, 250, 270};
inline constexpr CruiseAxis kCruiseAxisFrom4{100, 100, 105, 110, 115, 120, 130, 135,
                                             140, 150, 160, 170, 180, 190, 200, 210,
                                             220, 240, 260, 280, 300, 320, 340, 360};

[[nodiscard]] constexpr const CruiseAxis& cruiseAxis(unsigned softwareRevision) {
    return softwareRevision < 4 ? kCruiseAxisBefore4 : kCruiseAxisFrom4;
}

}  // namespace kaldor
