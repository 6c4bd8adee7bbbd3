// The error memory on the "ECU" page, the enabled errors, and the three configuration-file
// commands of the File menu, as a user drives them against the scripted controller.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>

#include <algorithm>

#include "model/pin.h"
#include "model/units.h"
#include "ui/pages/advanced/advanced_page.h"
#include "ui/ui_build.h"
#include "widgets/ab_col_bit_btn.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

const std::string kLiveRequest = "AA 05 00 00 59 F2";
const std::string kReadErrorsFirstHalf = "AA 02 00 00 56 F2";
const std::string kReadErrorsSecondHalf = "AA 02 80 80 56 F2";
constexpr std::uint16_t kPin = packPin(1, 2, 3, 4);

std::string wordFrame(std::size_t index, std::uint16_t value) {
    const auto f = writeWordFrame(index, value);
    return hex(f.data(), f.size());
}

struct ErrorsAndFilesTest : LogicTest {
    void SetUp() override {
        ASSERT_TRUE(tempFolder.isValid());
        folder = tempFolder.path();
        LogicTest::SetUp();
        window->hooks().reportException = [this](const QString& t) { reports.push_back(t); };
        // The controller's memory: every byte tells its place, except the PIN, which is set by
        // the tests that need one.
        for (std::size_t i = 0; i < 768; ++i)
            controller.memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
        controller.setWord(374, 0);
        showActive();
    }
    void TearDown() override {
        EXPECT_TRUE(reports.empty()) << reports.front().toStdString();
        LogicTest::TearDown();
    }
    // The frames sent, without the polling a restarted Timer1 may have slipped in.
    std::vector<std::string> commands() const {
        std::vector<std::string> out = log.writes();
        out.erase(std::remove(out.begin(), out.end(), kLiveRequest), out.end());
        return out;
    }
    void setErrors(std::initializer_list<std::uint16_t> codes) {
        controller.errors.fill(0);
        std::size_t i = 0;
        for (std::uint16_t code : codes) {
            controller.errors[2 * i] = static_cast<std::uint8_t>(code & 0xFF);
            controller.errors[2 * i + 1] = static_cast<std::uint8_t>(code >> 8);
            ++i;
        }
        controller.errors[64] = static_cast<std::uint8_t>(i);
    }
    QString errorRow(int row) const {
        return cellText(window->diagnosticPage().StringGridErrorMemory, 1, row);
    }
    QString filePath(const char* name) const {
        return tempFolder.filePath(QString::fromLatin1(name));
    }
    void writeFile(const char* name, const QByteArray& bytes) const {
        QFile f(filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    const EcuImage& image() { return logic->session().image; }

    QTemporaryDir tempFolder;
    std::vector<QString> reports;
};

TEST_F(ErrorsAndFilesTest, ShowErrorsListsTheCodesWithTheirTextsAndClearsAnEarlierList) {
    connect();
    window->showPage(MainWindow::kPageDiagnostic);
    DiagnosticPage& page = window->diagnosticPage();
    setErrors({7, 15});
    QTest::mouseClick(page.ButtonErrorShow, Qt::LeftButton);
    EXPECT_EQ(commands(), (std::vector<std::string>{kReadErrorsFirstHalf, kReadErrorsSecondHalf}));
    EXPECT_EQ(errorRow(1), QStringLiteral("7 ErrPres_H- Erorr Pressure High"));
    EXPECT_EQ(errorRow(2), QStringLiteral("15 ErrRpm_H  - RPM's Error High"));
    EXPECT_EQ(errorRow(3), QString());
    // Polling goes on afterwards.
    EXPECT_TRUE(window->timer()->isActive());
    EXPECT_TRUE(logic->session().state.linkReady);

    setErrors({});
    QTest::mouseClick(page.ButtonErrorShow, Qt::LeftButton);
    EXPECT_EQ(errorRow(1), QStringLiteral("NO Errors"));
    EXPECT_EQ(errorRow(2), QString());
}

TEST_F(ErrorsAndFilesTest, ErrorCounterMovingReadsTheErrorMemoryOnce) {
    connect();
    setErrors({29});
    pollOnce();
    EXPECT_TRUE(commands().empty());
    controller.setRecordWord(50, 1);
    pollOnce();
    window->timer()->stop();
    EXPECT_EQ(commands(), (std::vector<std::string>{kReadErrorsFirstHalf, kReadErrorsSecondHalf}));
    EXPECT_EQ(errorRow(1), QStringLiteral("29 ErrorEgtTH - EGT Temp. High"));
}

TEST_F(ErrorsAndFilesTest, EraseSendsTheEraseAndAutoModeAndLeavesTheList) {
    connect();
    window->showPage(MainWindow::kPageDiagnostic);
    DiagnosticPage& page = window->diagnosticPage();
    setErrors({7});
    QTest::mouseClick(page.ButtonErrorShow, Qt::LeftButton);
    log.events.clear();
    EXPECT_EQ(page.AbColBitBtnErase->shownText(), QStringLiteral("erase errors"));
    QTest::mouseClick(page.AbColBitBtnErase, Qt::LeftButton);
    EXPECT_EQ(commands(), (std::vector<std::string>{"61 00 00 00 0B F2", "52 00 00 00 FC F2"}));
    EXPECT_EQ(errorRow(1), QStringLiteral("7 ErrPres_H- Erorr Pressure High"));
}

TEST_F(ErrorsAndFilesTest, EnabledErrorsShowWord276AndSaveOnlyTheBoxesBits) {
    // MAF and VDC on, and bits without a box (2, 6, 7, 12-15) that must survive.
    controller.setWord(276, 0xF0F4);
    connect();
    window->showPage(MainWindow::kPageAdvanced);
    AdvancedPage& page = window->advancedPage();
    const std::vector<QCheckBox*> boxes{page.CheckBoxErr1,  page.CheckBoxErr2, page.CheckBoxErr4,
                                        page.CheckBoxErr5,  page.CheckBoxErr6, page.CheckBoxErr9,
                                        page.CheckBoxErr10, page.CheckBoxErr11};
    std::vector<bool> shown;
    for (QCheckBox* box : boxes)
        shown.push_back(box->isChecked());
    EXPECT_EQ(shown, (std::vector<bool>{false, false, false, true, true, false, false, false}));

    // Ticking the boxes sends nothing; SAVE sends the word.
    for (QCheckBox* box :
         {page.CheckBoxErr5, page.CheckBoxErr6, page.CheckBoxErr9, page.CheckBoxErr11})
        QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(commands().empty());
    QTest::mouseClick(page.ButtonSaveErrEn, Qt::LeftButton);
    EXPECT_EQ(commands(), std::vector<std::string>{wordFrame(276, 0xF5C4)});
    EXPECT_EQ(image().word(276), 0xF5C4);
    EXPECT_TRUE(page.CheckBoxErr9->isChecked());
    EXPECT_FALSE(page.CheckBoxErr5->isChecked());
}

TEST_F(ErrorsAndFilesTest, SaveToDiskWritesTheImageIntoTheConfigurationFolder) {
    connect();
    saveAnswer = FileAnswer{filePath("car").toStdString(), 0};
    window->menu().savetodisk1->trigger();

    ASSERT_EQ(fileQuestions.size(), 1u);
    const QString configFolder = filePath("parametry");
    EXPECT_EQ(fileQuestions[0].initialFolder, configFolder.toStdString());
    EXPECT_TRUE(QFileInfo(configFolder).isDir());
    ASSERT_EQ(fileQuestions[0].filters.size(), 1u);
    EXPECT_EQ(fileQuestions[0].filters[0].pattern, "*.kcfg");
    EXPECT_TRUE(fileQuestions[0].fileName.empty());

    // A name typed without an extension is saved as ".kcfg".
    QFile saved(filePath("car.kcfg"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const EcuImage::Bytes& expected = image().bytes();
    EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(expected.data()), 768));
    EXPECT_TRUE(commands().empty());
    EXPECT_TRUE(messages.empty());
}

// With no controller, a new map type's default axes go into the image with it: the file saved
// then holds the type with its own axes, not another type's.
TEST_F(ErrorsAndFilesTest, AMapTypeChosenOfflineIsSavedWithItsDefaultAxes) {
    window->showPage(MainWindow::kPageAdjustment);
    auto* mapType = window->findChild<QComboBox*>(QStringLiteral("ComboBoxMapa"));
    mapType->setFocus();
    QTest::keyClick(mapType, Qt::Key_Down);  // "2:VACUM/RPM"
    ASSERT_EQ(mapType->currentIndex(), 1);
    saveAnswer = FileAnswer{filePath("offline").toStdString(), 0};
    window->menu().savetodisk1->trigger();

    QFile saved(filePath("offline.kcfg"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_EQ(bytes.size(), 768);
    const auto word = [&bytes](int w) {
        return static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[2 * w]) |
                                          static_cast<std::uint8_t>(bytes[2 * w + 1]) << 8);
    };
    EXPECT_EQ(word(364), 1u);
    const std::uint32_t rpm[] = {700, 900, 1200, 1500, 2000, 2200, 2600, 3000};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(word(245 + c), RpmToPeriod(rpm[c], 0)) << "column " << c + 1;
    for (int r = 0; r < 16; ++r)
        EXPECT_EQ(word(253 + r), 800u + 100u * static_cast<unsigned>(r)) << "row " << r + 1;
}

TEST_F(ErrorsAndFilesTest, LoadToEcuWritesTheFileButKeepsSerialNumberAndPin) {
    controller.setWord(374, kPin);
    controller.setWord(242, 0x1111);
    controller.setWord(243, 0x2222);
    pinAnswer = PinDigits{1, 2, 3, 4};
    connect();
    ASSERT_EQ(pinQuestions, 1);
    const auto before = controller.memory;
    writeFile("other.kcfg", QByteArray(768, '\x77'));
    okCancelAnswer = Answer::Ok;
    openAnswer = FileAnswer{filePath("other.kcfg").toStdString(), 0};

    window->menu().loadtoECU1->trigger();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "load to ECU");
    EXPECT_TRUE(boxes[0].warning);
    // Every word, the validity marker, the commit; then the twelve page reads of the
    // verification, which finds the memory as loaded and says nothing.
    const std::vector<std::string> sent = commands();
    ASSERT_EQ(sent.size(), 384u + 2u + 12u);
    EXPECT_TRUE(differences.empty());
    EXPECT_EQ(sent[100], wordFrame(100, 0x7777));
    EXPECT_EQ(sent[242], wordFrame(242, 0x1111));
    EXPECT_EQ(sent[374], wordFrame(374, kPin));
    EXPECT_EQ(controller.memory[200], 0x77);
    EXPECT_EQ(controller.memory[51], before[51]);
    for (std::size_t i = 2 * 375; i < 768; ++i)
        EXPECT_EQ(controller.memory[i], before[i]) << "byte " << i;
    // The refresh after the load does not ask again for the PIN given in this connection.
    EXPECT_EQ(pinQuestions, 1);
    EXPECT_EQ(logic->session().image.word(374), 0);
    EXPECT_FALSE(window->menusLocked());
    EXPECT_EQ(window->progressBar()->value(), window->progressBar()->maximum());
    EXPECT_TRUE(window->timer()->isActive());
}

TEST_F(ErrorsAndFilesTest, LoadMapWritesOnlyTheMapPart) {
    connect();
    const auto before = controller.memory;
    writeFile("other.kcfg", QByteArray(768, '\x77'));
    okCancelAnswer = Answer::Ok;
    openAnswer = FileAnswer{filePath("other.kcfg").toStdString(), 0};

    window->menu().LoadMap1->trigger();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "LoadMap");
    EXPECT_EQ(commands().size(), 178u);
    // Map type, cruise map, rpm signal type, main map, axes.
    const auto inMapPart = [](std::size_t i) {
        return (i >= 728 && i <= 729) || (i >= 100 && i <= 123) || i == 125 ||
               (i >= 167 && i <= 294) || (i >= 490 && i <= 537);
    };
    for (std::size_t i = 0; i < 768; ++i)
        EXPECT_EQ(controller.memory[i], inMapPart(i) ? 0x77 : before[i]) << "byte " << i;
}

