#pragma once
// The auto-calibration tables the controller streams in its calibration block, as the four
// working grids of the hidden storage page hold them: diesel values, gas values, signed
// corrections and the percentage difference worked out from the first two. Rows are manifold
// pressures of 256 millibar each, columns the main map's columns. Also the two buttons that ask
// the controller to forget its learned diesel or gas data.
#include <array>
#include <optional>

#include "link/commands.h"
#include "live/live_frame.h"
#include "maps/grid_texts.h"
#include "maps/main_map.h"

namespace kaldor {

enum class CalibrationGrid { Benz, Gaz, Correction, Korektuj };
inline constexpr int kCalibrationGridCount = 4;
// In CalibrationGrid order.
inline constexpr std::array<const char*, kCalibrationGridCount> kCalibrationGridNames{
    "StringGridBenz", "StringGridGaz", "StringGrid3dKor", "StringGridKorektuj"};
// Each grid: the heading column and row plus the main map's 8 x 16 cells.
inline constexpr int kCalibrationGridColumns = kMainMapGridColumns;
inline constexpr int kCalibrationGridRows = kMainMapGridRows;
// Manifold pressure a table row spans.
inline constexpr int kCalibrationRowMillibar = 256;

// (gas - diesel) * 100 / gas in integers, truncated toward zero; nothing while either is 0.
[[nodiscard]] std::optional<int> percentDifference(int diesel, int gas);

class CalibrationTables {
public:
    explicit CalibrationTables(char decimalPoint = '.');

    [[nodiscard]] GridTexts& grid(CalibrationGrid g) { return m_grids[index(g)]; }
    [[nodiscard]] const GridTexts& grid(CalibrationGrid g) const { return m_grids[index(g)]; }

    // The table update of every collected record (also in playback), whatever page is shown.
    // A percentage cell keeps its text while either of its bytes is 0. Texts that did not change
    // are not written again, so the grids' listeners hear only of real changes.
    void update(const CalibrationBlock& block);
    // ButtonNaniesPunktyClick (refresh step 1): the pressure column and, from the main map grid
    // StringGridMapa, its heading row.
    void setHeadings(const GridTexts& mainMapGrid);
    // Button20Click ("Odswiez"): the percentage cells emptied.
    void clearPercentages();

    // The DrawCell handlers of all four grids: data cells coloured by a quarter of their value,
    // the operating point's column and the live pressure's row in green (none from 4096 mbar).
    [[nodiscard]] MapCellLook cellLook(CalibrationGrid g, int column, int row, bool selected,
                                       const MapOperatingPoint& point,
                                       const LiveFrame& frame) const;

private:
    static std::size_t index(CalibrationGrid g) { return static_cast<std::size_t>(g); }
    void put(CalibrationGrid g, int column, int row, int value);

    char m_decimalPoint;
    std::array<GridTexts, kCalibrationGridCount> m_grids;
};

// Button19Click ("Delete Diesel") and Button18Click ("Delete Gaz"): the command alone, no reply.
void deleteDieselData(CommandSet& commands);
void deleteGasData(CommandSet& commands);

}  // namespace kaldor
