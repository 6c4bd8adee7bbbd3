// The controller history as the window keeps it: an entry after every connection and just before
// every command that overwrites the controller's memory, with the bytes the controller held; the
// "history..." dialog with its compare, save and restore; a history that can not be written,
// said once; and none at all when the settings switch it off.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

#include "model/pin.h"
#include "service/history_recorder.h"
#include "ui/commands/history_menu.h"
#include "ui/dialogs/history_dialog.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

constexpr std::uint32_t kSerial = 770123;
constexpr std::uint16_t kPin = packPin(1, 2, 3, 4);

struct HistoryTest : LogicTest {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        historyFolder = dir.filePath(QStringLiteral("history")).toStdString();
        prepare();
        QFile ini(dir.filePath(QStringLiteral("kaldor-test.INI")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray::fromStdString(settings));
        ini.close();
        LogicTest::SetUp();
        window->hooks().reportException = [](const QString& t) {
            ADD_FAILURE() << t.toStdString();
        };
        logic->historyMenu().setDifferenceQuestion([this](const DifferenceView& view) {
            differences.push_back(view);
            return DifferenceChoice::Close;
        });
        for (std::size_t i = 0; i < EcuImage::kSize; ++i)
            controller.memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
        controller.setWord(242, kSerial & 0xFFFF);
        controller.setWord(243, kSerial >> 16);
        controller.setWord(374, kPin);
        controller.setWord(0, 0xAAAA);  // the validity marker every full write leaves
        pinAnswer = PinDigits{1, 2, 3, 4};
        showActive();
    }
    // Settings and folders a test needs before the window exists.
    virtual void prepare() { settings = "[History]\nFolder=" + historyFolder + "\n"; }

    ControllerHistory history() const { return ControllerHistory(historyFolder); }
    std::vector<HistoryEntry> entries() const { return history().list(kSerial).entries; }
    EcuImage::Bytes bytesOf(const HistoryEntry& e) const {
        return history().read(kSerial, e).value_or(EcuImage::Bytes{});
    }
    // What the controller holds, as every saved file holds it: without its PIN.
    EcuImage::Bytes controllerWithoutPin() const {
        EcuImage image;
        EcuImage::Bytes bytes{};
        std::copy_n(controller.memory.begin(), EcuImage::kSize, bytes.begin());
        image.replace(bytes);
        return savedConfigBytes(image);
    }
    // An edit as a page makes it: the image first, then the word to the controller.
    void edit(std::uint16_t pressure) {
        storeField(logic->session().image, FieldId::MinSystemPressure, pressure);
        logic->session().transfer.sendField(FieldId::MinSystemPressure);
    }
    std::string path(const char* name) const {
        return dir.filePath(QString::fromLatin1(name)).toStdString();
    }

    QTemporaryDir dir;
    std::string historyFolder;
    std::string settings;
};

