#include <gtest/gtest.h>

#include "maps/grid_tools.h"
#include "maps/main_map_editor.h"
#include "maps/surface_view.h"
#include "model/fields.h"
#include "support/recording_sender.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

GridEdit limits(int minimum, int maximum) {
    GridEdit edit;
    edit.firstColumn = 1;
    edit.lastColumn = 8;
    edit.firstRow = 1;
    edit.lastRow = 16;
    edit.minimum = minimum;
    edit.maximum = maximum;
    return edit;
}

CellBlock block(int columns, int rows, std::vector<int> values) {
    return {1, 1, columns, rows, std::move(values)};
}

TEST(GridTools, InterpolationFillAndScaleMatchHandComputedTables) {
    const GridEdit edit = limits(0, 250);
    struct Case {
        const char* name;
        CellBlock in;
        std::function<CellBlock(const CellBlock&)> tool;
        std::vector<int> out;
    };
    const Case cases[] = {
        // 10 .. 20 over 4 cells: 13.33 -> 13, 16.67 -> 17.
        {"horizontal",
         block(4, 2, {10, 0, 0, 20, 0, 9, 9, 3}),
         [&](const CellBlock& b) { return interpolated(b, Interpolation::Horizontal, edit); },
         {10, 13, 17, 20, 0, 1, 2, 3}},
        // 0 .. 5 over 3 cells: 2.5 rounds away from zero.
        {"vertical",
         block(2, 3, {0, 100, 7, 7, 5, 50}),
         [&](const CellBlock& b) { return interpolated(b, Interpolation::Vertical, edit); },
         {0, 100, 3, 75, 5, 50}},
        // Corners 0, 30 / 60, 90 over 3 x 3: the centre is their mean, 45.
        {"bilinear",
         block(3, 3, {0, 1, 30, 1, 1, 1, 60, 1, 90}),
         [&](const CellBlock& b) { return interpolated(b, Interpolation::Bilinear, edit); },
         {0, 15, 30, 30, 45, 60, 60, 75, 90}},
        {"single column keeps itself",
         block(1, 2, {4, 9}),
         [&](const CellBlock& b) { return interpolated(b, Interpolation::Horizontal, edit); },
         {4, 9}},
        {"fill above the limit",
         block(2, 1, {1, 2}),
         [&](const CellBlock& b) { return filled(b, 300, edit); },
         {250, 250}},
        {"fill below the limit",
         block(2, 1, {1, 2}),
         [&](const CellBlock& b) { return filled(b, -3, edit); },
         {0, 0}},
        // 110 %: 15 * 1.1 = 16.5 cut to 16; 240 * 1.1 = 264 limited to 250.
        {"scale up",
         block(3, 1, {15, 240, 0}),
         [&](const CellBlock& b) { return scaled(b, 110, edit); },
         {16, 250, 0}},
        {"scale down",
         block(2, 1, {99, 7}),
         [&](const CellBlock& b) { return scaled(b, 50, edit); },
         {49, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.tool(c.in).values, c.out);
    }
    // A signed grid: halves round away from zero, scaling cuts towards zero.
    const GridEdit percent = limits(-100, 100);
    EXPECT_EQ(interpolated(block(3, 1, {-5, 0, 0}), Interpolation::Horizontal, percent).values,
              (std::vector<int>{-5, -3, 0}));
    EXPECT_EQ(scaled(block(2, 1, {-15, 90}), 150, percent).values, (std::vector<int>{-22, 100}));
}

TEST(GridTools, PasteChecksEveryValueFirstAndNamesTheFirstBadCell) {
    const GridEdit edit = limits(0, 250);
    const PasteBlock good = parsePaste("1\t2\t3\r\n4\t5\t6\n7\t8\t9\n10\t11\t12\n", edit, 2, 3);
    ASSERT_TRUE(good.block);
    EXPECT_EQ(good.block->columns, 3);
    EXPECT_EQ(good.block->rows, 4);
    EXPECT_EQ(good.block->at(2, 3), 12);

    const PasteBlock high = parsePaste("1\t2\n3\t251\n", edit, 1, 1);
    EXPECT_FALSE(high.block);
    EXPECT_EQ(high.message,
              "paste refused: \"251\" for row 2, column 2 is not a whole number from 0 to 250");
    EXPECT_FALSE(parsePaste("1\tx\n", edit, 1, 1).block);
    EXPECT_FALSE(parsePaste("1\t\t3\n", edit, 1, 1).block);
    EXPECT_FALSE(parsePaste("\n\n", edit, 1, 1).block);

    const PasteBlock past = parsePaste("1\t2\t3\n", edit, 7, 16);
    EXPECT_FALSE(past.block);
    EXPECT_EQ(past.message,
              "paste refused: 3 x 1 values from row 16, column 7 run past the edge of the map");
}

struct MapToolsFixture : ::testing::Test {
    EcuImage image;
    RecordingSender sender;
    PlainProgress progress;
    MainMapEditor editor{image, sender, progress};

    void SetUp() override {
        for (std::size_t i = 0; i < kMainMapCells; ++i)
            storeField(image, FieldId::MainMap, 100, i);
        editor.ShowMainMap();
    }
};

TEST_F(MapToolsFixture, VerticalInterpolationOfAColumnWritesOnlyTheChangedCells) {
    storeField(image, FieldId::MainMap, 10, mainMapElement(3, 1));
    storeField(image, FieldId::MainMap, 160, mainMapElement(3, 16));
    editor.ShowMainMap();
    const MapEditOutcome out =
        applyGridTool(editor, {3, 0, 3, 16}, GridTool::InterpolateVertically);
    EXPECT_EQ(out.cellsWritten, 13);  // rows 1, 10 and 16 hold their values already
    for (int row = 1; row <= 16; ++row)
        EXPECT_EQ(mainMapCell(image, 3, row), 10 + (row - 1) * 10) << row;
    EXPECT_EQ(editor.grid().text(3, 8), "80");
    // Bottom row first, as the step edit writes.
    EXPECT_EQ(sender.sent.front(), "byte " + std::to_string(mainMapByteOffset(3, 15)));
}

TEST_F(MapToolsFixture, PasteAtTheSelectionCornerAndARefusedPasteChangesNothing) {
    const MapEditOutcome out = pasteIntoGrid(editor, {2, 2, 5, 5},
                                             "1\t2\t3\n4\t5\t6\n7\t8\t9\n"
                                             "10\t11\t100\n");
    EXPECT_EQ(out.cellsWritten, 11);  // the 100 is there already
    EXPECT_EQ(mainMapCell(image, 2, 2), 1);
    EXPECT_EQ(mainMapCell(image, 4, 5), 100);
    EXPECT_EQ(*copyFromGrid(editor, {2, 2, 4, 3}), "1\t2\t3\n4\t5\t6\n");

    const EcuImage before = image;
    sender.sent.clear();
    EXPECT_EQ(pasteIntoGrid(editor, {1, 1, 1, 1}, "1\t2\n3\t300\n").message,
              "paste refused: \"300\" for row 2, column 2 is not a whole number from 0 to 250");
    EXPECT_EQ(pasteIntoGrid(editor, {8, 1, 8, 1}, "1\t2\n").cellsWritten, 0);
    EXPECT_EQ(image, before);
    EXPECT_TRUE(sender.sent.empty());
}

TEST(SurfaceView, ProjectsKnownCellsAndSortsFacesFarToNear) {
    SurfaceGrid grid{3, 3, 100, {0, 0, 0, 0, 100, 0, 0, 0, 0}};
    // Straight from the front: columns across, values up, rows give depth only.
    const SurfaceCamera front{0.0, 0.0, 1.0};
    const ScreenPoint left = projectCell(0, 0, 0, grid, front, 200, 100);
    EXPECT_DOUBLE_EQ(left.x, 100 - 35.0);  // scale 0.35 * 100
    EXPECT_DOUBLE_EQ(left.y, 50 + 0.5 * 35.0);
    const ScreenPoint peak = projectCell(1, 1, 100, grid, front, 200, 100);
    EXPECT_DOUBLE_EQ(peak.x, 100);
    EXPECT_DOUBLE_EQ(peak.y, 50 - 0.5 * 35.0);
    // From above: rows run down the picture, the value does not move a point.
    const SurfaceCamera top{0.0, 90.0, 2.0};
    const ScreenPoint corner = projectCell(2, 2, 100, grid, top, 100, 100);
    EXPECT_NEAR(corner.x, 50 + 70.0, 1e-9);
    EXPECT_NEAR(corner.y, 50 - 70.0, 1e-9);
    // A quarter turn: screen x follows the rows, from the last to the first.
    const SurfaceCamera turned{90.0, 0.0, 1.0};
    EXPECT_NEAR(projectCell(2, 1, 0, grid, turned, 100, 100).x, 50, 1e-9);
    EXPECT_NEAR(projectCell(1, 0, 0, grid, turned, 100, 100).x, 50 + 35.0, 1e-9);

    const auto faces = surfaceFaces(grid, SurfaceCamera{}, 300, 300, GridRect{0, 0, 1, 1});
    ASSERT_EQ(faces.size(), 4u);
    for (std::size_t i = 1; i < faces.size(); ++i) {
        double a = 0;
        double b = 0;
        for (int k = 0; k < 4; ++k) {
            a += faces[i - 1].corners[static_cast<std::size_t>(k)].depth;
            b += faces[i].corners[static_cast<std::size_t>(k)].depth;
        }
        EXPECT_GE(a, b);
    }
    int selected = 0;
    for (const SurfaceFace& f : faces)
        selected += f.selected ? 1 : 0;
    EXPECT_EQ(selected, 1);

    EXPECT_DOUBLE_EQ(dragged(SurfaceCamera{}, 0, 500).pitchDegrees, 90.0);
    EXPECT_DOUBLE_EQ(zoomed(SurfaceCamera{}, 100).zoom, 4.0);
}

}  // namespace
