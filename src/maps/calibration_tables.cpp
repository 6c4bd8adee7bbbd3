#include "maps/calibration_tables.h"

#include <charconv>
#include <string_view>

#include "live/live_signals.h"
#include "maps/grid_headings.h"
#include "model/number_text.h"

namespace kaldor {
namespace {

constexpr int kColourDivisor = 4;
// Row headings are quarter bars, in hundredths.
constexpr int kRowHeadingStep = 25;

GridTexts calibrationGrid() {
    return GridTexts{kCalibrationGridColumns, kCalibrationGridRows};
}

}  // namespace

std::optional<int> percentDifference(int diesel, int gas) {
    if (diesel == 0 || gas == 0)
        return std::nullopt;
    return (gas - diesel) * 100 / gas;
}

CalibrationTables::CalibrationTables(char decimalPoint)
    : m_decimalPoint(decimalPoint),
      m_grids{calibrationGrid(), calibrationGrid(), calibrationGrid(), calibrationGrid()} {}

void CalibrationTables::put(CalibrationGrid g, int column, int row, int value) {
    char buffer[12];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    GridTexts& grid = m_grids[index(g)];
    if (grid.text(column, row) != text)
        grid.setText(column, row, std::string(text));
}

void CalibrationTables::update(const CalibrationBlock& block) {
    const std::uint8_t* diesel = block.table(CalibrationBlock::Table::Diesel);
    const std::uint8_t* gas = block.table(CalibrationBlock::Table::Gas);
    const std::uint8_t* correction = block.table(CalibrationBlock::Table::Correction);
    for (int row = 1; row <= kMainMapRows; ++row) {
        for (int column = 1; column <= kMainMapColumns; ++column) {
            const std::size_t i = mainMapElement(column, row);
            put(CalibrationGrid::Benz, column, row, diesel[i]);
            put(CalibrationGrid::Gaz, column, row, gas[i]);
            put(CalibrationGrid::Correction, column, row, static_cast<std::int8_t>(correction[i]));
            if (const std::optional<int> percent = percentDifference(diesel[i], gas[i]))
                put(CalibrationGrid::Korektuj, column, row, *percent);
        }
    }
}

void CalibrationTables::setHeadings(const GridTexts& mainMapGrid) {
    constexpr CalibrationGrid kHeaded[] = {CalibrationGrid::Benz, CalibrationGrid::Gaz,
                                           CalibrationGrid::Korektuj};
    for (CalibrationGrid g : kHeaded) {
        GridTexts& grid = m_grids[index(g)];
        for (int row = 1; row <= kMainMapRows; ++row)
            grid.setText(
                0, row,
                headingText(row * kRowHeadingStep, HeadingFormat::TwoDecimals, m_decimalPoint));
        for (int column = 0; column < kCalibrationGridColumns; ++column)
            grid.setText(column, 0, mainMapGrid.text(column, 0));
    }
}

void CalibrationTables::clearPercentages() {
    GridTexts& grid = m_grids[index(CalibrationGrid::Korektuj)];
    for (int row = 1; row <= kMainMapRows; ++row)
        for (int column = 1; column <= kMainMapColumns; ++column)
            if (!grid.text(column, row).empty())
                grid.setText(column, row, std::string());
}

MapCellLook CalibrationTables::cellLook(CalibrationGrid g, int column, int row, bool selected,
                                        const MapOperatingPoint& point,
                                        const LiveFrame& frame) const {
    MapCellLook look;
    look.text = grid(g).text(column, row);
    if (isMainMapCell(column, row) && !look.text.empty()) {
        const std::optional<std::int32_t> v = parseInteger(look.text);
        if (v && *v != 0) {
            if (!selected)
                look.fill = MapCellColour(*v / kColourDivisor);
            look.drawText = true;
        }
    }
    const std::int64_t liveRow =
        liveRaw(frame, LiveSignal::ManifoldPressure) / kCalibrationRowMillibar + 1;
    if (column == point.x + 1 && row == liveRow && liveRow <= kMainMapRows) {
        look.fill = kActiveCellColour;
        look.drawText = true;
    }
    return look;
}

void deleteDieselData(CommandSet& commands) {
    commands.simple(Command::CmdDeleteDiesel);
}

void deleteGasData(CommandSet& commands) {
    commands.simple(Command::CmdDeleteGas);
}

}  // namespace kaldor