TEST_F(HistoryTest, EveryOverwritingCommandKeepsWhatTheControllerHeldJustBefore) {
    connect();
    ASSERT_TRUE(logic->session().state.linkReady);
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_EQ(entries()[0].what, "connected");
    EXPECT_EQ(entries()[0].softwareRevision, 11u);
    EXPECT_EQ(bytesOf(entries()[0]), controllerWithoutPin());

    QFile file(QString::fromStdString(path("other.kcfg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(768, '\x66'));
    file.close();
    okCancelAnswer = Answer::Ok;
    openAnswer = FileAnswer{path("other.kcfg"), 0};
    struct Case {
        const char* what;
        bool changedBehindTheBack;  // the entry is then the controller's memory, not the PC's
        std::function<void()> run;
    };
    const Case cases[] = {
        {"before load to ECU: other.kcfg", false, [this] { window->menu().loadtoECU1->trigger(); }},
        {"before LoadMap: other.kcfg", false, [this] { window->menu().LoadMap1->trigger(); }},
        {"before RESET ECU", false, [this] { window->menu().RESET1->trigger(); }},
        {"before writing the PC's values", true,
         [this] {
             differenceChoices = {DifferenceChoice::WritePcValues};
             window->menu().verifyECU1->trigger();
         }},
    };
    std::uint16_t pressure = 1300;
    for (const Case& c : cases) {
        // An edit since the last entry, so the memory kept is the one the PC last knew.
        edit(pressure += 100);
        if (c.changedBehindTheBack)
            controller.memory[300] ^= 0x55;
        const EcuImage::Bytes held = c.changedBehindTheBack
                                         ? controllerWithoutPin()
                                         : savedConfigBytes(logic->session().image);
        const std::size_t before = entries().size();
        c.run();
        const std::vector<HistoryEntry> now = entries();
        ASSERT_EQ(now.size(), before + 1) << c.what;
        EXPECT_EQ(now.back().what, c.what);
        EXPECT_EQ(bytesOf(now.back()), held) << c.what;
    }
    // A connection that finds the memory as the newest entry holds it keeps no second copy.
    const std::size_t before = entries().size();
    connect();
    connect();
    EXPECT_EQ(entries().size(), before + 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(HistoryTest, TheDialogComparesSavesAndRestoresAnEntry) {
    connect();
    const EcuImage::Bytes first = controllerWithoutPin();
    controller.memory[200] ^= 0x0F;  // changed behind the program's back
    connect();
    edit(1500);
    ASSERT_EQ(entries().size(), 2u);
    const HistoryEntry older = entries()[0];
    const std::string time = historyLocalText(older.time);
    okCancelAnswer = Answer::Ok;
    saveAnswer = FileAnswer{path("saved"), 0};

    bool ran = false;
    QTimer::singleShot(0, window.get(), [&] {
        auto* dialog = qobject_cast<HistoryDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ran = true;
        EXPECT_EQ(dialog->ComboBoxHistorySerial->currentText(), QString::number(kSerial));
        QTableWidget* grid = dialog->GridHistory;
        ASSERT_EQ(grid->rowCount(), 2);
        // Newest first; the PC holds the newest with one edit on top.
        EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("connected"));
        EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("Rev.H:2 Rev.S:11"));
        EXPECT_EQ(grid->item(0, 4)->text(), QStringLiteral("1"));
        EXPECT_EQ(grid->item(1, 0)->text(), QString::fromStdString(time));
        EXPECT_EQ(grid->item(1, 4)->text(), QStringLiteral("2"));
        grid->selectRow(1);

        dialog->ButtonHistoryCompare->click();
        ASSERT_EQ(differences.size(), 1u);
        EXPECT_EQ(differences[0].otherLabel, time);
        EXPECT_EQ(differences[0].diff.entries.size(), 2u);
        EXPECT_FALSE(differences[0].canWrite || differences[0].canTake);

        dialog->ButtonHistorySaveAs->click();
        QFile saved(QString::fromStdString(path("saved.kcfg")));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll().toStdString(), std::string(first.begin(), first.end()));

        dialog->ButtonHistoryRestore->click();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(time), std::string::npos) << boxes[0].text;
        EXPECT_EQ(grid->rowCount(), 3) << "what the controller held went in first";
        dialog->ButtonHistoryClose->click();
    });
    window->menu().history1->trigger();
    ASSERT_TRUE(ran);

    // The controller holds the entry again, its PIN kept; the read-back found nothing to say.
    EXPECT_EQ(controllerWithoutPin(), first);
    EXPECT_EQ(controller.memory[748] | controller.memory[749] << 8, kPin);
    EXPECT_EQ(differences.size(), 1u);
    EXPECT_EQ(entries().back().what, "before restore of " + time);
}

struct UnwritableHistoryTest : HistoryTest {
    // A file where the history folder should be: nobody, root included, can write there.
    void prepare() override {
        std::ofstream(historyFolder) << "not a folder";
        HistoryTest::prepare();
    }
};

TEST_F(UnwritableHistoryTest, IsSaidOnceInTheStatusLineAndTheConnectionIsMade) {
    connect();
    EXPECT_TRUE(logic->session().state.linkReady);
    auto* line = window->findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->currentMessage().contains(QStringLiteral("could not be written")))
        << line->currentMessage().toStdString();
    line->clearMessage();
    connect();
    EXPECT_TRUE(logic->session().state.linkReady);
    EXPECT_TRUE(line->currentMessage().isEmpty());
    EXPECT_TRUE(messages.empty());
}

// Without a folder in the settings the history goes to the data folder of XDG_DATA_HOME;
// switched off, nothing is written anywhere.
struct DefaultHistoryTest : HistoryTest {
    void prepare() override {
        ASSERT_TRUE(dataHome.isValid());
        saved = qgetenv("XDG_DATA_HOME");
        savedAppData = qgetenv("APPDATA");
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        qputenv("APPDATA", dataHome.path().toLocal8Bit());  // the same on Windows
        settings = switchedOff ? "[History]\nEnabled=0\n" : "";
    }
    void TearDown() override {
        HistoryTest::TearDown();
        qputenv("XDG_DATA_HOME", saved);
        qputenv("APPDATA", savedAppData);
    }
    void connectAndReset() {
        connect();
        edit(1700);
        okCancelAnswer = Answer::Ok;
        window->menu().RESET1->trigger();
    }
    QTemporaryDir dataHome;
    QByteArray saved;
    QByteArray savedAppData;
    bool switchedOff = false;
};

TEST_F(DefaultHistoryTest, LivesInTheUsersDataFolder) {
    connectAndReset();
    const ControllerHistory kept(
        (std::filesystem::path(dataHome.path().toStdString()) / "kaldor" / "history").string());
    EXPECT_EQ(kept.serials(), std::vector<std::uint32_t>{kSerial});
    EXPECT_EQ(kept.list(kSerial).entries.size(), 2u);
}

struct SwitchedOffHistoryTest : DefaultHistoryTest {
    SwitchedOffHistoryTest() { switchedOff = true; }
};

TEST_F(SwitchedOffHistoryTest, WritesNothingAtAll) {
    connectAndReset();
    EXPECT_TRUE(std::filesystem::is_empty(dataHome.path().toStdString()));
    EXPECT_TRUE(logic->session().state.linkReady);
}

}  // namespace
}  // namespace kaldor::test
