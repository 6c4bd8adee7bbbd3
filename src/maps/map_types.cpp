#include "maps/map_types.h"

namespace kaldor {
namespace {

using F = HeadingFormat;
using Columns = std::array<int, 8>;
using Rows = std::array<int, 16>;

// Default column axes by map type (the pressure-only map has none).
constexpr Columns kRpmColumns{700, 900, 1200, 1500, 2000, 2200, 2600, 3000};
constexpr Columns kTpsLinearColumns{20, 60, 100, 130, 160, 190, 220, 240};
// Beyond the two shown columns the switch sits far above any throttle voltage.
constexpr Columns kTpsSwitchColumns{250, 260, 3000, 3000, 3000, 3000, 3000, 3000};
constexpr Columns kAirFlowColumns{20, 50, 100, 120, 150, 180, 220, 250};
constexpr Columns kTpsRpmColumns{500, 1000, 1500, 2000, 2500, 3000, 3500, 4000};

constexpr Rows kPressureRows{80,  90,  100, 110, 120, 130, 140, 150,
                             160, 170, 180, 190, 200, 210, 220, 230};
constexpr Rows kThrottleRows{20,  40,  60,  80,  100, 120, 140, 160,
                             180, 200, 220, 240, 260, 280, 300, 320};
constexpr Rows kTpsKindRows{90,  95,  100, 110, 120, 130, 140, 150,
                            160, 170, 180, 190, 200, 210, 220, 230};

struct ColumnPreset {
    Columns rpm;
    Columns tpsLinear;
    Columns tpsSwitch;
    Columns airFlow;
};

// ComboBoxRpmDefs items 1..9. The item labels are rough: item 4 writes air flow 0.10 .. 4.60.
constexpr std::array<ColumnPreset, kColumnPresetCount> kColumnPresets{{
    {{700, 900, 1200, 1500, 2000, 2200, 2600, 3000},
     {20, 60, 100, 130, 160, 190, 220, 240},
     {100, 110, 3000, 3000, 3000, 3000, 3000, 3000},
     {20, 50, 100, 120, 150, 180, 220, 250}},
    {{900, 1000, 1300, 1800, 2200, 2700, 3100, 3500},
     {50, 100, 150, 200, 250, 300, 350, 400},
     {250, 260, 3000, 3000, 3000, 3000, 3000, 3000},
     {50, 100, 150, 200, 250, 300, 350, 400}},
    {{900, 1200, 1800, 2300, 2800, 3300, 3700, 4000},
     {100, 200, 300, 450, 600, 700, 800, 950},
     {500, 510, 3100, 3150, 3100, 3100, 3100, 3100},
     {100, 150, 200, 250, 300, 350, 370, 400}},
    {{900, 1300, 1800, 2500, 3000, 3500, 4000, 4500},
     {200, 400, 600, 700, 800, 900, 1000, 1100},
     {800, 900, 3100, 3100, 3100, 3100, 3100, 3100},
     {10, 80, 150, 200, 240, 300, 380, 460}},
    {{800, 1000, 1300, 1600, 1900, 2200, 2400, 2600},
     {600, 650, 700, 750, 800, 850, 900, 950},
     {600, 650, 3100, 3100, 3100, 3100, 3100, 3100},
     {50, 60, 70, 80, 90, 100, 120, 150}},
    {{800, 1000, 1300, 1600, 1800, 2100, 2300, 2500},
     {60, 100, 150, 200, 250, 300, 380, 450},
     {60, 70, 3100, 3100, 3100, 3100, 3100, 3100},
     {50, 70, 90, 110, 130, 150, 170, 200}},
    {{800, 1000, 1200, 1500, 1800, 2000, 2200, 2400},
     {100, 110, 120, 140, 150, 170, 190, 220},
     {100, 110, 3100, 3100, 3100, 3100, 3100, 3100},
     {10, 20, 30, 40, 50, 60, 70, 80}},
    {{700, 900, 1100, 1300, 1500, 1800, 2000, 2200},
     {50, 100, 140, 170, 200, 250, 300, 340},
     {50, 60, 3100, 3100, 3100, 3100, 3100, 3100},
     {50, 100, 140, 170, 200, 250, 300, 340}},
    {{700, 900, 1150, 1300, 1450, 1600, 1800, 2000},
     {50, 100, 140, 170, 200, 250, 300, 340},
     {50, 60, 3100, 3100, 3100, 3100, 3100, 3100},
     {50, 100, 140, 170, 200, 250, 300, 340}},
}};

// ComboBoxInjTdefs items 1..21; item 15 repeats 0.980 on purpose.
constexpr std::array<RowAxisTexts, kRowPresetCount> kRowPresets{{
    {F::TwoDecimals,
     {90, 95, 100, 102, 108, 110, 115, 118, 121, 125, 130, 135, 140, 145, 150, 155}},
    {F::TwoDecimals,
     {90, 95, 100, 103, 108, 112, 116, 120, 125, 130, 135, 140, 145, 150, 155, 160}},
    {F::TwoDecimals,
     {90, 95, 100, 105, 110, 115, 120, 125, 130, 135, 140, 145, 150, 155, 160, 170}},
    {F::TwoDecimals,
     {90, 95, 100, 110, 115, 120, 130, 140, 150, 155, 165, 170, 175, 180, 185, 190}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 125, 130, 135, 140, 145, 160, 170, 180, 185, 190, 195, 200}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 125, 130, 135, 140, 145, 160, 170, 180, 185, 190, 200, 210}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 125, 130, 135, 140, 145, 160, 170, 180, 190, 200, 210, 220}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 125, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220, 230, 240}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 130, 150, 170, 190, 200, 210, 220, 230, 240, 250, 260, 270}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 130, 150, 170, 190, 200, 220, 240, 260, 270, 280, 290, 300}},
    {F::TwoDecimals,
     {95, 100, 110, 120, 130, 150, 170, 190, 200, 220, 240, 260, 280, 300, 320, 340}},
    {F::TwoDecimals, {25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100}},
    {F::TwoDecimals, {25, 35, 45, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170}},
    {F::ThreeDecimals,
     {850, 860, 870, 880, 890, 900, 910, 920, 930, 940, 950, 960, 970, 980, 980, 1000}},
    {F::ThreeDecimals,
     {900, 905, 910, 915, 920, 925, 930, 935, 940, 945, 950, 960, 970, 980, 990, 1000}},
    {F::ThreeDecimals,
     {900, 910, 920, 930, 940, 950, 960, 970, 980, 990, 1000, 1010, 1020, 1030, 1040, 1050}},
    {F::ThreeDecimals,
     {950, 955, 960, 965, 970, 975, 980, 985, 990, 995, 1000, 1010, 1020, 1030, 1040, 1050}},
    {F::TwoDecimals,
     {110, 112, 115, 120, 130, 145, 160, 175, 190, 205, 220, 235, 250, 275, 290, 300}},
    {F::TwoDecimals,
     {110, 112, 115, 120, 130, 145, 160, 180, 200, 220, 240, 260, 280, 300, 320, 340}},
    {F::TwoDecimals,
     {110, 112, 115, 120, 130, 145, 160, 180, 200, 225, 250, 275, 300, 320, 340, 360}},
}};

}  // namespace

