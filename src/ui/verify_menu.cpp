#include "ui/verify_menu.h"

#include <QAction>
#include <QFile>

#include <optional>

#include "live/data_logger.h"
#include "live/log_csv.h"
#include "service/config_commands.h"
#include "service/config_compare.h"
#include "ui/main_window.h"
#include "ui/refresh.h"
#include "ui/refused_write.h"
#include "ui/session.h"

namespace kaldor {
namespace {

constexpr const char* kEcuLabel = "ECU";

std::string captionOf(const QAction* item) {
    return item != nullptr ? item->text().toStdString() : std::string();
}

std::string locations(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " location" : " locations");
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string comparisonSummary(const ImageDiff& diff, const std::string& name) {
    return "\"" + name + "\"" +
           (diff.writableMatch() ? " matches the PC"
                                 : " differs from the PC in " + locations(diff.entries.size()));
}

}  // namespace

VerifyMenu::VerifyMenu(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh,
                       const DataLogger& logger)
    : m_window(window),
      m_session(session),
      m_refresh(refresh),
      m_logger(logger),
      m_verifier(session.commands, session.state, session.image, &session.setupTexts),
      m_ask(
          [&window](const DifferenceView& view) { return DifferenceDialog::ask(&window, view); }) {}

std::string VerifyMenu::baseFolder() const {
    return QFile::encodeName(m_window.baseFolder()).toStdString();
}

void VerifyMenu::verifyECU1Click() {
    if (!m_session.state.connected) {
        m_session.prompts.message(m_session.texts.noConnection);
        return;
    }
    decide(m_verifier.verify(m_session.progress, m_session.timer));
}

void VerifyMenu::verifyAfterWrite() {
    if (!m_session.state.connected || m_window.menusLocked())
        return;
    VerifyReport report = m_verifier.verify(m_session.progress, m_session.timer);
    if (report.matches() || report.outcome == VerifyOutcome::NoConnection)
        return;
    decide(std::move(report));
}

DifferenceView VerifyMenu::verificationView(const VerifyReport& report) const {
    DifferenceView view;
    view.title = captionOf(m_window.menu().verifyECU1);
    view.summary = report.message;
    view.otherLabel = kEcuLabel;
    view.diff = report.diff;
    // The differences in the bytes that were read can be written even when a page stayed
    // unread; only a complete read may replace the PC image.
    view.canWrite = report.outcome != VerifyOutcome::NoConnection && !report.diff.entries.empty();
    view.canTake = report.outcome == VerifyOutcome::Mismatch;
    return view;
}

void VerifyMenu::decide(VerifyReport report) {
    for (;;) {
        const DifferenceView view = verificationView(report);
        const DifferenceChoice choice = m_ask(view);
        if (choice == DifferenceChoice::WritePcValues && view.canWrite) {
            m_session.history.recordMemory(historyBefore(kHistoryWritePcValues), report.controller);
            report = m_verifier.writePcValues(report, m_session.progress, m_session.timer);
            if (report.outcome == VerifyOutcome::WriteBroken) {
                reportRefusedWrite(m_window, m_session, report.message, true);
                return;
            }
            continue;
        }
        if (choice == DifferenceChoice::TakeControllerValues && view.canTake &&
            m_verifier.takeControllerValues(report))
            m_refresh.RefreshControls();
        return;
    }
}

void VerifyMenu::comparewithfile1Click() {
    // The open dialog of "load to ECU", so the installer finds his files where he loads them.
    const std::optional<FileAnswer> answer =
        m_session.prompts.askOpenFile(openConfigQuestion(baseFolder()));
    if (!answer || answer->path.empty())
        return;
    const FileComparison comparison =
        compareWithFile(m_session.image, answer->path, m_session.setupTexts);
    if (!comparison.diff) {
        m_session.prompts.message(comparison.message);
        return;
    }
    DifferenceView view;
    view.title = captionOf(m_window.menu().comparewithfile1);
    view.otherLabel = fileNameOf(answer->path);
    view.summary = comparisonSummary(*comparison.diff, view.otherLabel);
    view.diff = *comparison.diff;
    (void)m_ask(view);
}

void VerifyMenu::exportlogasCSV1Click() {
    const std::string folder = baseFolder();
    // Nothing logged in this run: the records of a "demo.log" instead. The run's own records
    // are read from the recording file, which holds every line logged since the start.
    std::optional<std::string> demoLog;
    if (!m_logger.hasRecording()) {
        const std::optional<FileAnswer> open =
            m_session.prompts.askOpenFile(demoLogOpenQuestion(folder));
        if (!open || open->path.empty())
            return;
        demoLog = open->path;
    }
    const std::optional<FileAnswer> save = m_session.prompts.askSaveFile(csvSaveQuestion(folder));
    if (!save || save->path.empty())
        return;
    const std::string csvPath = withExtension(save->path, kCsvExtension);
    const int rpmSignalType = static_cast<int>(readField(m_session.image, FieldId::RpmSignalType));
    const CsvExport result = exportDemoLogCsv(demoLog.value_or(m_logger.recordingPath()),
                                              rpmSignalType, csvPath, m_session.texts);
    if (!result.written)
        m_session.prompts.message(result.message);
}

}  // namespace kaldor