// A cable pulled partway through each command that writes the image: the port refuses frame 51.
// The write stops there and says how far it got, in a box and the status line; the program is
// left unconnected (the caption of an unconnected program, no polling, no verification).
TEST_F(ErrorsAndFilesTest, AFrameThePortRefusesEndsTheWriteThereAndTheConnection) {
    writeFile("other.kcfg", QByteArray(768, '\x77'));
    okCancelAnswer = Answer::Ok;
    openAnswer = FileAnswer{filePath("other.kcfg").toStdString(), 0};
    struct Case {
        QAction* item;
        std::string expected;
    };
    const MainMenu& menu = window->menu();
    const Case cases[] = {
        {menu.loadtoECU1, "broke off at frame 51 of 386:"},
        {menu.LoadMap1, "broke off at frame 51 of 178:"},
        // The emulator tables come first on hardware revision 2; they would have been 61 frames.
        {menu.RESET1, "broke off at frame 51:"},
    };
    const auto* status = find<QStatusBar>("StatusBar1");
    ASSERT_NE(status, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->text().toStdString());
        connect();
        messages.clear();
        port->writesTaken = 0;
        port->refuseAfterWrites = 50;
        c.item->trigger();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(c.expected), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find("mix of old and new values"), std::string::npos);
        EXPECT_EQ(status->currentMessage().toStdString(), messages[0]);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("KALDOR DIESEL v4.706"));
        EXPECT_FALSE(logic->session().state.connected);
        EXPECT_EQ(port->writesTaken, 50u);
        EXPECT_EQ(commands().size(), 51u + (c.item == menu.RESET1 ? 10u : 0u))
            << "the refused frame is the last one tried (the emulator tables try theirs to the "
               "closed port)";
        log.events.clear();
        pollOnce();
        pollOnce();
        EXPECT_TRUE(log.writes().empty()) << "no polling";
        EXPECT_EQ(messages.size(), 1u) << "said once";
        port->refuseAfterWrites.reset();
    }
    // A new connection clears the status line.
    connect();
    EXPECT_TRUE(status->currentMessage().isEmpty());
}

// A cancelled confirmation or file dialog leaves the image, the controller and the disk alone.
TEST_F(ErrorsAndFilesTest, CancelChangesNothing) {
    connect();
    writeFile("other.kcfg", QByteArray(768, '\x77'));
    const EcuImage::Bytes imageBefore = image().bytes();
    struct Case {
        QAction* item;
        Answer confirmation;
    };
    const MainMenu& menu = window->menu();
    const std::vector<Case> cases{{menu.savetodisk1, Answer::Ok},
                                  {menu.loadtoECU1, Answer::Cancel},
                                  {menu.loadtoECU1, Answer::Ok},
                                  {menu.LoadMap1, Answer::Cancel},
                                  {menu.LoadMap1, Answer::Ok}};
    for (const Case& c : cases) {
        okCancelAnswer = c.confirmation;  // the file dialogs are cancelled
        c.item->trigger();
        EXPECT_TRUE(commands().empty()) << c.item->text().toStdString();
        EXPECT_TRUE(image().bytes() == imageBefore) << c.item->text().toStdString();
    }
    EXPECT_EQ(fileQuestions.size(), 3u);
    EXPECT_EQ(QDir(tempFolder.path()).entryList(QDir::Files), QStringList{"other.kcfg"});
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace kaldor::test