const MapTypeDef* mapTypeDef(unsigned type) {
    return type < kMapTypes.size() ? &kMapTypes[type] : nullptr;
}

int mainMapColCount(unsigned type, bool tpsSwitch) {
    const MapTypeDef* def = mapTypeDef(type);
    if (def == nullptr)
        return kMapTypes[0].colCount;
    return type == kMapTypeTps && tpsSwitch ? kTpsSwitchColCount : def->colCount;
}

std::optional<ColumnAxisTexts> defaultColumnAxis(unsigned type, bool tpsSwitch) {
    switch (type) {
        case 1:
            return ColumnAxisTexts{F::Integer, kRpmColumns};
        case 2:
            return ColumnAxisTexts{F::TwoDecimals,
                                   tpsSwitch ? kTpsSwitchColumns : kTpsLinearColumns};
        case 3:
            return ColumnAxisTexts{F::TwoDecimals, kAirFlowColumns};
        case 4:
            return ColumnAxisTexts{F::Integer, kTpsRpmColumns};
        default:
            return std::nullopt;
    }
}

std::optional<RowAxisTexts> defaultRowAxis(unsigned type) {
    if (type == kMapTypeTpsRpm)
        return RowAxisTexts{F::Shortest, kThrottleRows};
    if (type < kMapTypes.size())
        return RowAxisTexts{F::TwoDecimals, kPressureRows};
    return std::nullopt;
}

RowAxisTexts tpsKindRowAxis() {
    return {F::TwoDecimals, kTpsKindRows};
}

std::optional<ColumnAxisTexts> columnPreset(int item, unsigned type, bool tpsSwitch) {
    if (item < 1 || item > kColumnPresetCount)
        return std::nullopt;
    const ColumnPreset& p = kColumnPresets[static_cast<std::size_t>(item - 1)];
    switch (type) {
        case 1:
            return ColumnAxisTexts{F::Integer, p.rpm};
        case 2:
            return ColumnAxisTexts{F::TwoDecimals, tpsSwitch ? p.tpsSwitch : p.tpsLinear};
        case 3:
            return ColumnAxisTexts{F::TwoDecimals, p.airFlow};
        default:
            return std::nullopt;
    }
}

std::optional<RowAxisTexts> rowPreset(int item) {
    if (item < 1 || item > kRowPresetCount)
        return std::nullopt;
    return kRowPresets[static_cast<std::size_t>(item - 1)];
}

}  // namespace kaldor
