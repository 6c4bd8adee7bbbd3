#include <gtest/gtest.h>

#include "maps/main_map_editor.h"
#include "maps/preset_maps.h"
#include "model/fields.h"
#include "support/recording_sender.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

std::string byteSent(int column, int row) {
    return "byte " + std::to_string(mainMapByteOffset(column, row));
}

struct MapEditFixture : ::testing::Test {
    EcuImage image;
    RecordingSender sender;
    PlainProgress progress;
    MainMapEditor editor{image, sender, progress};

    void fill(int value) {
        for (std::size_t i = 0; i < kMainMapCells; ++i)
            storeField(image, FieldId::MainMap, static_cast<std::uint32_t>(value), i);
        editor.ShowMainMap();
    }
    void setCell(int column, int row, int value) {
        storeField(image, FieldId::MainMap, static_cast<std::uint32_t>(value),
                   mainMapElement(column, row));
        editor.grid().setText(column, row, std::to_string(value));
    }
    int cell(int column, int row) const { return mainMapCell(image, column, row); }
};

TEST_F(MapEditFixture, TypedEntryModesLimitTo0To250) {
    struct Case {
        EntryMode mode;
        int before;
        const char* entry;
        int after;
    };
    const Case cases[] = {
        {EntryMode::Abs, 7, "300", 250},
        {EntryMode::Abs, 7, "-4", 0},
        {EntryMode::PlusMinus, 200, "100", 250},
        {EntryMode::PlusMinus, 10, "-30", 0},
        {EntryMode::PlusMinus, 10, "2147483647", 250},
        {EntryMode::Percent, 100, "-10", 89},  // the factor is single precision
        {EntryMode::Percent, 200, "50", 250},
        {EntryMode::Percent, 0, "80", 0},
        {EntryMode::Percent, 100, "-500", 0},
        {EntryMode::Percent, 100, "900", 200},
    };
    for (const Case& c : cases) {
        setCell(3, 5, c.before);
        sender.sent.clear();
        const MapEditOutcome out = editor.typedEntry({3, 5, 3, 5}, c.mode, c.entry);
        EXPECT_EQ(cell(3, 5), c.after) << c.before << " with " << c.entry;
        EXPECT_EQ(editor.grid().text(3, 5), std::to_string(c.after));
        EXPECT_EQ(sender.sent, std::vector<std::string>{byteSent(3, 5)});
        EXPECT_EQ(out.cellsWritten, 1);
    }
}

TEST_F(MapEditFixture, EditsVisitColumnsRightToLeftAndRowsBottomUp) {
    fill(10);
    editor.typedEntry({1, 1, 2, 2}, EntryMode::PlusMinus, "1");
    EXPECT_EQ(sender.sent, (std::vector<std::string>{byteSent(2, 2), byteSent(2, 1), byteSent(1, 2),
                                                     byteSent(1, 1)}));
    EXPECT_EQ(progress.maximum(), 4);
    EXPECT_EQ(progress.position(), 4);
    EXPECT_EQ(editor.entryPrefill({2, 2, 1, 1}, EntryMode::Abs), "11");
    EXPECT_EQ(editor.entryPrefill({2, 2, 1, 1}, EntryMode::Percent), "0");
    editor.grid().setText(1, 1, "");  // shown as "0" before any image
    EXPECT_EQ(editor.entryPrefill({1, 1, 1, 1}, EntryMode::Abs), "0");
}

TEST_F(MapEditFixture, EachCellGoesImageThenControllerThenText) {
    fill(20);
    std::vector<std::string> seen;
    editor.grid().setListener([&](int column, int row) {
        seen.push_back(std::to_string(cell(column, row)) + " after " + sender.sent.back());
    });
    editor.stepSelection({4, 7, 4, 8}, 5);
    EXPECT_EQ(seen, (std::vector<std::string>{"25 after " + byteSent(4, 8),
                                              "25 after " + byteSent(4, 7)}));
}

