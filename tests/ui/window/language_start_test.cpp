// The program started as a new user starts it, with the real window and its logic: the language
// comes from the working folder's "lang" when there is one, and otherwise from the language
// files beside the program or in the installed data folder.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>

#include "files/data_folders.h"
#include "ui/main_window.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/window_logic.h"
#include "window_fixture.h"

namespace kaldor::test {
namespace {

void writeBytes(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

class LanguageStartTest : public ::testing::Test {
protected:
    // Builds the window as the program's start-up does, and notes any message box it shows
    // (closing it, so a test that fails does not wait for a hand on the keyboard).
    void start(const QString& workingFolder, const QString& programFolder) {
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back(box->text());
                box->done(QMessageBox::Ok);
            }
        });
        watch.start(50);
        window = std::make_unique<MainWindow>(
            Folders{workingFolder, programFolder, QStringLiteral("language-start-test")});
        new WindowLogic(*window);
        window->timer()->stop();
    }
    QString tabText(int page) const { return window->pageControl()->tabText(page); }

    QTemporaryDir working;
    QTemporaryDir program;
    std::unique_ptr<MainWindow> window;
    std::vector<QString> boxes;
};

TEST_F(LanguageStartTest, EnglishFileOfTheWorkingFolderRetitlesAPageAndAMenu) {
    writeBytes(working.path() + QStringLiteral("/lang/ang.txt"),
               "# my own names\r\n100002 Settings\r\n100105\tCOM port\r\n100603 Logger");
    start(working.path(), program.path());
    EXPECT_EQ(tabText(MainWindow::kPageParameters), "Settings");
    EXPECT_EQ(window->menu().port1->title(), "COM port");
    QTabWidget* diagnostic = window->diagnosticPage().PageControlDiag;
    EXPECT_EQ(diagnostic->tabText(2), "Logger");
    // What the file does not name keeps its built-in caption.
    EXPECT_EQ(tabText(MainWindow::kPageReadings), "[F2]readings");
    EXPECT_EQ(window->menu().File1->title(), "file");
    EXPECT_TRUE(boxes.empty());
}

// "lan.txt" holding the byte 3 in a working folder without "lang".
struct RussianFromTheProgram : LanguageStartTest {
    void SetUp() override { writeBytes(working.path() + QStringLiteral("/lan.txt"), "\x03"); }
    void expectRussian() {
        EXPECT_EQ(tabText(MainWindow::kPageReadings), QString::fromUtf8("[F2]показания"));
        EXPECT_EQ(window->menu().File1->title(), QString::fromUtf8("файл"));
        EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
    }
};

TEST_F(RussianFromTheProgram, BesideTheBuiltProgram) {
    // The build copies the language files beside the program.
    start(working.path(), QCoreApplication::applicationDirPath());
    expectRussian();
}

TEST_F(RussianFromTheProgram, InTheInstalledDataFolder) {
    const QString bin = program.path() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    const QString data = QString::fromStdString(installedDataFolder(bin.toStdString()));
    QDir().mkpath(data + QStringLiteral("/lang"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KALDOR_LANG_DIR "/rus.txt"),
                            data + QStringLiteral("/lang/rus.txt")));
    start(working.path(), bin);
    expectRussian();
}

TEST_F(RussianFromTheProgram, NowhereSaysError) {
    start(working.path(), program.path());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "ERROR");
    EXPECT_EQ(tabText(MainWindow::kPageReadings), "[F2]readings");
}

}  // namespace
}  // namespace kaldor::test
