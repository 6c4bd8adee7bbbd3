// Map editing as a tuner uses it: undo and redo of what went to the controller, the selection
// tools, copy and paste through the clipboard and the 3D view of the main map.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>

#include "link/commands.h"
#include "main_map_grid.h"
#include "ui/commands/undo_commands.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/pages/adjustment/map_surface_view.h"
#include "ui/pin_flow.h"
#include "ui/ui_build.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

struct MapEditingTest : LogicTest {
    // Cell (c, r) holds 10 r + c.
    void SetUp() override {
        LogicTest::SetUp();
        controller.setWord(364, 1);
        for (int r = 1; r <= 16; ++r)
            for (int c = 1; c <= 8; ++c)
                controller.memory[cellOffset(c, r)] = static_cast<std::uint8_t>(10 * r + c);
        logic->prompts().setNumberSink([this](const std::string&, int) { return number; });
        showActive();
        connect();
        window->showPage(MainWindow::kPageAdjustment);
        grid = find<QTableWidget>("StringGridMapa");
    }
    void click(int column, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        clickCell(grid, column, row, modifiers);
    }
    void select(GridRect s) { selectCells(grid, s); }
    void press(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void ctrl(Qt::Key key, Qt::KeyboardModifiers more = Qt::NoModifier) {
        QTest::keyClick(grid, key, Qt::ControlModifier | more);
    }
    int cell(int column, int row) const { return controller.memory[cellOffset(column, row)]; }
    QString status() const { return window->statusBar()->currentMessage(); }

    QTableWidget* grid = nullptr;
    std::optional<int> number;
};

TEST_F(MapEditingTest, CtrlZPutsTheControllersByteBackAndCtrlYMakesTheEditAgain) {
    select({3, 4, 3, 4});
    press("ButtonInc1");
    ASSERT_EQ(cell(3, 4), 44);
    window->menu().options1->aboutToShow();
    EXPECT_EQ(window->menu().undo1->text(), "undo: +1 on MainMap, 1 cell");

    log.events.clear();
    ctrl(Qt::Key_Z);
    EXPECT_EQ(log.writes(), (std::vector<std::string>{byteWrite(3, 4, 43)}));
    EXPECT_EQ(cell(3, 4), 43);
    EXPECT_EQ(cellText(grid, 3, 4), "43");
    EXPECT_EQ(status(), "undo: +1 on MainMap, 1 cell");

    log.events.clear();
    ctrl(Qt::Key_Y);
    EXPECT_EQ(log.writes(), (std::vector<std::string>{byteWrite(3, 4, 44)}));
    EXPECT_EQ(cellText(grid, 3, 4), "44");
    ctrl(Qt::Key_Z);
    ctrl(Qt::Key_Z, Qt::ShiftModifier);  // the other redo key
    EXPECT_EQ(cell(3, 4), 44);
    ctrl(Qt::Key_Y);
    EXPECT_EQ(status().toStdString(), windowTextEnglish(kNothingToRedo));
}

TEST_F(MapEditingTest, RefusedWhileLockedOrUnconnectedAndClearedByANewConnection) {
    select({1, 1, 1, 1});
    press("ButtonInc5");
    logic->pin().lock();
    log.events.clear();
    window->menu().undo1->trigger();
    EXPECT_EQ(status().toStdString(), windowTextEnglish(kUndoLocked));
    EXPECT_TRUE(log.writes().empty());
    EXPECT_EQ(cell(1, 1), 16);

    connect();  // the new connection's refresh lifts the lock
    EXPECT_EQ(status().toStdString(), windowTextEnglish(kUndoClearedConnection));
    window->menu().undo1->trigger();
    EXPECT_EQ(status().toStdString(), windowTextEnglish(kNothingToUndo));

    logic->session().link.close();
    window->menu().undo1->trigger();
    EXPECT_EQ(status().toStdString(), windowTextEnglish(kUndoNotConnected));
}

TEST_F(MapEditingTest, ToolButtonsKeysAndPasteWriteTheControllerAndUndoAsOneStep) {
    // A column from 11 to 161: evenly spaced by 10 once interpolated.
    logic->session().image.setByte(cellOffset(1, 16), 161);
    controller.memory[cellOffset(1, 16)] = 161;
    logic->RefreshControls();
    select({1, 1, 1, 16});
    press("StringGridMapaInterpV");
    for (int r = 1; r <= 16; ++r)
        EXPECT_EQ(cell(1, r), 11 + 10 * (r - 1)) << r;

    number = 120;
    select({2, 2, 3, 2});
    ctrl(Qt::Key_R);  // scale by 120 %: 22 -> 26, 23 -> 27
    EXPECT_EQ(cell(2, 2), 26);
    EXPECT_EQ(cell(3, 2), 27);

    QGuiApplication::clipboard()->setText(
        QStringLiteral("1\t2\t3\n4\t5\t6\n7\t8\t9\n10\t11\t12\n"));
    select({5, 1, 5, 1});
    ctrl(Qt::Key_V);
    EXPECT_EQ(cell(5, 1), 1);
    EXPECT_EQ(cell(7, 4), 12);
    window->menu().undo1->trigger();
    EXPECT_EQ(cell(5, 1), 15);
    EXPECT_EQ(cell(7, 4), 47);

    QGuiApplication::clipboard()->setText(QStringLiteral("1\t999\n"));
    log.events.clear();
    ctrl(Qt::Key_V);
    EXPECT_TRUE(log.writes().empty());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(),
              "paste refused: \"999\" for row 1, column 6 is not a whole number from 0 to 250");

    select({2, 2, 3, 3});
    ctrl(Qt::Key_C);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("26\t27\n32\t33\n"));
}

TEST_F(MapEditingTest, TheThreeDViewPaintsOverTheGridAndFollowsTheToggle) {
    auto* view = window->adjustmentPage().mainMap().surfaceView();
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isVisible());
    press("ButtonMap3D");
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->geometry(), grid->rect());
    EXPECT_EQ(view->surface().values.at(8 * 3 + 2), 43);
    const QImage picture = view->grab().toImage();
    // The operating point's yellow is painted somewhere.
    bool marked = false;
    for (int y = 0; y < picture.height() && !marked; ++y)
        for (int x = 0; x < picture.width() && !marked; ++x)
            marked = picture.pixelColor(x, y) == QColor(255, 255, 0);
    EXPECT_TRUE(marked);
    press("ButtonMap3D");
    EXPECT_FALSE(view->isVisible());
}

}  // namespace
}  // namespace kaldor::test
