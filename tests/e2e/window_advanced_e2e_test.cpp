// The correction maps and the cruise map against the virtual controller, in real time: the grids
// show the controller's bytes (the corrections signed), and the plus and minus keys change
// exactly the selected cells, within their limits, in the controller's memory.
#include <QTableWidget>

#include "factory_image.h"
#include "maps/correction_maps.h"
#include "ui/ui_build.h"
#include "window_e2e_fixture.h"

namespace kaldor::e2etest {
namespace {

constexpr std::size_t kCorrectionByte = 554;  // CorrectionMaps: 160 signed bytes
constexpr std::size_t kCorrectionBytes = 160;
constexpr std::size_t kCruiseByte = 100;  // CruiseMap: 24 bytes
constexpr std::size_t kCruiseBytes = 24;

std::vector<int> correctionsOf(const sim::VirtualController& controller) {
    std::vector<int> bytes;
    for (std::size_t i = 0; i < kCorrectionBytes; ++i)
        bytes.push_back(static_cast<std::int8_t>(controller.readByte(kCorrectionByte + i)));
    return bytes;
}

std::vector<int> cruiseOf(const sim::VirtualController& controller) {
    std::vector<int> bytes;
    for (std::size_t i = 0; i < kCruiseBytes; ++i)
        bytes.push_back(controller.readByte(kCruiseByte + i));
    return bytes;
}

TEST_F(WindowAgainstController, CorrectionAndCruiseKeysChangeExactlyTheSelectedCells) {
    // Corrections over the whole range they may hold, -90 to 100, with cells near both limits.
    sim::ParameterImage image = sim::factoryImage();
    for (std::size_t i = 0; i < kCorrectionBytes; ++i)
        image[kCorrectionByte + i] = static_cast<std::uint8_t>(static_cast<int>(i * 7 % 191) - 90);
    image[kCorrectionByte + 2] = 98;  // EGT, columns 2 and 3
    image[kCorrectionByte + 3] = 97;
    image[kCorrectionByte + 48 + 4] = static_cast<std::uint8_t>(-88);  // gas temperature, column 4
    image[kCruiseByte + 23] = 249;
    sim::VirtualController::Options options;
    options.image = image;
    start(options);
    showActive();
    window->menu().F10autoconnect1->trigger();
    expectConnectedOnCom1();
    activate();

    const auto grid = [this](const char* name) {
        return window->findChild<QTableWidget*>(QString::fromLatin1(name));
    };
    const auto select = [](QTableWidget* g, int from, int to) {
        const auto at = [g](int column) {
            return g->visualRect(g->model()->index(1, column)).center();
        };
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, at(from));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(to));
    };
    const auto holds = [this](const std::function<std::vector<int>()>& memory,
                              const std::vector<int>& expected) {
        return QTest::qWaitFor([&] { return memory() == expected; }, kDisplayWaitMs);
    };
    const auto corrections = [this] { return correctionsOf(*controller); };
    const auto cruise = [this] { return cruiseOf(*controller); };

    window->showPage(MainWindow::kPageAdvanced);
    std::vector<int> expected = corrections();
    for (const CorrectionMapDef& map : correctionMaps()) {
        for (int c = 0; c < map.columns; ++c) {
            ASSERT_EQ(cellText(grid(map.grid), c, 1),
                      QString::number(expected[map.firstByte + static_cast<std::size_t>(c)]))
                << map.grid << " column " << c;
        }
    }
    QTableWidget* egt = grid("StringGridMapaEGT");
    select(egt, 2, 3);
    QTest::keyClick(egt, Qt::Key_Plus, Qt::ShiftModifier);
    expected[2] = 100;
    expected[3] = 100;
    EXPECT_TRUE(holds(corrections, expected)) << "Shift and plus stop at 100";
    QTableWidget* gasTemperature = grid("StringGridMapaTempGazu");
    select(gasTemperature, 4, 4);
    QTest::keyClick(gasTemperature, Qt::Key_Underscore, Qt::ShiftModifier);
    expected[48 + 4] = -90;
    EXPECT_TRUE(holds(corrections, expected)) << "Shift and minus stop at -90";
    EXPECT_EQ(cellText(gasTemperature, 4, 1), QStringLiteral("-90"));

    activate();
    QTest::keyClick(window.get(), Qt::Key_F4);
    ASSERT_EQ(window->currentPage(), MainWindow::kPageAdjustment);
    QTableWidget* cruiseGrid = grid("StringGridMapaTempomatu");
    std::vector<int> cruiseExpected = cruise();
    for (int c = 0; c < 24; ++c)
        ASSERT_EQ(cellText(cruiseGrid, c, 1),
                  QString::number(cruiseExpected[static_cast<std::size_t>(c)]))
            << "cruise column " << c;
    select(cruiseGrid, 10, 12);
    QTest::keyClick(cruiseGrid, Qt::Key_Plus);
    for (std::size_t c = 10; c <= 12; ++c)
        ++cruiseExpected[c];
    EXPECT_TRUE(holds(cruise, cruiseExpected)) << "plus on three columns";
    select(cruiseGrid, 22, 23);
    QTest::keyClick(cruiseGrid, Qt::Key_Plus, Qt::ShiftModifier);
    cruiseExpected[22] = std::min(cruiseExpected[22] + 5, 250);
    cruiseExpected[23] = 250;
    EXPECT_TRUE(holds(cruise, cruiseExpected)) << "Shift and plus stop at 250";
    EXPECT_TRUE(holds(corrections, expected)) << "the corrections stay as they were";
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor::e2etest
