// The main map on the adjustment page against the virtual controller, in real time.
#include <QTableWidget>

#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/ui_build.h"
#include "window_e2e_fixture.h"

namespace kaldor::e2etest {
namespace {

constexpr std::size_t kMainMapByte = 167;  // MainMap: 16 rows of 8 bytes

// The controller's main map, row by row.
std::array<int, 128> mapOf(const sim::VirtualController& controller) {
    std::array<int, 128> map{};
    for (std::size_t i = 0; i < map.size(); ++i) {
        map[i] = controller.readByte(kMainMapByte + i);
    }
    return map;
}

// "smooth" as the installer's manual describes it: four passes, each moving a cell by one
// towards the mean of its 3 x 3 box (edges counted again) when that mean is more than half away.
std::array<int, 128> smoothed(std::array<int, 128> map) {
    for (int pass = 0; pass < 4; ++pass) {
        const std::array<int, 128> start = map;
        for (int r = 0; r < 16; ++r) {
            for (int c = 0; c < 8; ++c) {
                int sum = 0;
                for (int i = r - 1; i <= r + 1; ++i) {
                    for (int j = c - 1; j <= c + 1; ++j) {
                        sum += start[static_cast<std::size_t>(std::clamp(i, 0, 15) * 8 +
                                                              std::clamp(j, 0, 7))];
                    }
                }
                int& cell = map[static_cast<std::size_t>(r * 8 + c)];
                const int b = start[static_cast<std::size_t>(r * 8 + c)];
                cell = sum >= 9 * b + 5 ? b + 1 : sum <= 9 * b - 5 ? b - 1 : b;
            }
        }
    }
    return map;
}

TEST_F(ConnectedWindow, F4ShowsTheControllersMapAndItsEditsReachTheController) {
    activate();
    QTest::keyClick(window.get(), Qt::Key_F4);
    ASSERT_EQ(window->currentPage(), MainWindow::kPageAdjustment);

    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("StringGridMapa"));
    ASSERT_NE(grid, nullptr);
    const auto expectGridShows = [&](const std::array<int, 128>& map, const char* when) {
        for (int r = 1; r <= 16; ++r) {
            for (int c = 1; c <= 8; ++c) {
                EXPECT_EQ(cellText(grid, c, r).toInt(),
                          map[static_cast<std::size_t>((r - 1) * 8 + c - 1)])
                    << when << ": cell " << c << "," << r;
            }
        }
    };
    // The controller takes a write on its own thread: wait until it holds the map expected.
    const auto controllerHolds = [&](const std::array<int, 128>& expected) {
        return QTest::qWaitFor([&] { return mapOf(*controller) == expected; }, kDisplayWaitMs);
    };
    std::array<int, 128> map = mapOf(*controller);
    expectGridShows(map, "after F4");
    EXPECT_EQ(cellText(grid, 0, 0), QStringLiteral("bar/rpm"));

    // Row 9, column 4 selected: the plus key adds 1, Shift and minus takes 5, each written at
    // once to that one byte.
    constexpr std::size_t kCell = 8 * 8 + 3;
    const QRect cell = grid->visualRect(grid->model()->index(9, 4));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::keyClick(grid, Qt::Key_Plus);
    map[kCell] += 1;
    EXPECT_TRUE(controllerHolds(map)) << "plus key";
    QTest::keyClick(grid, Qt::Key_Minus, Qt::ShiftModifier);
    map[kCell] -= 5;
    EXPECT_TRUE(controllerHolds(map)) << "Shift and minus";
    expectGridShows(map, "after the keys");

    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("ButtonMapSmooth")),
                      Qt::LeftButton);
    const std::array<int, 128> even = smoothed(map);
    ASSERT_NE(even, map) << "the controller's map has something to smooth";
    EXPECT_TRUE(controllerHolds(even)) << "smooth";
    expectGridShows(even, "after smoothing");
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor::e2etest
