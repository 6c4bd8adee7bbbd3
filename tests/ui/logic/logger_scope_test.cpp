// The data logger tab, the oscilloscope and the settings file, as a user meets them.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include "files/settings_file.h"
#include "live/data_logger.h"
#include "model/units.h"
#include "ui/pages/diagnostic/data_logger_panel.h"
#include "ui/pages/readings/readings_page.h"
#include "ui/pages/readings/scope_view.h"
#include "ui/window_settings.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

struct LoggerScopeTest : LogicTest {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        LogicTest::SetUp();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void writeFile(const char* name, const std::string& text) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.data(), static_cast<qint64>(text.size()));
    }
    std::string readFile(const char* name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<none>");
    }
    // Opens the "DataLogger" tab and clicks one of its buttons.
    void click(const char* button) {
        window->showPage(MainWindow::kPageDiagnostic);
        window->diagnosticPage().PageControlDiag->setCurrentWidget(
            window->diagnosticPage().TabSheet8);
        QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
    }
    Oscilloscope& scope() { return window->readingsPage().oscilloscope(); }

    QTemporaryDir dir;
};

std::string lineOf(std::uint16_t first, std::uint16_t word21) {
    std::string line;
    for (std::size_t w = 0; w < 96; ++w)
        line += std::to_string(w == 0 ? first : w == 21 ? word21 : 0) + ",";
    return line + "\n";
}

TEST_F(LoggerScopeTest, ARecordingWritesEveryCollectedRecordAsOneLineOfDemoLog) {
    showActive();
    connect();
    EXPECT_EQ(find<QPushButton>("Button13")->text(), QStringLiteral("ButtonLogStart"));
    EXPECT_EQ(find<QPushButton>("Button16")->text(), QStringLiteral("ButtonDemoStop"));
    pollOnce();  // before the start: not logged
    click("Button13");
    std::string expected;
    for (std::uint16_t i = 1; i <= 3; ++i) {
        controller.setRecordWord(0, i);
        controller.setRecordWord(21, static_cast<std::uint16_t>(60000 + i));
        pollOnce();
        expected += lineOf(i, static_cast<std::uint16_t>(60000 + i));
    }
    click("Button14");
    pollOnce();  // after the stop: not logged
    EXPECT_EQ(readFile("demo.log"), expected);
    EXPECT_EQ(find<QPlainTextEdit>("MemoLog")->toPlainText().toStdString() + "\n", expected);
    EXPECT_TRUE(messages.empty());
}

TEST_F(LoggerScopeTest, ADemoLogThatCannotBeWrittenIsReportedAndKeptForTheNextStop) {
    showActive();
    connect();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("demo.log")));
    click("Button13");
    pollOnce();
    click("Button14");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(path("demo.log").toStdString()), std::string::npos) << messages[0];

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("demo.log")));
    click("Button14");
    EXPECT_EQ(messages.size(), 1u);
    const std::string written = readFile("demo.log");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1);
}

