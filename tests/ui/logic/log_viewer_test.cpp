// The log viewer as a user drives it: opened from File1 beside a connected controller, and alone
// on a file, with keys on the offscreen platform.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

#include <fstream>

#include "live/data_logger.h"
#include "live/live_signals.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/trace_view.h"
#include "ui/pages/diagnostic/data_logger_panel.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/side_panel.h"
#include "widgets/ab_bar.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

std::string demoLine(const LiveFrame& f) {
    std::string line;
    for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
        line += std::to_string(f.word(w)) + ",";
    return line + "\n";
}

QString valueAt(LogViewerWindow& viewer, LiveSignal id) {
    const int row = viewer.rowOf(id);
    auto* table = viewer.findChild<QTableWidget*>(QStringLiteral("TableChannels"));
    return row < 0 ? QString() : table->item(row, LogViewerWindow::ValueColumn)->text();
}

// A live value the side panel and the readings page show, and where.
struct Shown {
    LiveSignal id;
    const char* widget;
};
constexpr Shown kShownOnPages[] = {
    {LiveSignal::EngineSpeed, "AbBarPasRpm"},
    {LiveSignal::Throttle, "AbBarTPS"},
    {LiveSignal::PressureDifference, "AbBarPasDifP"},
    {LiveSignal::ManifoldPressure, "AbBarPasVacum"},
    {LiveSignal::GasPressure, "AbBarPasAbs"},
    {LiveSignal::AirFlow, "AbBarPasAir"},
    {LiveSignal::RailPressure, "AbBarPasRail"},
    {LiveSignal::StepperPosition, "AbBarPasStep"},
    {LiveSignal::TankLevel, "AbBarPasLevel"},
    {LiveSignal::ExhaustTemperature, "AbBarEGT1"},
    {LiveSignal::PropaneTemperature, "AbBarPasTg"},
    {LiveSignal::ReducerTemperature, "AbBarPasTr"},
};

TEST_F(LogicTest, ViewLogShowsTheLastRecordAsTheLivePagesShowIt) {
    const std::pair<std::size_t, std::uint16_t> words[] = {
        {21, 11059}, {4, 600},  {24, 1300}, {78, 2350}, {79, 1450},
        {30, 2000},  {9, 1500}, {3, 120},   {26, 1500}, {80, 1200},
        {1, 45},     {0, 62},   {6, 2000},  {8, 345},   {39, 2 << 7}};
    for (const auto& [w, v] : words)
        controller.setRecordWord(w, v);
    showActive();
    connect();
    pollOnce();
    const LiveFrame shown = logic->session().frame;

    const QString path = folder + QStringLiteral("/drive.log");
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << demoLine(LiveFrame()) << demoLine(LiveFrame()) << demoLine(shown);
    }
    openAnswer = FileAnswer{path.toStdString(), 0};
    window->menu().viewlog1->trigger();
    ASSERT_FALSE(fileQuestions.empty());
    EXPECT_EQ(fileQuestions.back().filters.size(), 2u);
    auto* viewer = window->findChild<LogViewerWindow*>();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&viewer] { return viewer->loaded(); }, 20000));
    EXPECT_TRUE(viewer->windowTitle().startsWith(QStringLiteral("drive.log")));
    EXPECT_EQ(viewer->findChild<QLabel*>(QStringLiteral("LabelSetup"))->text(),
              QStringLiteral("set-up: the connected ECU"));

    QTest::keyClick(viewer->traceView(), Qt::Key_End);
    EXPECT_EQ(viewer->view()->cursor(), 2u);
    for (const Shown& s : kShownOnPages) {
        auto* bar = find<AbBar>(s.widget);
        ASSERT_NE(bar, nullptr) << s.widget;
        EXPECT_EQ(valueAt(*viewer, s.id) + bar->unitText(), bar->valueText()) << s.widget;
    }
    EXPECT_EQ(valueAt(*viewer, LiveSignal::SupplyVoltage) + QStringLiteral("V"),
              find<QLineEdit>("EditAkum")->text());
    EXPECT_EQ(valueAt(*viewer, LiveSignal::PowerStage), find<QLineEdit>("EditAlter")->text());
    viewer->close();
}

TEST_F(LogicTest, TheFileTheLoggerIsWritingShowsTheLinesLoggedSoFar) {
    showActive();
    connect();
    const DataLogger& logger = window->diagnosticPage().dataLogger->logger();
    // On disk: the one line of the last stop.
    std::ofstream(logger.filePath(), std::ios::binary) << demoLine(LiveFrame());
    find<QPushButton>("Button13")->click();
    for (int i = 0; i < 4; ++i)
        pollOnce();
    openAnswer = FileAnswer{logger.filePath(), 0};
    window->menu().viewlog1->trigger();
    auto* viewer = window->findChild<LogViewerWindow*>();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&viewer] { return viewer->loaded(); }, 20000));
    EXPECT_EQ(viewer->view()->recording().size(), 4u);
    EXPECT_TRUE(viewer->findChild<QLabel*>(QStringLiteral("LabelNote"))
                    ->text()
                    .startsWith(QStringLiteral("The logger is running")));
    pollOnce();
    viewer->findChild<QPushButton*>(QStringLiteral("ButtonReload"))->click();
    EXPECT_TRUE(QTest::qWaitFor(
        [&viewer] { return !viewer->findChild<QProgressBar*>()->isVisible(); }, 20000));
    EXPECT_EQ(viewer->view()->recording().size(), 5u);
    viewer->close();
}

