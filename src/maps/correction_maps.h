#pragma once
// The seven correction maps: one row of signed percentages each over one measured quantity,
// together the image's CorrectionMaps bytes. Everything about them is in this one table: where
// they lie, their axis headings, which live signal moves their live column and by which
// thresholds, which signal reports the correction the controller applies, and their enable bit.
#include <array>
#include <cstddef>
#include <cstdint>

#include "live/live_frame.h"
#include "live/live_signals.h"
#include "maps/grid_headings.h"

namespace kaldor {

struct CorrectionMapDef {
    const char* grid;          // StringGridMapa...
    const char* enableCombo;   // ComboBoxMapa...
    const char* appliedField;  // EditMapa...
    const char* label;         // the label beside the grid
    const char* caption;       // its text
    std::size_t firstByte;     // element of CorrectionMaps holding column 0
    int columns;
    const int* axis;  // heading of each column: hundredths for decimal formats
    HeadingFormat axisFormat;
    LiveSignal input;       // the live column follows its raw value (temperatures signed)
    const int* thresholds;  // lower edge of columns 1 .. columns-1, in the input's units
    LiveSignal applied;     // the correction applied now
    unsigned enableBit;     // bit of CorrectionMapEnable
};

inline constexpr int kCorrectionMapCount = 7;
inline constexpr int kCorrectionMaxPercent = 100;
inline constexpr int kCorrectionMinPercent = -90;

[[nodiscard]] const std::array<CorrectionMapDef, kCorrectionMapCount>& correctionMaps();

// The live column of a map for its input's raw value: the largest column whose lower edge the
// input reaches, 0 below the first edge.
[[nodiscard]] int correctionLiveColumn(const CorrectionMapDef& map, std::int64_t input);
// The live column of a map for a live record (its input's word): the one lookup the grid's live
// column and a recording's column table both go by.
[[nodiscard]] int correctionLiveColumn(const CorrectionMapDef& map, const LiveFrame& frame);

}  // namespace kaldor
