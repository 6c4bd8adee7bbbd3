// The main map's cell view as an installer uses it: "cells", "open recording...", the
// statistic and signal chosen, and cells selected there selected in the map's own grid.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <fstream>

#include "main_map_grid.h"
#include "maps/main_map.h"
#include "maps/main_map_editor.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/scatter_window.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/adjustment/cell_view_panel.h"
#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/pages/advanced/advanced_page.h"
#include "ui/pages/advanced/axis_cell_view_panel.h"
#include "ui/ui_build.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

struct CellViewTest : LogicTest {
    void SetUp() override {
        LogicTest::SetUp();
        showActive();
        connect();
        window->showPage(MainWindow::kPageAdjustment);
    }
    // A drive of `count` records at one operating point with one exhaust reading.
    LiveFrame writeDrive(const std::string& path, std::size_t count, std::uint16_t exhaust,
                         std::uint16_t gasTemperature = 0) {
        LiveFrame f;
        f.setWord(1, gasTemperature);
        f.setWord(21, 15000);
        f.setWord(79, 1300);
        f.setWord(80, exhaust);
        std::ofstream out(path);
        for (std::size_t i = 0; i < count; ++i) {
            for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
                out << f.word(w) << ',';
            out << '\n';
        }
        return f;
    }
};

TEST_F(CellViewTest, ShowsTheRecordingsCellsAndSelectsInTheMapGrid) {
    auto* view = window->adjustmentPage().mainMap().cellView();
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isVisible());
    find<QPushButton>("ButtonMapCells")->click();
    ASSERT_TRUE(view->isVisible());

    const std::string path = (folder + QStringLiteral("/drive.log")).toStdString();
    const LiveFrame frame = writeDrive(path, 25, 1000);
    const EcuImage& image = logic->session().image;
    const int column = operatingColumn(frame, image) + 1;
    const int row = operatingRow(frame, image) + 1;
    openAnswer = FileAnswer{path, 0};
    find<QPushButton>("ButtonCellsOpen")->click();
    EXPECT_EQ(find<QLabel>("LabelCellsRecording")->text(), QStringLiteral("drive.log"));
    auto* cells = find<QTableWidget>("StringGridCells");
    const std::string mapText =
        window->adjustmentPage().mainMap().editor().grid().text(column, row);
    EXPECT_EQ(view->model().texts().text(column, row), mapText + " | 2.5");
    EXPECT_EQ(view->model().texts().text(column == 1 ? 2 : 1, row).find('|'), std::string::npos);

    auto* statistic = find<QComboBox>("ComboBoxCellsStatistic");
    statistic->setCurrentIndex(1);
    emit statistic->activated(1);  // the mean exhaust gas temperature
    EXPECT_EQ(view->model().texts().text(column, row), mapText + " | 349");

    // Selecting there selects in StringGridMapa, whose tools then apply.
    selectCells(cells, {column, row, column, row});
    auto* map = find<QTableWidget>("StringGridMapa");
    const QList<QTableWidgetSelectionRange> ranges = map->selectedRanges();
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges.front().leftColumn(), column);
    EXPECT_EQ(ranges.front().topRow(), row);

    // A file that is no recording is said, the table kept.
    std::ofstream(folder.toStdString() + "/bad.log") << "x\n";
    openAnswer = FileAnswer{folder.toStdString() + "/bad.log", 0};
    find<QPushButton>("ButtonCellsOpen")->click();
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find("not a recording"), std::string::npos);
    EXPECT_EQ(view->model().texts().text(column, row), mapText + " | 349");
    for (const char* name :
         {"ButtonCellsOpen", "ComboBoxCellsStatistic", "ComboBoxCellsSignal", "StringGridCells"})
        EXPECT_FALSE(find<QWidget>(name)->accessibleName().isEmpty()) << name;
}