TEST_F(MapEditFixture, AxisCellsInTheSelectionAreNeverTouched) {
    fill(50);
    editor.charPointModeChanged(true);
    editor.grid().setText(0, 1, "0.80");
    editor.grid().setText(1, 0, "700");
    EcuImage before = image;
    editor.stepSelection({0, 0, 1, 1}, 1);
    editor.typedEntry({0, 0, 1, 1}, EntryMode::Abs, "9");
    EXPECT_EQ(sender.sent, (std::vector<std::string>{byteSent(1, 1), byteSent(1, 1)}));
    EXPECT_EQ(editor.grid().text(0, 1), "0.80");
    EXPECT_EQ(editor.grid().text(1, 0), "700");
    before.setByte(mainMapByteOffset(1, 1), 9);
    EXPECT_EQ(image, before);
}

TEST_F(MapEditFixture, StepsWorkFromTheCellTexts) {
    fill(0);
    editor.grid().setText(1, 1, "248");  // the text, not the image, is stepped
    editor.grid().setText(2, 1, "3");
    editor.grid().setText(3, 1, "");  // an empty text counts as 0
    editor.stepSelection({1, 1, 1, 1}, 5);
    editor.stepSelection({2, 1, 2, 1}, -5);
    editor.stepSelection({3, 1, 3, 1}, 1);
    EXPECT_EQ(cell(1, 1), 250);
    EXPECT_EQ(cell(2, 1), 0);
    EXPECT_EQ(cell(3, 1), 1);
}

TEST_F(MapEditFixture, ATextThatDoesNotParseStopsTheEditThere) {
    fill(10);
    editor.grid().setText(2, 1, "x1");
    const MapEditOutcome out = editor.stepSelection({1, 1, 3, 1}, 1);
    EXPECT_EQ(out.message, "'x1' is not a valid integer value");
    EXPECT_EQ(out.cellsWritten, 1);  // column 3 was visited first and keeps its new value
    EXPECT_EQ(cell(3, 1), 11);
    EXPECT_EQ(cell(1, 1), 10);

    sender.sent.clear();
    const EcuImage before = image;
    const MapEditOutcome typed = editor.typedEntry({1, 1, 8, 16}, EntryMode::Abs, "1.5");
    EXPECT_EQ(typed.message, "'1.5' is not a valid integer value");
    EXPECT_EQ(image, before);
    EXPECT_TRUE(sender.sent.empty());
}