// A recording the last run could not stop is offered once the window is up; OK keeps its whole
// lines as "demo.log".
TEST_F(LoggerScopeTest, ARecordingTheLastRunLeftIsOfferedAtStartAndKeptAsDemoLog) {
    writeFile("demo.log.partial", lineOf(1, 2) + lineOf(3, 4) + "5,6");
    okCancelAnswer = Answer::Ok;
    showActive();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("holds 2 lines"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(readFile("demo.log"), lineOf(1, 2) + lineOf(3, 4));
    EXPECT_FALSE(QFile::exists(path("demo.log.partial")));
    EXPECT_TRUE(messages.empty());
}

TEST_F(LoggerScopeTest, PlaybackWithoutAControllerShowsTheFilesEngineSpeedAndTheScopeTraces) {
    writeFile("demo.log", lineOf(0, 20000) + lineOf(0, 10000));
    showActive();
    click("Button15");
    EXPECT_TRUE(find<QLabel>("LabelDemoLines")->text().contains(QStringLiteral("2 lines")));
    window->showPage(MainWindow::kPageReadings);
    scope().selectItems({1, 0, 0, 0});
    window->readingsPage().ComboBoxScopeTypeRed->setFocus();

    // Lines 1, 0, 1: the first line shown after loading is the second of the file.
    for (const std::uint16_t period : {10000, 20000, 10000}) {
        pollOnce();
        const auto rpm = static_cast<double>(PeriodToRpm(period, 0));
        EXPECT_DOUBLE_EQ(window->sidePanel().AbBarPasRpm->value(), rpm) << period;
        EXPECT_FLOAT_EQ(scope().recorder().channel(0).value, static_cast<float>(rpm));
    }
    EXPECT_EQ(scope().recorder().sampleCount(), 3u);
    EXPECT_TRUE(scope().recorder().channel(0).enabled);
    EXPECT_EQ(scope().recorder().channel(1).penWidth, OSCYLOSKOP::kFocusedPenWidth);
    EXPECT_EQ(window->readingsPage().PaintBoxScope->bitmap().size(),
              window->readingsPage().PaintBoxScope->size());

    // Another page on show: the history waits.
    window->showPage(MainWindow::kPageParameters);
    pollOnce();
    EXPECT_EQ(scope().recorder().sampleCount(), 3u);

    click("Button16");
    pollOnce();
    EXPECT_EQ(window->sidePanel().AbLEDStatus->caption(), QStringLiteral("error COMx"));
    EXPECT_TRUE(messages.empty());
}

TEST(ScopeBoxTest, TracesAreAsWideAsTheirPenAndAPointFarOffTheBoxCostsNothing) {
    const std::vector<ScopePoint> flat{{0, 10}, {1, 10}, {2, 10}};
    const std::vector<ScopePoint> steep{{10, 0}, {11, 50}, {30, -1000000000}};
    auto trace = [](const std::vector<ScopePoint>& points, ScopeColour colour, int width) {
        ScopeStep step;
        step.kind = ScopeStep::Kind::Polyline;
        step.colour = colour;
        step.penWidth = width;
        step.points = points.data();
        step.pointCount = points.size();
        return step;
    };
    ScopePicture picture;
    picture.width = 40;
    picture.height = 60;
    picture.steps = {trace(flat, kScopeMaroon, 4), trace(steep, kScopeBlue, 2)};
    ScopeBox box;
    box.showPicture(picture);
    const QImage& image = box.bitmap();
    ASSERT_EQ(image.size(), QSize(40, 60));
    for (int y = 0; y < 60; ++y)
        EXPECT_EQ(image.pixel(1, y) == QColor(128, 0, 0).rgb(), y >= 8 && y <= 11) << y;
    std::vector<int> blue;
    for (int x = 0; x < 40; ++x)
        if (image.pixel(x, 25) == QColor(0, 0, 255).rgb())
            blue.push_back(x);
    EXPECT_EQ(blue, (std::vector<int>{10, 11}));
}

TEST_F(LoggerScopeTest, ADamagedDemoLogPlaysWithinItsLimitsAndSaysOnceThatLinesWereLeftOut) {
    std::string damaged = std::string("\x01\xff") + '\0' + "garbage,1234567890123,65536,-5,+7,\r\n";
    damaged += std::string(5000, '9') + "," + std::string(300, ',') + "\n";
    for (int i = 0; i < 60000; ++i)
        damaged += "12,\n";
    writeFile("demo.log", damaged);
    showActive();
    click("Button15");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(window->diagnosticPage().dataLogger->logger().lineCount(), DataLogger::kMaxLines);
    window->showPage(MainWindow::kPageReadings);
    for (int i = 0; i < 5; ++i)
        pollOnce();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(LoggerScopeTest, StoredSettingsApplyAtFirstActivationThroughTheSizeRule) {
    writeFile("kaldor-test.INI",
              "[Form]\nTop=10\nLeft=20\nHeight=650\nWidth=700\n"
              "[Form1->ComboBoxScopType]\nItemIndex=1\n[Form1->ComboBoxScopeTypeRed]\nItemIndex=7\n"
              "[Form1->ComboBoxScopeTypeBlue]\nItemIndex=12\n"
              "[Form1->ComboBoxScopeTypeGreen]\nItemIndex=3\n");
    showActive();
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(frame.width(), 800);
    EXPECT_EQ(frame.height(), 650);
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
    EXPECT_EQ(scope().selectedItems(), (std::array<int, 4>{1, 7, -1, 3}));
    EXPECT_EQ(window->readingsPage().ComboBoxScopeTypeGreen->currentText(),
              QStringLiteral("MAF (MAS AIR FLOW)"));
}

TEST_F(LoggerScopeTest, ClosingWritesTheWindowSelectorsAndColoursAndKeepsEveryOtherEntry) {
    writeFile("kaldor-test.INI",
              "[Ports]\nCOM1=/dev/ttyUSB0\n[Form]\nTop=30\nLeft=40\nHeight=700\nWidth=900\n"
              "Maximised=1\n[Mine]\nKey=v\n");
    showActive();
    scope().selectItems({2, 0, 5, -1});
    QColor offered;
    logic->settings().setColourQuestion([&](const QColor& initial) -> std::optional<QColor> {
        offered = initial;
        return QColor(1, 2, 3);
    });
    window->readingsPage().colourButtons[1]->click();  // "C2", hidden from the user
    EXPECT_EQ(offered, QColor(216, 127, 0));
    window->findChild<QPushButton*>(QStringLiteral("ButtonFormColor"))->click();
    window->menu().exit1->trigger();

    const SettingsFile file(path("kaldor-test.INI").toStdString());
    EXPECT_EQ(file.readString("Ports", "COM1", ""), "/dev/ttyUSB0");
    EXPECT_EQ(file.readString("Mine", "Key", ""), "v");
    EXPECT_EQ(file.readInt("Form", "Maximised", 0), 1);
    EXPECT_EQ(file.readInt("Form", "Width", 0), 900);
    EXPECT_EQ(file.readInt("Form", "Height", 0), 700);
    EXPECT_EQ(file.readInt("Form", "Top", 0), 30);
    EXPECT_EQ(file.readInt("Form1->ComboBoxScopType", "ItemIndex", 0), 2);
    EXPECT_EQ(file.readInt("Form1->ComboBoxScopeTypeBlue", "ItemIndex", 0), 5);
    EXPECT_EQ(file.readInt("Form1->ComboBoxScopeTypeGreen", "ItemIndex", 0), -1);
    EXPECT_EQ(file.readInt("KolorWskaznikowCiemny", "Color", 0), 0x030201);
    EXPECT_EQ(file.readInt("KolorWskaznikowJasny", "Color", 0), 32808);
    EXPECT_EQ(file.readInt("KolorFormy", "Color", 0), 0x030201);
}

TEST_F(LoggerScopeTest, ASettingsFileThatCannotBeReadIsNeverOverwritten) {
    const std::string unreadable =
        std::string("[Ports]\nCOM1=/dev/ttyS0\n[Form]\nWidth=1000\n") + '\0' + "rest";
    writeFile("kaldor-test.INI", unreadable);
    showActive();
    EXPECT_EQ(window->frameGeometry().width(), 800);
    window->menu().exit1->trigger();
    EXPECT_EQ(readFile("kaldor-test.INI"), unreadable);
}

}  // namespace
}  // namespace kaldor::test
