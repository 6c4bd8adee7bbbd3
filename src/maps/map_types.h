#pragma once
// The five layouts of the main map: what each axis measures, where the live record reports it,
// how the grid shows it; and the axis texts each choice puts into the grid (defaults and the
// presets offered while the axes are edited). Axis values are hundredths (thousandths for three
// decimals) or whole rpm, shown through headingText().
#include <array>
#include <cstdint>
#include <optional>

#include "live/live_signals.h"
#include "maps/grid_headings.h"

namespace kaldor {

// What an axis measures, which decides how its words are shown and stored.
enum class AxisKind : std::uint8_t {
    None,         // no axis: the columns of the pressure-only map
    Pressure,     // manifold pressure in millibar, shown in bar
    EngineSpeed,  // pulse period, shown as rpm of the rpm signal type
    Throttle,     // throttle signal counts as columns
    AirFlow,      // air-flow signal counts
    ThrottleRow,  // throttle signal counts as rows (the engine-speed map without a turbocharger)
};

struct MapTypeDef {
    const char* item;    // ComboBoxMapa
    const char* corner;  // grid cell (0, 0)
    AxisKind columns;
    LiveSignal columnSignal;  // the column quantity in the live record (none: unused)
    AxisKind rows;
    LiveSignal rowSignal;  // the row quantity
    int colCount;          // grid columns shown (the throttle switch shows fewer, see below)
    bool tpsTypShown;      // ComboBoxTpsTyp
};

inline constexpr int kMapTypeCount = 5;
inline constexpr unsigned kMapTypeRpm = 1;
inline constexpr unsigned kMapTypeTps = 2;
inline constexpr unsigned kMapTypeTpsRpm = 4;
// The axes compare raw live values with the axis words: pulse periods, converter counts and
// millibar.
inline constexpr LiveSignal kNoColumnSignal = LiveSignal::Count;
inline constexpr std::array<MapTypeDef, kMapTypeCount> kMapTypes{{
    {"1:VACUM(BOOST) ONLY", "bar/...", AxisKind::None, kNoColumnSignal, AxisKind::Pressure,
     LiveSignal::ManifoldPressure, 2, false},
    {"2:VACUM/RPM", "bar/rpm", AxisKind::EngineSpeed, LiveSignal::EngineSpeed, AxisKind::Pressure,
     LiveSignal::ManifoldPressure, 9, false},
    {"3:VACUM/TPS", "bar/tps", AxisKind::Throttle, LiveSignal::Throttle, AxisKind::Pressure,
     LiveSignal::ManifoldPressure, 9, true},
    {"4:VACUM/MAF", "bar/maf", AxisKind::AirFlow, LiveSignal::AirFlowInput, AxisKind::Pressure,
     LiveSignal::ManifoldPressure, 9, false},
    {"5:TPS/RPM (NO-TURBO)", "TPS/rpm", AxisKind::EngineSpeed, LiveSignal::EngineSpeed,
     AxisKind::ThrottleRow, LiveSignal::Throttle, 9, false},
}};
// With the throttle switch the throttle map shows two map columns.
inline constexpr int kTpsSwitchColCount = 3;
// The cell (1, 0) text of the pressure-only map, which has no column axis.
inline constexpr const char* kNoColumnAxisText = " ";

// Nothing for a type the lists do not know (a corrupt image).
[[nodiscard]] const MapTypeDef* mapTypeDef(unsigned type);
[[nodiscard]] int mainMapColCount(unsigned type, bool tpsSwitch);

template <std::size_t N>
struct AxisTexts {
    HeadingFormat format;
    std::array<int, N> values;
};
using ColumnAxisTexts = AxisTexts<8>;
using RowAxisTexts = AxisTexts<16>;

// The axes a change of map type puts in place; the pressure-only map has no column texts.
[[nodiscard]] std::optional<ColumnAxisTexts> defaultColumnAxis(unsigned type, bool tpsSwitch);
[[nodiscard]] std::optional<RowAxisTexts> defaultRowAxis(unsigned type);
// The rows a change of the throttle-signal kind puts in place.
[[nodiscard]] RowAxisTexts tpsKindRowAxis();

inline constexpr int kColumnPresetCount = 9;  // ComboBoxRpmDefs items 1..9
inline constexpr int kRowPresetCount = 21;    // ComboBoxInjTdefs items 1..21
// ComboBoxRpmDefs: only the engine-speed, throttle and air-flow column maps take a preset.
[[nodiscard]] std::optional<ColumnAxisTexts> columnPreset(int item, unsigned type, bool tpsSwitch);
[[nodiscard]] std::optional<RowAxisTexts> rowPreset(int item);

}  // namespace kaldor
