#pragma once
// "print report...": the fields the installer fills in (vehicle, registration, odometer,
// installer, workshop), the paper, and the three ways out: the print preview (a printer or a
// PDF), a PDF file and an HTML file. The dialog only holds the fields; a ReportMaker makes the
// report from them, so the dialog knows nothing of images, files or printers.
#include <QDialog>

#include "service/setup_report.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kaldor {

class ReportMaker {
public:
    virtual ~ReportMaker() = default;
    virtual void preview(const ReportFields& fields, Paper paper) = 0;
    virtual void savePdf(const ReportFields& fields, Paper paper) = 0;
    virtual void saveHtml(const ReportFields& fields, Paper paper) = 0;
};

class ReportDialog : public QDialog {
    Q_OBJECT

public:
    // The captions are the language's report texts in `texts`, else the built-in ones.
    ReportDialog(ReportMaker& maker, const ReportFields& fields, Paper paper,
                 const SetupTexts& texts = {}, QWidget* parent = nullptr);

    [[nodiscard]] ReportFields fields() const;
    [[nodiscard]] Paper paper() const;

    QLabel* LabelReportVehicle = nullptr;
    QLineEdit* EditReportVehicle = nullptr;
    QLabel* LabelReportRegistration = nullptr;
    QLineEdit* EditReportRegistration = nullptr;
    QLabel* LabelReportOdometer = nullptr;
    QLineEdit* EditReportOdometer = nullptr;
    QLabel* LabelReportInstaller = nullptr;
    QLineEdit* EditReportInstaller = nullptr;
    QLabel* LabelReportWorkshop = nullptr;
    QLineEdit* EditReportWorkshop = nullptr;
    QLabel* LabelReportPaper = nullptr;
    QComboBox* ComboBoxReportPaper = nullptr;
    QPushButton* ButtonReportPreview = nullptr;
    QPushButton* ButtonReportPdf = nullptr;
    QPushButton* ButtonReportHtml = nullptr;
    QPushButton* ButtonReportClose = nullptr;

private:
    ReportMaker& m_maker;
};

}  // namespace kaldor
