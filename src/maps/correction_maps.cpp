#include "maps/correction_maps.h"

namespace kaldor {
namespace {

// Column headings; decimal ones in hundredths. Columns 0 and 1 carry the same text.
constexpr int kEgtAxis[] = {171, 171, 200, 228, 257, 286, 343, 400, 457, 514, 543, 572,
                            600, 629, 686, 743, 772, 800, 829, 858, 886, 915, 943, 972};
constexpr int kAirFlowAxis[] = {20,  20,  50,  80,  100, 120, 140, 160, 180, 200, 220, 240,
                                260, 280, 300, 320, 340, 360, 380, 400, 420, 440, 460, 480};
constexpr int kTemperatureAxis[] = {-20, -20, -15, -10, -5, 0,  5,  10, 15, 20, 25, 30,
                                    35,  40,  45,  50,  55, 60, 65, 70, 75, 80, 85, 90};
constexpr int kManifoldAxis[] = {25,  25,  35,  40,  45,  50,  60,  70,  80,  90,  100, 110,
                                 120, 130, 140, 150, 160, 170, 180, 190, 200, 220, 240, 260};
constexpr int kGasPressureAxis[] = {90,  90,  100, 110, 120, 130, 140, 150, 160, 170, 180, 190,
                                    200, 210, 220, 230, 240, 250, 260, 270, 280, 290, 300, 320};
constexpr int kDiffPressureAxis[] = {50,  50,  60,  70,  80,  90,  100, 110,
                                     120, 140, 160, 180, 200, 220, 240, 260};

// Lower edges of columns 1 onward, in the live input's units.
constexpr int kEgtEdges[] = {491,  573,  655,  737,  819,  982,  1146, 1310, 1474, 1556, 1638, 1719,
                             1801, 1965, 2129, 2211, 2293, 2375, 2457, 2538, 2620, 2702, 2784};
constexpr int kAirFlowEdges[] = {163,  409,  655,  819,  982,  1146, 1310, 1474,
                                 1638, 1801, 1965, 2129, 2293, 2457, 2620, 2784,
                                 2948, 3112, 3276, 3439, 3603, 3767, 3931};
constexpr int kTemperatureEdges[] = {-20, -15, -10, -5, 0,  5,  10, 15, 20, 25, 30, 35,
                                     40,  45,  50,  55, 60, 65, 70, 75, 80, 85, 90};
constexpr int kManifoldEdges[] = {250,  350,  400,  450,  500,  600,  700,  800,
                                  900,  1000, 1100, 1200, 1300, 1400, 1500, 1600,
                                  1700, 1800, 1900, 2000, 2200, 2400, 2600};
constexpr int kGasPressureEdges[] = {900,  1000, 1100, 1200, 1300, 1400, 1500, 1600,
                                     1700, 1800, 1900, 2000, 2100, 2200, 2300, 2400,
                                     2500, 2600, 2700, 2800, 2900, 3000, 3200};
constexpr int kDiffPressureEdges[] = {500,  600,  700,  800,  900,  1000, 1100, 1200,
                                      1400, 1600, 1800, 2000, 2200, 2400, 2600};

using H = HeadingFormat;
using S = LiveSignal;
constexpr std::array<CorrectionMapDef, kCorrectionMapCount> kMaps{{
    {"StringGridMapaEGT", "ComboBoxMapaEGT", "EditMapaEGT", "LabelMapaEGT", "[%] EGT cor.", 0, 24,
     kEgtAxis, H::Integer, S::ExhaustSignal, kEgtEdges, S::EgtCorrection, 0},
    {"StringGridMapaLambda_5V", "ComboBoxMapaLambda_5V", "EditMapaLambda_5V", "LabelMapaLambda_5V",
     "[%] AirFlow cor.", 24, 24, kAirFlowAxis, H::TwoDecimals, S::AirFlow, kAirFlowEdges,
     S::AirFlowCorrection, 1},
    {"StringGridMapaTempGazu", "ComboBoxMapaTempGazu", "EditMapaTempGazu", "LabelMapaTempGazu",
     "[%] T.G. cor.", 48, 24, kTemperatureAxis, H::Integer, S::PropaneTemperature,
     kTemperatureEdges, S::GasTemperatureCorrection, 2},
    {"StringGridMapaCisnienieKolektora", "ComboBoxMapaCisnienieKolektora",
     "EditMapaCisnienieKolektora", "LabelMapaCisnienieKolektora", "[%] Manifold cor.", 72, 24,
     kManifoldAxis, H::TwoDecimals, S::ManifoldPressure, kManifoldEdges,
     S::ManifoldPressureCorrection, 3},
    {"StringGridMapaCisnienieGazu", "ComboBoxMapaCisnienieGazu", "EditMapaCisnienieGazu",
     "LabelMapaCisnienieGazu", "[%] G.Press cor.", 96, 24, kGasPressureAxis, H::TwoDecimals,
     S::GasPressure, kGasPressureEdges, S::GasPressureCorrection, 4},
    {"StringGridMapaTempReduktora", "ComboBoxMapaTempReduktora", "EditMapaTempReduktora",
     "LabelMapaTempReduktora", "[%] T.R. cor.", 120, 24, kTemperatureAxis, H::Integer,
     S::ReducerTemperature, kTemperatureEdges, S::ReducerTemperatureCorrection, 5},
    {"StringGridMapaCisnienieRoznicowe", "ComboBoxMapaCisnienieRoznicowe",
     "EditMapaCisnienieRoznicowe", "LabelMapaCisnienieRoznicowe", "[%] Diff.Press", 144, 16,
     kDiffPressureAxis, H::TwoDecimals, S::DifferentialPressure, kDiffPressureEdges,
     S::DifferentialPressureCorrection, 6},
}};

template <std::size_t N>
constexpr int countOf(const int (&)[N]) {
    return static_cast<int>(N);
}

// Each map's axis has a heading per column and an edge per column but the first; together
// the maps fill CorrectionMaps exactly.
constexpr bool tableIsConsistent() {
    const int axes[] = {countOf(kEgtAxis),         countOf(kAirFlowAxis),
                        countOf(kTemperatureAxis), countOf(kManifoldAxis),
                        countOf(kGasPressureAxis), countOf(kTemperatureAxis),
                        countOf(kDiffPressureAxis)};
    const int edges[] = {countOf(kEgtEdges),         countOf(kAirFlowEdges),
                         countOf(kTemperatureEdges), countOf(kManifoldEdges),
                         countOf(kGasPressureEdges), countOf(kTemperatureEdges),
                         countOf(kDiffPressureEdges)};
    std::size_t next = 0;
    for (std::size_t i = 0; i < kMaps.size(); ++i) {
        if (kMaps[i].firstByte != next || axes[i] != kMaps[i].columns ||
            edges[i] != kMaps[i].columns - 1 || kMaps[i].enableBit != i)
            return false;
        next += static_cast<std::size_t>(kMaps[i].columns);
    }
    return next == 160;
}
static_assert(tableIsConsistent(), "correction map table out of shape");

}  // namespace

const std::array<CorrectionMapDef, kCorrectionMapCount>& correctionMaps() {
    return kMaps;
}

int correctionLiveColumn(const CorrectionMapDef& map, std::int64_t value) {
    int column = 0;
    for (int i = 1; i < map.columns; ++i)
        if (value >= map.thresholds[i - 1])
            column = i;
    return column;
}

int correctionLiveColumn(const CorrectionMapDef& map, const LiveFrame& frame) {
    return correctionLiveColumn(map, liveRaw(frame, map.input));
}

}  // namespace kaldor