class ViewerAlone : public ::testing::Test {
protected:
    std::unique_ptr<LogViewerWindow> open(const QString& name, const std::string& content) {
        const QString path = folder.path() + QLatin1Char('/') + name;
        std::ofstream(path.toStdString(), std::ios::binary) << content;
        prompts.setMessageSink([this](const std::string& m) { messages.push_back(m); });
        prompts.setFileSinks([](const FileQuestion&) { return std::optional<FileAnswer>(); },
                             [this](const FileQuestion&) { return saveAnswer; });
        auto viewer =
            std::make_unique<LogViewerWindow>(path, defaultSetup(), prompts, StatusTexts{});
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
        viewer->show();
        return viewer;
    }

    QTemporaryDir folder;
    QtPrompts prompts{nullptr};
    std::vector<std::string> messages;
    std::optional<FileAnswer> saveAnswer;
};

TEST_F(ViewerAlone, KeysMoveTheViewAndTheCursorAndTheRangeGoesOut) {
    std::string text;
    for (int r = 0; r < 3000; ++r) {
        LiveFrame f;
        f.setWord(21, static_cast<std::uint16_t>(10000 + r));
        f.setWord(39, static_cast<std::uint16_t>((r / 700 % 3) << 7));
        text += demoLine(f);
    }
    const auto viewer = open(QStringLiteral("long.log"), text);
    ASSERT_TRUE(QTest::qWaitFor([&viewer] { return viewer->loaded(); }, 20000));
    TraceView* traces = viewer->traceView();
    LogView& view = *viewer->view();
    EXPECT_EQ(view.visibleLast(), 3000u);

    QTest::keyClick(traces, Qt::Key_End);
    EXPECT_EQ(view.cursor(), 2999u);
    EXPECT_EQ(valueAt(*viewer, LiveSignal::EngineSpeed).toStdString(),
              liveText(view.recording().frame(2999), LiveSignal::EngineSpeed, LiveContext{}));
    QTest::keyClick(traces, Qt::Key_Plus);
    QTest::keyClick(traces, Qt::Key_Plus);
    EXPECT_LT(view.visibleLast() - view.visibleFirst(), 1000u);
    EXPECT_EQ(view.visibleLast(), 3000u);  // zoomed around the cursor
    QTest::keyClick(traces, Qt::Key_Home);
    EXPECT_EQ(view.cursor(), 0u);
    EXPECT_EQ(view.visibleFirst(), 0u);
    QTest::keyClick(traces, Qt::Key_F);
    EXPECT_EQ(view.visibleLast(), 3000u);
    QTest::mouseClick(traces, Qt::LeftButton, {},
                      QPoint(TraceView::kScaleWidth + traces->width() / 4, 50));
    EXPECT_NEAR(static_cast<double>(view.cursor()),
                3000.0 * (traces->width() / 4) / (traces->width() - TraceView::kScaleWidth), 30);

    // The readout is a table a screen reader reads, with a name for every control.
    for (QWidget* w : viewer->findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus && !w->objectName().isEmpty() &&
            qobject_cast<QAbstractButton*>(w) != nullptr) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }

    QTest::keyClick(traces, Qt::Key_Minus);
    saveAnswer = FileAnswer{(folder.path() + QStringLiteral("/range")).toStdString(), 0};
    viewer->findChild<QPushButton*>(QStringLiteral("ButtonExportRange"))->click();
    QFile csv(folder.path() + QStringLiteral("/range.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(static_cast<std::size_t>(csv.readAll().count('\n')),
              1 + view.visibleLast() - view.visibleFirst());
    saveAnswer = FileAnswer{(folder.path() + QStringLiteral("/view")).toStdString(), 0};
    viewer->findChild<QPushButton*>(QStringLiteral("ButtonSavePicture"))->click();
    EXPECT_FALSE(QImage(folder.path() + QStringLiteral("/view.png")).isNull());
    EXPECT_TRUE(messages.empty());
}

TEST_F(ViewerAlone, ADamagedFileIsRefusedWithAMessageAndTheWindowCloses) {
    const auto viewer = open(QStringLiteral("damaged.log"), std::string("12,34,\x01\x02garbage\n"));
    QSignalSpy refused(viewer.get(), &LogViewerWindow::refused);
    ASSERT_TRUE(QTest::qWaitFor([&refused] { return refused.count() == 1; }, 20000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("\"damaged.log\" is not a recording: line 1"), std::string::npos)
        << messages[0];
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_FALSE(viewer->loaded());
}

}  // namespace
}  // namespace kaldor::test