TEST(PresetMaps, SetBMap1AndTheTellingValuesOfTheOthers) {
    const MainMapCells& b1 = *presetMap(1, false);
    const auto row = [](const MainMapCells& m, int r) {
        return std::vector<int>(m.begin() + 8 * (r - 1), m.begin() + 8 * r);
    };
    EXPECT_EQ(row(b1, 2), (std::vector<int>{0, 0, 0, 0, 0, 0, 7, 6}));
    EXPECT_EQ(row(b1, 9), (std::vector<int>{15, 23, 25, 30, 33, 34, 35, 16}));
    EXPECT_EQ(row(b1, 14), (std::vector<int>{20, 33, 35, 42, 48, 44, 42, 26}));
    EXPECT_EQ(row(b1, 16), (std::vector<int>{16, 26, 31, 31, 32, 31, 29, 22}));

    struct Telling {
        bool setA;
        int k, largest, atRow, atColumn;
        std::vector<int> row16;
    };
    const Telling cases[] = {
        {true, 1, 38, 11, 6, {15, 14, 14, 14, 15, 16, 17, 13}},
        {true, 2, 48, 11, 6, {15, 20, 20, 20, 20, 20, 18, 15}},
        {true, 3, 70, 10, 5, {15, 20, 20, 20, 20, 20, 18, 15}},
        {true, 4, 105, 10, 4, {15, 20, 20, 20, 20, 20, 18, 15}},
        {false, 1, 48, 14, 5, {16, 26, 31, 31, 32, 31, 29, 22}},
        {false, 2, 65, 14, 5, {19, 30, 35, 40, 42, 39, 36, 29}},
        {false, 3, 79, 12, 6, {20, 30, 35, 40, 42, 39, 36, 30}},
        {false, 4, 120, 12, 6, {55, 65, 70, 72, 75, 78, 65, 55}},
    };
    for (const Telling& t : cases) {
        const MainMapCells& m = *presetMap(t.k, t.setA);
        SCOPED_TRACE((t.setA ? "A" : "B") + std::to_string(t.k));
        const auto largest = std::max_element(m.begin(), m.end());
        EXPECT_EQ(*largest, t.largest);
        EXPECT_EQ(std::count(m.begin(), m.end(), t.largest), 1);
        EXPECT_EQ(largest - m.begin(), 8 * (t.atRow - 1) + t.atColumn - 1);
        EXPECT_EQ(row(m, 16), t.row16);
        EXPECT_EQ(row(m, 1), std::vector<int>(8, 0));
        for (int r = 2; r <= 3; ++r)
            for (int c = 1; c <= 4; ++c)
                EXPECT_EQ(m[8 * (r - 1) + c - 1], 0) << "row " << r << " column " << c;
    }
    EXPECT_EQ(presetMap(0, true), nullptr);
    EXPECT_EQ(presetMap(5, false), nullptr);
}

TEST_F(MapEditFixture, MapResetLoadsThePresetOfTheSetAndSendsItRowByRow) {
    storeField(image, FieldId::RegulatorVacuumConnected, 0);
    EXPECT_EQ(editor.mapResetChosen(3), 0);
    for (std::size_t i = 0; i < kMainMapCells; ++i)
        ASSERT_EQ(readField(image, FieldId::MainMap, i), (*presetMap(3, false))[i]);
    ASSERT_EQ(sender.sent.size(), 128u);
    for (std::size_t i = 0; i < sender.sent.size(); ++i)
        EXPECT_EQ(sender.sent[i], "byte " + std::to_string(167 + i));
    EXPECT_EQ(editor.grid().text(6, 12), "79");
    EXPECT_EQ(progress.position(), 128);

    sender.sent.clear();
    EXPECT_EQ(editor.mapResetChosen(0), 0);
    EXPECT_TRUE(sender.sent.empty());
}

TEST_F(MapEditFixture, SmoothingLeavesAnEvenMapAlone) {
    fill(37);
    const EcuImage before = image;
    editor.smooth();
    EXPECT_EQ(image, before);
    EXPECT_EQ(sender.sent.size(), 128u);
    EXPECT_EQ(sender.sent.back(), "byte 294");
}

TEST_F(MapEditFixture, SmoothingSpreadsASpikeByAtMostOneAPass) {
    fill(0);
    setCell(4, 8, 100);
    editor.smooth();
    for (int dr = -2; dr <= 2; ++dr) {
        for (int dc = -2; dc <= 2; ++dc) {
            const int distance = std::max(std::abs(dr), std::abs(dc));
            const bool diagonalTwo = std::abs(dr) == 2 && std::abs(dc) == 2;
            const int expected = distance == 0 ? 96 : distance == 1 ? 4 : diagonalTwo ? 0 : 1;
            EXPECT_EQ(cell(4 + dc, 8 + dr), expected) << "offset " << dr << "," << dc;
            EXPECT_EQ(editor.grid().text(4 + dc, 8 + dr), std::to_string(expected));
        }
    }
    fill(0);
    setCell(1, 1, 100);
    editor.smooth();
    EXPECT_EQ(cell(1, 1), 96);
    EXPECT_EQ(cell(2, 1), 4);
    EXPECT_EQ(cell(1, 2), 4);
    EXPECT_EQ(cell(2, 2), 4);
}

}  // namespace
