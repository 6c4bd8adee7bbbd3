// First activation, closing, the timer, help, the folders, and commands reaching their hooks.
#include <QDir>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>

#include <stdexcept>

#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_led.h"
#include "window_fixture.h"

namespace kaldor::test {
namespace {

constexpr const char* kWaitingForFirstActivation[] = {
    "PanelAdvanced", "PanelAdvanced2",  "StringGridMapaTempomatu", "GroupBoxCutOff",
    "PanelTpsCrus",  "ButtonTempoP5",   "ButtonTempoP1",           "ButtonTempoM1",
    "ButtonTempoM5", "PanelDNADigitAll"};

TEST_F(WindowTest, FirstActivationAppliesSettingsAndShowsTheAdvancedControlsOnce) {
    EXPECT_EQ(calls["firstActivation"], 0) << "creation must not apply the settings";
    showActive();
    EXPECT_EQ(calls["firstActivation"], 1);
    EXPECT_TRUE(window->isTabShown(MainWindow::kPageAdvanced));
    EXPECT_TRUE(window->isTabShown(MainWindow::kPageDna));
    for (const char* name : kWaitingForFirstActivation) {
        EXPECT_FALSE(find<QWidget>(name)->isHidden()) << name;
    }

    // A later activation (a dialog closing) leaves what the program has changed since.
    window->setTabShown(MainWindow::kPageAdvanced, false);
    find<QWidget>("PanelTpsCrus")->hide();
    window->FormActivate();
    QWidget dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.close();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(calls["firstActivation"], 1);
    EXPECT_FALSE(window->isTabShown(MainWindow::kPageAdvanced));
    EXPECT_TRUE(find<QWidget>("PanelTpsCrus")->isHidden());
}

TEST_F(WindowTest, AFailingSettingsStepIsReportedAndEndsTheFirstActivation) {
    window->hooks().onFirstActivation = [] { throw std::runtime_error("bad settings file"); };
    showActive();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], QStringLiteral("bad settings file"));
    EXPECT_FALSE(window->isTabShown(MainWindow::kPageAdvanced));
    EXPECT_TRUE(window->isVisible()) << "the window stays open";
}

TEST_F(WindowTest, ExitStopsTheTimerBeforeTheCloseHookAndClosesTheWindow) {
    showActive();
    bool timerRunningInCloseHook = true;
    window->hooks().onClose = [this, &timerRunningInCloseHook] {
        ++calls["close"];
        timerRunningInCloseHook = window->timer()->isActive();
    };
    action("exit1")->trigger();
    EXPECT_EQ(calls["close"], 1);
    EXPECT_FALSE(timerRunningInCloseHook);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, ClosingByTheFrameRunsTheSameShutdown) {
    showActive();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(calls["close"], 1);
    EXPECT_FALSE(window->timer()->isActive());
}

TEST_F(WindowTest, Timer1TicksEvery50MsFromCreation) {
    QTimer* timer = find<QTimer>("Timer1");
    ASSERT_EQ(timer, window->timer());
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 50);
    EXPECT_TRUE(QTest::qWaitFor([this] { return calls["tick"] >= 2; }, 10000));

    window->timerSwitch().setTimerEnabled(false);
    EXPECT_FALSE(timer->isActive());
    window->timerSwitch().setTimerEnabled(true);
    EXPECT_TRUE(timer->isActive());
}

TEST_F(WindowTest, StatusLampClickShowsTheDiagnosticPage) {
    showActive();
    QTest::mouseClick(find<AbLED>("AbLEDStatus"), Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), MainWindow::kPageDiagnostic);
}

TEST_F(WindowTest, FuelButtonsRunTheSameCommandsAsTheMenuItems) {
    showActive();
    const std::tuple<const char*, const char*, const char*> pairs[] = {
        {"AbColBitBtnPasBenzyna", "petro1", "diesel"},
        {"AbColBitBtnPasAutomat", "auto1", "auto"},
        {"AbColBitBtnPasGaz", "propane1", "propane"},
    };
    for (const auto& [button, item, hook] : pairs) {
        QTest::mouseClick(find<AbColBitBtn>(button), Qt::LeftButton);
        EXPECT_EQ(calls[hook], 1) << button;
        action(item)->trigger();
        EXPECT_EQ(calls[hook], 2) << item;
    }
    EXPECT_FALSE(find<AbColBitBtn>("AbColBitBtnPasGaz")->state())
        << "a click shows nothing until the controller reports the mode";
}