// A correction map's cell view: its "cells" button, the recording's time and mean per column of
// the map's axis, and a column selected there selected in the map's grid.
TEST_F(CellViewTest, ACorrectionMapsCellViewShowsItsColumnsAndSelectsInItsGrid) {
    window->showPage(MainWindow::kPageAdvanced);
    auto* view = window->findChild<AxisCellViewPanel*>(QStringLiteral("PanelCellsMapaTempGazu"));
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isVisible());
    find<QPushButton>("ButtonCellsMapaTempGazu")->click();
    ASSERT_TRUE(view->isVisible());

    // 30 degrees of gas: column 11 of the gas temperature map (edges -20, -15 ... 30).
    const std::string path = (folder + QStringLiteral("/gas.log")).toStdString();
    writeDrive(path, 25, 1000, 30);
    openAnswer = FileAnswer{path, 0};
    find<QPushButton>("ButtonCellsOpenMapaTempGazu")->click();
    EXPECT_EQ(find<QLabel>("LabelCellsRecordingMapaTempGazu")->text(), QStringLiteral("gas.log"));
    auto* cells = find<QTableWidget>("StringGridCellsMapaTempGazu");
    EXPECT_EQ(cellText(cells, 11, 0), QStringLiteral("30"));
    EXPECT_EQ(cellText(cells, 11, AxisCellViewModel::kStatisticRow), QStringLiteral("2.5"));
    EXPECT_TRUE(cellText(cells, 10, AxisCellViewModel::kStatisticRow).isEmpty());

    auto* statistic = find<QComboBox>("ComboBoxCellsStatisticMapaTempGazu");
    statistic->setCurrentIndex(1);
    emit statistic->activated(1);  // the mean exhaust gas temperature
    EXPECT_EQ(view->model().texts().text(11, AxisCellViewModel::kStatisticRow), "349");

    selectCells(cells, {11, 2, 11, 2});
    const QList<QTableWidgetSelectionRange> ranges =
        find<QTableWidget>("StringGridMapaTempGazu")->selectedRanges();
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges.front().leftColumn(), 11);
    EXPECT_EQ(ranges.front().rightColumn(), 11);
    EXPECT_EQ(ranges.front().topRow(), 1);
    for (const char* name : {"ButtonCellsMapaTempGazu", "ButtonCellsOpenMapaTempGazu",
                             "ComboBoxCellsStatisticMapaTempGazu",
                             "ComboBoxCellsSignalMapaTempGazu", "StringGridCellsMapaTempGazu"})
        EXPECT_FALSE(find<QWidget>(name)->accessibleName().isEmpty()) << name;
}

// An open correction map's cell view still fits the window's least size.
TEST_F(CellViewTest, ACorrectionMapsCellViewFitsTheWindowsLeastSize) {
    window->showPage(MainWindow::kPageAdvanced);
    find<QPushButton>("ButtonCellsMapaTempGazu")->click();
    const QSize least(MainWindow::kMinWidth, MainWindow::kMinHeight);
    window->resize(least);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), least);
}

// The cruise map's view beside it, counted by the connected controller's revision (4: 1300
// mbar lies in column 6, edges 1000, 1050 ... 1300).
TEST_F(CellViewTest, TheCruiseMapsCellViewCountsItsColumns) {
    auto* button = find<QPushButton>("ButtonCellsMapaTempomatu");
    ASSERT_TRUE(button->isVisible());
    button->click();
    const std::string path = (folder + QStringLiteral("/cruise.log")).toStdString();
    writeDrive(path, 10, 1000);
    openAnswer = FileAnswer{path, 0};
    find<QPushButton>("ButtonCellsOpenMapaTempomatu")->click();
    auto* cells = find<QTableWidget>("StringGridCellsMapaTempomatu");
    auto* map = find<QTableWidget>("StringGridMapaTempomatu");
    EXPECT_EQ(cellText(cells, 6, 1), cellText(map, 6, 1));
    EXPECT_EQ(cellText(cells, 6, AxisCellViewModel::kStatisticRow), QStringLiteral("1.0"));
    EXPECT_TRUE(cellText(cells, 5, AxisCellViewModel::kStatisticRow).isEmpty());
}

}  // namespace
}  // namespace kaldor::test

namespace kaldor::test {
namespace {

// "scatter plot..." in the log viewer: engine speed against manifold pressure, coloured by the
// exhaust temperature, over the visible range, with the main map's cell borders.
TEST_F(CellViewTest, TheLogViewersScatterPlotAndHistogram) {
    const QString path = folder + QStringLiteral("/scatter.log");
    writeDrive(path.toStdString(), 30, 1500);
    openAnswer = FileAnswer{path.toStdString(), 0};
    window->menu().viewlog1->trigger();
    auto* viewer = window->findChild<LogViewerWindow*>();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&viewer] { return viewer->loaded(); }, 20000));
    viewer->findChild<QPushButton*>(QStringLiteral("ButtonScatter"))->click();
    auto* scatter = viewer->findChild<ScatterWindow*>();
    ASSERT_NE(scatter, nullptr);
    EXPECT_EQ(scatter->plot().points.size(), 30u);
    // The viewer converts with the connected ECU's set-up: its map's axes are the borders.
    const RecordingSetup ecu = controllerSetup(logic->session().image, logic->session().state);
    EXPECT_EQ(scatter->plot().xLines, mapAxisLines(ecu, kScatterX));
    EXPECT_EQ(scatter->plot().yLines, mapAxisLines(ecu, kScatterY));
    EXPECT_EQ(scatter->plot().yLines.size(), 16u);
    EXPECT_EQ(scatter->histogramShown().counts.front(), 30u);  // one value: all in one bin
    auto* across = scatter->findChild<QComboBox*>(QStringLiteral("ComboBoxScatterX"));
    across->setCurrentIndex(static_cast<int>(LiveSignal::Throttle));
    emit across->activated(across->currentIndex());
    EXPECT_TRUE(scatter->plot().xLines.empty());
    EXPECT_FALSE(scatter->grab().isNull());
    viewer->close();
}

}  // namespace
}  // namespace kaldor::test
