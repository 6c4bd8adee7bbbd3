#include "ui/commands/report_menu.h"

#include <QDate>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>

#include "files/atomic_file.h"
#include "files/settings_file.h"
#include "link/connection_scan.h"
#include "report/report_render.h"
#include "ui/main_window.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/session.h"

namespace kaldor {

ReportMenu::ReportMenu(MainWindow& window, ControllerSession& session)
    : m_window(window),
      m_session(session),
      m_preview([&window](QTextDocument& document, Paper paper) {
          QPrinter printer(QPrinter::HighResolution);
          printer.setPageLayout(reportPageLayout(paper));
          QPrintPreviewDialog dialog(&printer, &window);
          dialog.setObjectName(QStringLiteral("ReportPreview"));
          QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                           [&document](QPrinter* p) { printReport(document, *p); });
          (void)dialog.exec();
      }),
      m_today([] { return QDate::currentDate().toString(Qt::ISODate).toStdString(); }) {}

std::uint32_t ReportMenu::serial() const {
    return readField(m_session.image, FieldId::ControllerSerialNumber);
}

void ReportMenu::printReport1Click() {
    SettingsFile settings(m_window.settingsFilePath().toStdString(),
                          m_window.settingsFallbackPath().toStdString());
    settings.load();
    ReportDialog dialog(*this, rememberedReportFields(settings, serial()),
                        rememberedPaper(settings), m_session.setupTexts, &m_window);
    (void)dialog.exec();
    remember(dialog.fields(), dialog.paper());
}

std::string ReportMenu::html(const ReportFields& fields, Paper paper) const {
    ReportFacts facts;
    facts.date = m_today();
    facts.programVersion = std::string(kProductTitle) + kVersionText;
    if (m_session.state.connected)
        facts.revisions =
            ControllerRevisions{m_session.state.hardwareRevision, m_session.state.softwareRevision};
    facts.fields = fields;
    facts.errorRows = m_window.diagnosticPage().errorsReadFrom(serial());
    facts.paper = paper;
    return setupReportHtml(m_session.image, m_session.setupTexts, facts);
}

void ReportMenu::remember(const ReportFields& fields, Paper paper) {
    SettingsFile settings(m_window.settingsFilePath().toStdString(),
                          m_window.settingsFallbackPath().toStdString());
    settings.load();
    const std::string before = settings.text();
    rememberReportFields(settings, serial(), fields);
    rememberPaper(settings, paper);
    // Nothing changed, nothing written.
    if (settings.text() != before)
        (void)settings.save();
}

void ReportMenu::preview(const ReportFields& fields, Paper paper) {
    remember(fields, paper);
    const std::unique_ptr<QTextDocument> document = reportDocument(html(fields, paper));
    m_preview(*document, paper);
}

std::string ReportMenu::askFile(const char* filterText, const char* extension) {
    FileQuestion question;
    question.filters = {{filterText, std::string("*.") + extension}};
    question.defaultExtension = extension;
    question.initialFolder = m_window.baseFolder().toStdString();
    question.fileName = "report-" + std::to_string(serial()) + "." + extension;
    const std::optional<FileAnswer> answer = m_session.prompts.askSaveFile(question);
    return answer ? answer->path : std::string();
}

void ReportMenu::tell(const std::string& path, const std::optional<std::string>& error) {
    if (error) {
        m_session.prompts.message("\"" + path + "\": " + *error);
        return;
    }
    QStatusBar* line = m_window.statusBar();
    line->setObjectName(QStringLiteral("StatusBar1"));
    line->setAccessibleName(QStringLiteral("status"));
    line->showMessage(QString::fromStdString(
        reportCaption(m_session.setupTexts, ReportCaption::Saved) + " " + path));
}

void ReportMenu::savePdf(const ReportFields& fields, Paper paper) {
    remember(fields, paper);
    const std::string path =
        askFile(windowText(m_session.setupTexts, WindowText::PdfFiles).c_str(), "pdf");
    if (!path.empty())
        tell(path, writeReportPdf(html(fields, paper), paper, path));
}

void ReportMenu::saveHtml(const ReportFields& fields, Paper paper) {
    remember(fields, paper);
    const std::string path =
        askFile(windowText(m_session.setupTexts, WindowText::HtmlFiles).c_str(), "html");
    if (!path.empty())
        tell(path, writeFileAtomically(path, html(fields, paper)));
}

}  // namespace kaldor
