#include "maps/grid_headings.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "maps/correction_maps.h"
#include "maps/cruise_map.h"

namespace kaldor {
namespace {

// The main map's column headings and the step emulator's, as a new window shows them.
constexpr int kMainMapColumns[] = {800, 1000, 1500, 2000, 2500, 3000, 3500, 4000};
constexpr int kStepEmulatorColumns[] = {14, 15, 30, 45, 60, 80, 100, 120, 140, 160, 180, 200};

constexpr std::array<GridHeadingText, 3> kTexts{{
    {"StringGridStepEmu", 0, 0, "Step"},
    {"StringGridStepEmu", 0, 1, "K1"},
    {"StringGridStepEmu", 0, 2, "K2"},
}};

std::vector<GridHeading> buildHeadings() {
    std::vector<GridHeading> headings{
        {"StringGridMapa", 1, HeadingFormat::Integer, kMainMapColumns, 8},
        {"StringGridStepEmu", 1, HeadingFormat::Integer, kStepEmulatorColumns, 12},
    };
    for (const CorrectionMapDef& map : correctionMaps())
        headings.push_back({map.grid, 0, map.axisFormat, map.axis, map.columns});
    headings.push_back({"StringGridMapaTempomatu", 0, HeadingFormat::Shortest,
                        kCruiseAxisBefore4.data(), kCruiseMapColumns});
    return headings;
}

const std::vector<GridHeading>& headings() {
    static const std::vector<GridHeading> all = buildHeadings();
    return all;
}

}  // namespace

std::string headingText(int value, HeadingFormat format, char decimalPoint) {
    if (format == HeadingFormat::Integer)
        return std::to_string(value);
    // Integer arithmetic keeps the texts exact: no binary fraction ever decides a digit.
    const long scale = format == HeadingFormat::ThreeDecimals ? 1000 : 100;
    const long magnitude = std::labs(static_cast<long>(value));
    std::string text = std::to_string(magnitude / scale);
    std::string fraction = std::to_string(scale + magnitude % scale).substr(1);
    if (format == HeadingFormat::Shortest) {
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    }
    if (!fraction.empty())
        text += decimalPoint + fraction;
    return value < 0 ? "-" + text : text;
}

std::size_t fixedHeadingCount() {
    return headings().size();
}

const GridHeading& fixedHeading(std::size_t i) {
    return headings().at(i);
}

std::size_t fixedHeadingTextCount() {
    return kTexts.size();
}

const GridHeadingText& fixedHeadingText(std::size_t i) {
    return kTexts.at(i);
}

}  // namespace kaldor
