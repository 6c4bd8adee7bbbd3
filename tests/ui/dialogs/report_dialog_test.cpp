#include "ui/dialogs/report_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_test_support.h"

namespace {

using kaldor::Paper;
using kaldor::ReportFields;

// What each button handed over.
struct Maker final : kaldor::ReportMaker {
    std::vector<std::string> done;
    void preview(const ReportFields& f, Paper p) override { note("preview", f, p); }
    void savePdf(const ReportFields& f, Paper p) override { note("pdf", f, p); }
    void saveHtml(const ReportFields& f, Paper p) override { note("html", f, p); }
    void note(const char* what, const ReportFields& f, Paper p) {
        done.push_back(std::string(what) + " " + f.vehicle + "|" + f.registration + "|" +
                       f.odometer + "|" + f.installer + "|" + f.workshop +
                       (p == Paper::Letter ? " letter" : " A4"));
    }
};

TEST(ReportDialog, FieldsAndPaperGoToTheReportEveryControlNamedAndInTabOrder) {
    Maker maker;
    kaldor::ReportDialog dialog(maker, {"car", "AB 1", "100 km", "Ann", "North"}, Paper::Letter);
    EXPECT_EQ(dialogtest::tabOrder(dialog.EditReportVehicle),
              (QStringList{"EditReportVehicle", "EditReportRegistration", "EditReportOdometer",
                           "EditReportInstaller", "EditReportWorkshop", "ComboBoxReportPaper",
                           "ButtonReportPreview", "ButtonReportPdf", "ButtonReportHtml",
                           "ButtonReportClose"}));
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().startsWith("qt_"))
            continue;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }

    dialog.ButtonReportPreview->click();
    dialog.EditReportOdometer->setText(QStringLiteral("120 km"));
    dialog.ComboBoxReportPaper->setCurrentIndex(0);
    dialog.ButtonReportPdf->click();
    dialog.ButtonReportHtml->click();
    EXPECT_EQ(maker.done, (std::vector<std::string>{"preview car|AB 1|100 km|Ann|North letter",
                                                    "pdf car|AB 1|120 km|Ann|North A4",
                                                    "html car|AB 1|120 km|Ann|North A4"}));
}

}  // namespace