TEST_F(WindowTest, MenuCommandsReachTheirHooks) {
    const std::pair<const char*, const char*> commands[] = {
        {"savetodisk1", "saveToDisk"},
        {"loadtoECU1", "loadToEcu"},
        {"LoadMap1", "loadMap"},
        {"RESET1", "reset"},
        {"F10autoconnect1", "autoconnect"},
        {"verifyECU1", "verifyEcu"},
        {"comparewithfile1", "compareWithFile"},
        {"exportlogasCSV1", "exportLogCsv"},
        {"history1", "history"},
        {"PrintReport1", "printReport"},
    };
    for (const auto& [item, hook] : commands) {
        action(item)->trigger();
        EXPECT_EQ(calls[hook], 1) << item;
    }
}

TEST_F(WindowTest, AFailingCommandIsReportedAndTheWindowCarriesOn) {
    window->hooks().onLoadToEcu = [] { throw std::invalid_argument("'12,x' is not a number"); };
    action("loadtoECU1")->trigger();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], QStringLiteral("'12,x' is not a number"));
    action("savetodisk1")->trigger();
    EXPECT_EQ(calls["saveToDisk"], 1);
}

TEST_F(WindowTest, HelpOpensTheSchFolderBesideTheProgram) {
    action("help1")->trigger();
    ASSERT_EQ(openedFolders.size(), 1u);
    EXPECT_EQ(openedFolders[0], QUrl::fromLocalFile(QStringLiteral("/opt/kaldor/sch")));
    EXPECT_TRUE(reports.empty());
}

TEST_F(WindowTest, FoldersComeFromStartUp) {
    EXPECT_EQ(window->baseFolder(), QStringLiteral("/tmp/kaldor-base"));
    EXPECT_EQ(window->programFolder(), QStringLiteral("/opt/kaldor"));
    // A program folder the user cannot write (here: not there at all) keeps the settings in
    // the user's configuration folder, over the file beside the program.
    // (Windows joins the folders with its own separator.)
    const QString file = QDir::fromNativeSeparators(window->settingsFilePath());
    EXPECT_TRUE(file.endsWith(QStringLiteral("/kaldor/kaldor.INI"))) << file.toStdString();
    EXPECT_NE(file, QStringLiteral("/opt/kaldor/kaldor.INI"));
    EXPECT_EQ(QDir::fromNativeSeparators(window->settingsFallbackPath()),
              QStringLiteral("/opt/kaldor/kaldor.INI"));
    EXPECT_EQ(window->configurationFolder(), QStringLiteral("/tmp/kaldor-base/parametry"));
}

TEST(MainWindowFolders, BaseFolderKeepsAtMost511Characters) {
    Folders folders = testFolders();
    folders.baseFolder = QLatin1Char('/') + QString(700, QLatin1Char('d'));
    MainWindow window(folders);
    EXPECT_EQ(window.baseFolder().size(), MainWindow::kMaxBaseFolderChars);
    EXPECT_EQ(window.baseFolder(), folders.baseFolder.left(MainWindow::kMaxBaseFolderChars));
}

TEST_F(WindowTest, PageOperationsIgnoreIndexesOutOfRange) {
    window->showPage(2);
    window->showPage(8);
    window->showPage(-1);
    EXPECT_EQ(window->currentPage(), 2);
    window->setTabShown(99, false);
    EXPECT_FALSE(window->isTabShown(99));
    window->setTabShown(MainWindow::kPageEmu, false);
    EXPECT_FALSE(window->isTabShown(MainWindow::kPageEmu));
}

TEST_F(WindowTest, ProgressSinkStepsProgressBar1AndStaysWithinItsRange) {
    ProgressSink& sink = window->progressSink();
    sink.setMaximum(10);
    sink.setPosition(0);
    sink.step();
    sink.step();
    EXPECT_EQ(window->progressBar()->value(), 2);
    EXPECT_EQ(window->progressBar()->maximum(), 10);
    sink.setPosition(50);
    EXPECT_EQ(sink.position(), 10);
    sink.setPosition(-3);
    EXPECT_EQ(sink.position(), 0);
}

}  // namespace
}  // namespace kaldor::test
