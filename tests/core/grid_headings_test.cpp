#include <gtest/gtest.h>

#include <tuple>

#include "maps/correction_maps.h"
#include "maps/grid_headings.h"

using namespace kaldor;

namespace {

TEST(HeadingText, WritesExactDecimalsWithTheSeparatorGiven) {
    const std::tuple<int, HeadingFormat, char, const char*> cases[] = {
        {50, HeadingFormat::TwoDecimals, '.', "0.50"},
        {300, HeadingFormat::TwoDecimals, '.', "3.00"},
        {5, HeadingFormat::TwoDecimals, '.', "0.05"},
        {-20, HeadingFormat::TwoDecimals, '.', "-0.20"},
        {100, HeadingFormat::Shortest, '.', "1"},
        {105, HeadingFormat::Shortest, ',', "1,05"},
        {90, HeadingFormat::Shortest, '.', "0.9"},
        {0, HeadingFormat::Shortest, '.', "0"},
        {-5, HeadingFormat::Shortest, '.', "-0.05"},
        {-20, HeadingFormat::Integer, ',', "-20"},
        {260, HeadingFormat::TwoDecimals, ',', "2,60"},
    };
    for (const auto& [value, format, point, text] : cases)
        EXPECT_EQ(headingText(value, format, point), text) << value;
}

// The live column is the largest column whose lower edge the input reaches.
TEST(CorrectionLiveColumn, EdgesOfTheMaps) {
    const auto& maps = correctionMaps();
    const auto& manifold = maps[3];
    const auto& gasTemperature = maps[2];
    const auto& difference = maps[6];
    const std::tuple<const CorrectionMapDef*, int, int> cases[] = {
        {&manifold, 249, 0},     {&manifold, 250, 1},       {&manifold, 2600, 23},
        {&manifold, 65535, 23},  {&gasTemperature, -21, 0}, {&gasTemperature, -20, 1},
        {&gasTemperature, 0, 5}, {&gasTemperature, 90, 23}, {&difference, 2599, 14},
        {&difference, 2600, 15},
    };
    for (const auto& [map, input, column] : cases)
        EXPECT_EQ(correctionLiveColumn(*map, input), column) << map->grid << " " << input;
}

}  // namespace
