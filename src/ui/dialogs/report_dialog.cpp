#include "ui/dialogs/report_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ui_build.h"

namespace kaldor {
namespace {

constexpr int kMinWidth = 420;
// The paper list's items, in the order of Paper.
constexpr const char* kPaperItems[] = {"A4", "Letter"};

}  // namespace

ReportDialog::ReportDialog(ReportMaker& maker, const ReportFields& fields, Paper paper,
                           const SetupTexts& texts, QWidget* parent)
    : QDialog(parent), m_maker(maker) {
    const auto text = [&texts](ReportCaption caption) {
        return QString::fromStdString(reportCaption(texts, caption));
    };
    setObjectName(QStringLiteral("ReportDialog"));
    setWindowTitle(text(ReportCaption::DialogTitle));
    setModal(true);
    setMinimumWidth(kMinWidth);

    auto* form = new QFormLayout;
    // A caption, its line and the line's accessible name, the caption's buddy.
    auto line = [this, form](QLabel*& label, QLineEdit*& edit, const char* labelName,
                             const char* editName, const QString& caption,
                             const std::string& value) {
        label = namedLabel(this, labelName, caption);
        edit = named<QLineEdit>(this, editName);
        edit->setText(QString::fromStdString(value));
        edit->setAccessibleName(caption);
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    line(LabelReportVehicle, EditReportVehicle, "LabelReportVehicle", "EditReportVehicle",
         text(ReportCaption::Vehicle), fields.vehicle);
    line(LabelReportRegistration, EditReportRegistration, "LabelReportRegistration",
         "EditReportRegistration", text(ReportCaption::Registration), fields.registration);
    line(LabelReportOdometer, EditReportOdometer, "LabelReportOdometer", "EditReportOdometer",
         text(ReportCaption::Odometer), fields.odometer);
    line(LabelReportInstaller, EditReportInstaller, "LabelReportInstaller", "EditReportInstaller",
         text(ReportCaption::Installer), fields.installer);
    line(LabelReportWorkshop, EditReportWorkshop, "LabelReportWorkshop", "EditReportWorkshop",
         text(ReportCaption::Workshop), fields.workshop);

    LabelReportPaper = namedLabel(this, "LabelReportPaper", text(ReportCaption::Paper));
    ComboBoxReportPaper = named<QComboBox>(this, "ComboBoxReportPaper");
    for (const char* item : kPaperItems)
        ComboBoxReportPaper->addItem(QString::fromLatin1(item));
    ComboBoxReportPaper->setCurrentIndex(paper == Paper::Letter ? 1 : 0);
    ComboBoxReportPaper->setAccessibleName(text(ReportCaption::Paper));
    LabelReportPaper->setBuddy(ComboBoxReportPaper);
    form->addRow(LabelReportPaper, ComboBoxReportPaper);

    auto button = [this, &text](const char* name, ReportCaption caption) {
        auto* b = named<QPushButton>(this, name, text(caption));
        b->setAccessibleName(text(caption));
        b->setAutoDefault(false);
        return b;
    };
    ButtonReportPreview = button("ButtonReportPreview", ReportCaption::PrintPreview);
    ButtonReportPdf = button("ButtonReportPdf", ReportCaption::SavePdf);
    ButtonReportHtml = button("ButtonReportHtml", ReportCaption::SaveHtml);
    ButtonReportClose = button("ButtonReportClose", ReportCaption::Close);
    connect(ButtonReportPreview, &QPushButton::clicked, this,
            [this] { m_maker.preview(this->fields(), this->paper()); });
    connect(ButtonReportPdf, &QPushButton::clicked, this,
            [this] { m_maker.savePdf(this->fields(), this->paper()); });
    connect(ButtonReportHtml, &QPushButton::clicked, this,
            [this] { m_maker.saveHtml(this->fields(), this->paper()); });
    connect(ButtonReportClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {ButtonReportPreview, ButtonReportPdf, ButtonReportHtml, ButtonReportClose})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    QWidget* order[] = {EditReportVehicle,   EditReportRegistration, EditReportOdometer,
                        EditReportInstaller, EditReportWorkshop,     ComboBoxReportPaper,
                        ButtonReportPreview, ButtonReportPdf,        ButtonReportHtml,
                        ButtonReportClose};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

ReportFields ReportDialog::fields() const {
    return {EditReportVehicle->text().toStdString(), EditReportRegistration->text().toStdString(),
            EditReportOdometer->text().toStdString(), EditReportInstaller->text().toStdString(),
            EditReportWorkshop->text().toStdString()};
}

Paper ReportDialog::paper() const {
    return ComboBoxReportPaper->currentIndex() == 1 ? Paper::Letter : Paper::A4;
}

}  // namespace kaldor
