#include <gtest/gtest.h>

#include <algorithm>

#include "maps/calibration_tables.h"
#include "maps/mapping_chart.h"

using namespace kaldor;

namespace {

using Kind = ScopeStep::Kind;

// A block assembled the way the live loop does it: six words per record at their position.
struct BlockBuilder {
    CalibrationBlock block;
    std::array<std::uint8_t, CalibrationBlock::kBytes> bytes{};

    void setByte(std::size_t offset, std::uint8_t value) { bytes[offset] = value; }
    void setWord(std::size_t word, std::uint16_t value) {
        bytes[2 * word] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[2 * word + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    void setCell(CalibrationBlock::Table t, int column, int row, std::uint8_t value) {
        setByte(static_cast<std::size_t>(t) * CalibrationBlock::kTableBytes +
                    mainMapElement(column, row),
                value);
    }
    const CalibrationBlock& build() {
        constexpr std::size_t kLast = CalibrationBlock::kWords - CalibrationBlock::kSliceWords;
        for (std::size_t at = 0; at < CalibrationBlock::kWords;
             at += CalibrationBlock::kSliceWords) {
            const std::size_t first = std::min(at, kLast);
            LiveFrame frame;
            frame.setWord(CalibrationBlock::kPositionWord,
                          static_cast<std::uint16_t>(first + CalibrationBlock::kSliceWords));
            for (std::size_t k = 0; k < CalibrationBlock::kSliceWords; ++k)
                frame.setWord(CalibrationBlock::kSliceFirstWord + k,
                              static_cast<std::uint16_t>(bytes[2 * (first + k)] |
                                                         bytes[2 * (first + k) + 1] << 8));
            block.takeSlice(frame);
        }
        return block;
    }
};

using T = CalibrationBlock::Table;

TEST(CalibrationTables, PercentageTable) {
    const std::array<int, 3> cases[] = {
        {80, 100, 20}, {120, 100, -20}, {1, 3, 66}, {250, 1, -24900}, {5, 5, 0}};
    for (const auto& [diesel, gas, percent] : cases)
        EXPECT_EQ(percentDifference(diesel, gas), percent) << diesel << "/" << gas;
    EXPECT_FALSE(percentDifference(0, 100));
    EXPECT_FALSE(percentDifference(100, 0));
}

TEST(CalibrationTables, UpdateWritesAllFourGridsAndKeepsPercentagesWithoutBothBytes) {
    CalibrationTables tables;
    BlockBuilder b;
    b.setCell(T::Diesel, 2, 3, 80);
    b.setCell(T::Gas, 2, 3, 100);
    b.setCell(T::Correction, 8, 16, 0xF6);
    tables.update(b.build());
    EXPECT_EQ(tables.grid(CalibrationGrid::Benz).text(2, 3), "80");
    EXPECT_EQ(tables.grid(CalibrationGrid::Gaz).text(2, 3), "100");
    EXPECT_EQ(tables.grid(CalibrationGrid::Correction).text(8, 16), "-10");
    EXPECT_EQ(tables.grid(CalibrationGrid::Korektuj).text(2, 3), "20");
    EXPECT_EQ(tables.grid(CalibrationGrid::Korektuj).text(1, 1), "");

    b.setCell(T::Gas, 2, 3, 0);  // a gas byte of 0 leaves the cell
    tables.update(b.build());
    EXPECT_EQ(tables.grid(CalibrationGrid::Gaz).text(2, 3), "0");
    EXPECT_EQ(tables.grid(CalibrationGrid::Korektuj).text(2, 3), "20");
    tables.clearPercentages();
    tables.update(b.build());
    EXPECT_EQ(tables.grid(CalibrationGrid::Korektuj).text(2, 3), "");

    int heard = 0;
    tables.grid(CalibrationGrid::Benz).setListener([&](int, int) { ++heard; });
    tables.update(b.build());
    EXPECT_EQ(heard, 0);  // nothing changed, nothing rewritten
}

TEST(CalibrationTables, HeadingsAndCellLooks) {
    CalibrationTables tables;
    GridTexts mainMap{kMainMapGridColumns, kMainMapGridRows};
    mainMap.setText(0, 0, "bar/rpm");
    mainMap.setText(8, 0, "4000");
    tables.setHeadings(mainMap);
    for (CalibrationGrid g :
         {CalibrationGrid::Benz, CalibrationGrid::Gaz, CalibrationGrid::Korektuj}) {
        EXPECT_EQ(tables.grid(g).text(0, 1), "0.25");
        EXPECT_EQ(tables.grid(g).text(0, 16), "4.00");
        EXPECT_EQ(tables.grid(g).text(0, 0), "bar/rpm");
        EXPECT_EQ(tables.grid(g).text(8, 0), "4000");
    }
    EXPECT_EQ(tables.grid(CalibrationGrid::Correction).text(0, 1), "");

    BlockBuilder b;
    b.setCell(T::Correction, 3, 2, 0xF0);  // -16: coloured as -4
    b.setCell(T::Correction, 3, 4, 40);
    tables.update(b.build());
    MapOperatingPoint point;
    point.x = 2;
    LiveFrame frame;
    frame.setWord(79, 1000);  // row 4
    const auto look = [&](int c, int r, bool selected = false) {
        return tables.cellLook(CalibrationGrid::Correction, c, r, selected, point, frame);
    };
    EXPECT_EQ(look(3, 2).fill, MapCellColour(-4));
    EXPECT_TRUE(look(3, 2).drawText);
    EXPECT_FALSE(look(3, 2, true).fill);
    EXPECT_FALSE(look(4, 2).drawText);  // a 0 is drawn by the grid
    EXPECT_EQ(look(3, 4).fill, kActiveCellColour);
    frame.setWord(79, 4096);
    EXPECT_EQ(look(3, 4).fill, MapCellColour(10));
    EXPECT_FALSE(look(3, 17).fill);
}

struct ChartFixture : ::testing::Test {
    MappingChart chart;
    BlockBuilder block;
    LiveFrame frame;
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 200;

    const ScopePicture& draw(int item = 8) {
        return chart.draw(kWidth, kHeight, block.build(), frame, item);
    }
    static std::vector<const ScopeStep*> steps(const ScopePicture& p, Kind kind,
                                               std::optional<ScopeColour> colour = {}) {
        std::vector<const ScopeStep*> out;
        for (const ScopeStep& s : p.steps)
            if (s.kind == kind && (!colour || s.colour == *colour))
                out.push_back(&s);
        return out;
    }
};

TEST_F(ChartFixture, GridSpansTheThrottleRangeAndFourBar) {
    const ScopePicture& p = draw();
    EXPECT_EQ(chart.throttleRange(), 5);
    const auto lines = steps(p, Kind::Line, kMappingGridColour);
    EXPECT_EQ(lines.size(), 31u + 41u);
    EXPECT_EQ(steps(p, Kind::Text, kMappingGridColour).size(), 31u + 39u);
    EXPECT_EQ(lines[2]->from, (ScopePoint{80, 0}));  // 1.0 V at 400 / 5 pixels per volt
    EXPECT_EQ(lines[2]->pen, ScopePen::Dotted);

    chart.draw(kWidth, kHeight, block.build(), frame, 13);
    EXPECT_EQ(chart.throttleRange(), 5);  // an item the list does not hold keeps the range
    EXPECT_EQ(MappingChart{}.throttleRange(), 12);
}

TEST_F(ChartFixture, SeriesPointsDrawOnlyWhatIsNonZero) {
    block.setWord(3, 1304);  // series 1 point 3 only: about 5 V, the right edge
    block.setWord(10, 500);
    block.setWord(64 + 10, 600);
    const ScopePicture& p = draw();
    const auto squares = steps(p, Kind::Rectangle);
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(squares[0]->colour, kMappingMarkerOutline);
    EXPECT_EQ(squares[0]->fill, kScopeBlack);
    const int right = squares[0]->from.x + 3;
    EXPECT_GE(right, kWidth - 2);
    EXPECT_LE(right, kWidth);
    EXPECT_EQ(squares[0]->from.y + 3, 190);  // 200 - 3 * 0.0625 bar * 50 pixels per bar
    EXPECT_EQ(steps(p, Kind::Line, kMappingOther).size(), 1u);  // 500 below 600
    EXPECT_TRUE(steps(p, Kind::Line, kMappingRising).empty());
    EXPECT_EQ(steps(p, Kind::Ellipse, kScopeBlue).size(), 1u);
}

TEST_F(ChartFixture, CurrentPointLiesOnItsPressureLine) {
    frame.setWord(79, 1000);
    frame.setWord(4, 0);
    frame.setWord(31, 0x0C07);
    const ScopePicture& p = draw();
    const auto gridLines = steps(p, Kind::Line, kMappingGridColour);
    const int oneBar = gridLines[31 + 10]->from.y;
    const auto point = steps(p, Kind::Ellipse, ScopeColour{128, 0, 0});
    ASSERT_EQ(point.size(), 1u);
    EXPECT_EQ(point[0]->from.y + 5, oneBar);
    EXPECT_EQ(point[0]->fill, kMappingPointFill);
    const auto codes = steps(p, Kind::Text, ScopeColour{128, 0, 0});
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0]->text, "7");
    EXPECT_EQ(codes[1]->text, "12");
    EXPECT_TRUE(codes[1]->textBackground);
}

}  // namespace
