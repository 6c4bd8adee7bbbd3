// "verify ECU", "compare with file..." and "export log as CSV" from the File menu, against the
// scripted controller: what the difference dialog is shown, what its choices send.
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>

#include "live/data_logger.h"
#include "service/setup_description.h"
#include "ui/commands/language.h"
#include "ui/pages/diagnostic/data_logger_panel.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

const std::string kLiveRequest = "AA 05 00 00 59 F2";

std::string sent(const CommandFrame& f) {
    return hex(f.data(), f.size());
}

std::vector<std::string> namesOf(const std::vector<Difference>& list) {
    std::vector<std::string> names;
    for (const Difference& d : list)
        names.push_back(d.name);
    return names;
}

struct VerifyCompareTest : LogicTest {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        LogicTest::SetUp();
        window->hooks().reportException = [](const QString& t) {
            ADD_FAILURE() << t.toStdString();
        };
        for (std::size_t i = 0; i < 768; ++i)
            controller.memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
        controller.setWord(374, 0);  // no PIN
    }
    // The frames sent, without the polling the restarted Timer1 may have slipped in.
    std::vector<std::string> commands() const {
        std::vector<std::string> out = log.writes();
        out.erase(std::remove(out.begin(), out.end(), kLiveRequest), out.end());
        return out;
    }
    static std::size_t pageReads(const std::vector<std::string>& frames) {
        return static_cast<std::size_t>(
            std::count_if(frames.begin(), frames.end(),
                          [](const std::string& f) { return f.rfind("AA 01", 0) == 0; }));
    }
    EcuImage& image() { return logic->session().image; }
    // Writes lost on the way: a bit field, a map cell and the serial number differ in the
    // controller's memory from the PC image.
    EcuImage loseThreeWrites() {
        EcuImage ecu = image();
        storeField(ecu, FieldId::CruiseMode, (readField(ecu, FieldId::CruiseMode) + 1) & 7);
        storeField(ecu, FieldId::MainMap, readField(ecu, FieldId::MainMap, 20) ^ 0x10, 20);
        storeField(ecu, FieldId::ControllerSerialNumber, 0x01020304);
        std::copy_n(ecu.bytes().begin(), EcuImage::kSize, controller.memory.begin());
        return ecu;
    }
    std::string path(const char* name) const {
        return dir.filePath(QString::fromLatin1(name)).toStdString();
    }
    std::string readFile(const char* name) const {
        QFile f(QString::fromStdString(path(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<none>");
    }

    QTemporaryDir dir;
};

TEST_F(VerifyCompareTest, VerifyListsTheThreeLostWritesTheSerialNumberApartAndWritesNothing) {
    window->menu().verifyECU1->trigger();
    EXPECT_EQ(messages, std::vector<std::string>{"no connection"});
    EXPECT_TRUE(differences.empty());

    connect();
    const EcuImage ecu = loseThreeWrites();
    window->menu().verifyECU1->trigger();

    ASSERT_EQ(differences.size(), 1u);
    const DifferenceView& view = differences[0];
    EXPECT_EQ(view.title, "verify ECU");
    EXPECT_EQ(view.otherLabel, "ECU");
    // Named as the set-up's description names them: the cell by the PC's axes.
    EXPECT_EQ(namesOf(view.diff.entries),
              (std::vector<std::string>{setupElementName(image(), FieldId::MainMap, 20),
                                        "adjustment / cruise control"}));
    EXPECT_EQ(namesOf(view.diff.controllerOwned),
              std::vector<std::string>{"ControllerSerialNumber"});
    // The PC's value first, the controller's second, as the pages show them.
    EXPECT_EQ(view.diff.entries[0].first, setupElementValue(image(), FieldId::MainMap, 20));
    EXPECT_EQ(view.diff.entries[0].second, setupElementValue(ecu, FieldId::MainMap, 20));
    EXPECT_TRUE(view.canWrite);
    EXPECT_TRUE(view.canTake);
    const std::vector<std::string> frames = commands();
    EXPECT_EQ(frames.size(), 12u);
    EXPECT_EQ(pageReads(frames), 12u);
    EXPECT_TRUE(logic->session().state.linkReady);
}

TEST_F(VerifyCompareTest, WritingThePcsValuesSendsOnlyTheDifferingByteAndWordThenShowsAMatch) {
    connect();
    (void)loseThreeWrites();
    const std::uint8_t serialByte = controller.memory[484];
    differenceChoices = {DifferenceChoice::WritePcValues};
    window->menu().verifyECU1->trigger();

    ASSERT_EQ(differences.size(), 2u);
    std::vector<std::string> frames = commands();
    ASSERT_EQ(frames.size(), 12u + 2u + 12u);
    EXPECT_EQ(std::vector<std::string>(frames.begin() + 12, frames.begin() + 14),
              (std::vector<std::string>{sent(writeByteFrame(187, image().byte(187))),
                                        sent(writeWordFrame(275, image().word(275)))}));
    const DifferenceView& again = differences[1];
    EXPECT_EQ(again.summary.substr(0, again.summary.find('\n')), kMsgEcuMatches);
    EXPECT_FALSE(again.canWrite);
    // The serial number stays the controller's.
    EXPECT_EQ(namesOf(again.diff.controllerOwned),
              std::vector<std::string>{"ControllerSerialNumber"});
    EXPECT_EQ(controller.memory[484], serialByte);

    // "take the controller's values" writes nothing and leaves the PC holding what was read.
    const EcuImage ecu = loseThreeWrites();
    log.events.clear();
    differenceChoices = {DifferenceChoice::TakeControllerValues};
    window->menu().verifyECU1->trigger();
    EXPECT_EQ(commands().size(), 12u);
    EXPECT_EQ(image(), ecu);
}

// A write of the PC's values the port refuses ends there and says so; nothing is read back and
// the program is left unconnected.
TEST_F(VerifyCompareTest, AWriteBackThePortRefusesSaysHowFarItGotAndEndsTheConnection) {
    connect();
    (void)loseThreeWrites();
    port->refuseAfterWrites = port->writesTaken + 12 + 1;  // the page reads, one write
    differenceChoices = {DifferenceChoice::WritePcValues};
    window->menu().verifyECU1->trigger();
    EXPECT_EQ(differences.size(), 1u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("broke off at frame 2 of 2"), std::string::npos) << messages[0];
    EXPECT_EQ(commands().size(), 12u + 2u);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KALDOR DIESEL v4.706"));
    EXPECT_FALSE(logic->session().state.linkReady);
}

// A write the controller drops during "load to ECU" is reported by the verification that
// follows; a load that arrived whole shows nothing.
TEST_F(VerifyCompareTest, TheVerificationAfterLoadToEcuReportsTheWriteTheControllerDropped) {
    connect();
    QFile file(QString::fromStdString(path("other.kcfg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(768, '\x66'));
    file.close();
    okCancelAnswer = Answer::Ok;
    openAnswer = FileAnswer{path("other.kcfg"), 0};
    bool dropped = false;
    port->responder = [this, &dropped](int, const Bytes& f) {
        const CommandFrame lost = writeWordFrame(184, 0x6666);
        if (!dropped && std::equal(lost.begin(), lost.end(), f.begin(), f.end())) {
            dropped = true;
            return Bytes{};
        }
        return controller.answer(f);
    };
    window->menu().loadtoECU1->trigger();
    ASSERT_TRUE(dropped);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(namesOf(differences[0].diff.entries),
              std::vector<std::string>{"parameters / minimum pressure [bar]"});
    EXPECT_EQ(pageReads(commands()), 12u);

    window->menu().loadtoECU1->trigger();
    EXPECT_EQ(differences.size(), 1u);
}

TEST_F(VerifyCompareTest, CompareWithFileShowsTheDifferencesReadOnlyAndSendsNothing) {
    connect();
    QByteArray bytes(reinterpret_cast<const char*>(image().bytes().data()), 768);
    bytes[368] = '\xDC';  // MinSystemPressure, word 184: 1500 mbar
    bytes[369] = '\x05';
    QFile file(QString::fromStdString(path("car.kcfg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    openAnswer = FileAnswer{path("car.kcfg"), 0};

    window->menu().comparewithfile1->trigger();

    ASSERT_EQ(fileQuestions.size(), 1u);
    EXPECT_EQ(fileQuestions[0].filters[0].pattern, "*.kcfg");
    ASSERT_EQ(differences.size(), 1u);
    const DifferenceView& view = differences[0];
    EXPECT_EQ(view.otherLabel, "car.kcfg");
    EXPECT_EQ(view.summary, "\"car.kcfg\" differs from the PC in 1 location");
    ASSERT_EQ(namesOf(view.diff.entries),
              std::vector<std::string>{"parameters / minimum pressure [bar]"});
    EXPECT_EQ(view.diff.entries[0].second, "1.5 bar");
    EXPECT_FALSE(view.canWrite || view.canTake);
    EXPECT_TRUE(commands().empty());

    // Once a language is loaded, in its captions.
    installLanguageFile(QStringLiteral("pol.txt"));
    logic->language().load(2);
    window->menu().comparewithfile1->trigger();
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(namesOf(differences[1].diff.entries),
              std::vector<std::string>{"parametry / ciśnienie minimalne [bar]"});
}

TEST_F(VerifyCompareTest, ExportWritesTheLoggedRecordsOrAChosenDemoLogAsCsv) {
    showActive();
    connect();
    // Nothing logged yet: a "demo.log" is asked for first.
    QFile demo(QString::fromStdString(path("old.log")));
    ASSERT_TRUE(demo.open(QIODevice::WriteOnly));
    demo.write("0,\n0,\n");
    demo.close();
    openAnswer = FileAnswer{path("old.log"), 0};
    saveAnswer = FileAnswer{path("old"), 0};
    window->menu().exportlogasCSV1->trigger();
    ASSERT_EQ(fileQuestions.size(), 2u);
    EXPECT_EQ(fileQuestions[0].filters[0].pattern, "*.log");
    EXPECT_EQ(fileQuestions[1].filters[0].pattern, "*.csv");
    const std::string old = readFile("old.csv");
    EXPECT_EQ(std::count(old.begin(), old.end(), '\n'), 3) << old;

    window->showPage(MainWindow::kPageDiagnostic);
    DiagnosticPage& page = window->diagnosticPage();
    page.PageControlDiag->setCurrentWidget(page.TabSheet8);
    QTest::mouseClick(page.dataLogger->Button13, Qt::LeftButton);
    for (int i = 0; i < 3; ++i)
        pollOnce();
    window->timer()->stop();
    saveAnswer = FileAnswer{path("run.csv"), 0};
    window->menu().exportlogasCSV1->trigger();
    EXPECT_EQ(fileQuestions.size(), 3u);  // the save dialog alone
    const std::string csv = readFile("run.csv");
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFtime [s],engine speed [rpm],fuel mode,", 0), 0u) << csv;
    std::vector<std::string> times;
    for (std::size_t at = csv.find("\r\n"); at != std::string::npos && at + 2 < csv.size();
         at = csv.find("\r\n", at + 2))
        times.push_back(csv.substr(at + 2, 3));
    EXPECT_EQ(times, (std::vector<std::string>{"0.0", "0.1", "0.2"}));
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace kaldor::test
