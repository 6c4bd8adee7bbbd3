#pragma once
// The cruise-control map: one row of gas doses over the manifold pressure. Its pressure axis and
// the edges of its live column depend on the controller's software revision.
#include <array>
#include <cstddef>
#include <cstdint>

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

// Lower edges of columns 1 onward in millibar of manifold pressure.
using CruiseEdges = std::array<int, kCruiseMapColumns - 1>;
inline constexpr CruiseEdges kCruiseEdgesRevision3{900,  1000, 1050, 1100, 1150, 1200, 1250, 1300,
                                                   1350, 1400, 1450, 1500, 1550, 1600, 1650, 1700,
                                                   1800, 1900, 2000, 2100, 2300, 2500, 2700};
inline constexpr CruiseEdges kCruiseEdgesFrom4{1000, 1050, 1100, 1150, 1200, 1300, 1350, 1400,
                                               1500, 1600, 1700, 1800, 1900, 2000, 2100, 2200,
                                               2400, 2600, 2800, 3000, 3200, 3400, 3600};

// Before revision 3 the map has no live column (it is hidden).
[[nodiscard]] constexpr bool cruiseHasLiveColumn(unsigned softwareRevision) {
    return softwareRevision >= 3;
}

// The column the engine works in: the largest whose lower edge the pressure reaches, 0 below
// the first; 0 where the map has no live column.
[[nodiscard]] constexpr int cruiseLiveColumn(std::uint16_t millibar, unsigned softwareRevision) {
    if (!cruiseHasLiveColumn(softwareRevision))
        return 0;
    const CruiseEdges& edges = softwareRevision == 3 ? kCruiseEdgesRevision3 : kCruiseEdgesFrom4;
    int column = 0;
    for (std::size_t i = 0; i < edges.size(); ++i)
        if (millibar >= edges[i])
            column = static_cast<int>(i) + 1;
    return column;
}

}  // namespace kaldor
