// "print report...": the dialog filled from the settings file, the report of the connected
// controller saved as HTML and PDF and shown in the preview, and the fields remembered for the
// next report, the vehicle's per controller.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>

#include <fstream>
#include <functional>
#include <iterator>

#include "files/settings_file.h"
#include "ui/commands/language.h"
#include "ui/commands/report_menu.h"
#include "ui/dialogs/report_dialog.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

constexpr std::uint32_t kSerial = 770123;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ReportTest : LogicTest {
    void SetUp() override {
        LogicTest::SetUp();
        window->hooks().reportException = [](const QString& t) {
            ADD_FAILURE() << t.toStdString();
        };
        logic->reportMenu().setToday([] { return std::string("2026-12-10"); });
        logic->reportMenu().setPreview([this](QTextDocument& document, Paper paper) {
            previewed = document.toPlainText().toStdString();
            previewPaper = paper;
        });
        controller.setWord(242, kSerial & 0xFFFF);
        controller.setWord(243, kSerial >> 16);
        showActive();
    }
    // Opens the dialog, lets `use` work it, closes it.
    void withDialog(const std::function<void(ReportDialog&)>& use) {
        bool ran = false;
        QTimer::singleShot(0, window.get(), [&] {
            auto* dialog = qobject_cast<ReportDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            use(*dialog);
            dialog->ButtonReportClose->click();
        });
        window->menu().PrintReport1->trigger();
        ASSERT_TRUE(ran);
    }
    std::string path(const char* name) const {
        return QDir(folder).filePath(QString::fromLatin1(name)).toStdString();
    }

    std::string previewed;
    Paper previewPaper = Paper::A4;
};

TEST_F(ReportTest, SavesTheConnectedControllersReportAndRemembersTheFields) {
    connect();
    withDialog([&](ReportDialog& d) {
        EXPECT_EQ(d.EditReportVehicle->text(), QString());
        d.EditReportVehicle->setText(QStringLiteral("Transit 2.2"));
        d.EditReportInstaller->setText(QStringLiteral("J. Nowak"));
        d.ComboBoxReportPaper->setCurrentIndex(1);

        saveAnswer = FileAnswer{path("report.html"), 0};
        d.ButtonReportHtml->click();
        saveAnswer = FileAnswer{path("report.pdf"), 0};
        d.ButtonReportPdf->click();
        d.ButtonReportPreview->click();
    });
    const std::string html = fileText(path("report.html"));
    EXPECT_NE(html.find("<td>770123</td>"), std::string::npos);
    EXPECT_NE(html.find("Transit 2.2"), std::string::npos);
    EXPECT_NE(html.find("size:letter"), std::string::npos);
    EXPECT_EQ(fileText(path("report.pdf")).rfind("%PDF", 0), 0u);
    EXPECT_NE(previewed.find("770123"), std::string::npos);
    EXPECT_EQ(previewPaper, Paper::Letter);
    EXPECT_TRUE(messages.empty());

    // The next report starts from them; another controller keeps the installer only.
    withDialog([&](ReportDialog& d) {
        EXPECT_EQ(d.EditReportVehicle->text(), QStringLiteral("Transit 2.2"));
        EXPECT_EQ(d.EditReportInstaller->text(), QStringLiteral("J. Nowak"));
        EXPECT_EQ(d.paper(), Paper::Letter);
    });
    storeField(logic->session().image, FieldId::ControllerSerialNumber, 4711);
    withDialog([&](ReportDialog& d) {
        EXPECT_EQ(d.EditReportVehicle->text(), QString());
        EXPECT_EQ(d.EditReportInstaller->text(), QStringLiteral("J. Nowak"));
    });
}

TEST_F(ReportTest, ADialogLeftAloneWritesNothing) {
    withDialog([](ReportDialog&) {});
    EXPECT_FALSE(QFile::exists(window->settingsFilePath()));
}

TEST_F(ReportTest, TheMenuDialogAndStatusLineSpeakTheWindowsLanguage) {
    installLanguageFile(QStringLiteral("pol.txt"));
    logic->language().load(2);
    EXPECT_EQ(window->menu().PrintReport1->text(), QStringLiteral("drukuj raport..."));
    withDialog([&](ReportDialog& d) {
        EXPECT_EQ(d.LabelReportVehicle->text(), QStringLiteral("pojazd"));
        EXPECT_EQ(d.EditReportVehicle->accessibleName(), QStringLiteral("pojazd"));
        saveAnswer = FileAnswer{path("raport.html"), 0};
        d.ButtonReportHtml->click();
    });
    EXPECT_NE(fileText(path("raport.html")).find("<h1>Raport konfiguracji</h1>"),
              std::string::npos);
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(),
              "raport zapisano w " + path("raport.html"));
}

}  // namespace
}  // namespace kaldor::test
