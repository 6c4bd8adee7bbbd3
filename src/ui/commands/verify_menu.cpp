#include "ui/commands/verify_menu.h"

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
#include "ui/window_texts.h"

namespace kaldor {
namespace {

constexpr const char* kEcuLabel = "ECU";
// How many differing locations the outcome line names.
constexpr std::size_t kNamesInSummary = 5;

std::string captionOf(const QAction* item) {
    return item != nullptr ? item->text().toStdString() : std::string();
}

std::string locations(const SetupTexts& texts, std::size_t n) {
    return countText(texts, WindowText::OneLocation, WindowText::Locations, n);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

std::string names(const SetupTexts& texts, const std::vector<Difference>& list) {
    std::vector<std::string> named;
    for (const Difference& d : list)
        named.push_back(d.name);
    return namesText(texts, named, kNamesInSummary);
}

// "... differs from the PC in 3 locations: a, b, c"
std::string differing(const SetupTexts& texts, WindowText line, const ImageDiff& diff) {
    return uiText(texts, line)
        .arg(text(locations(texts, diff.entries.size())), text(names(texts, diff.entries)))
        .toStdString();
}

// The outcome line of a verification in the window's language: what the verifier says in
// English, from the same facts.
std::string verificationSummary(const VerifyReport& r, const SetupTexts& texts,
                                const std::string& noConnection) {
    std::string summary;
    switch (r.outcome) {
        case VerifyOutcome::NoConnection:
            return noConnection;
        case VerifyOutcome::WriteBroken:
            return r.message;
        case VerifyOutcome::Match:
            summary = windowText(texts, WindowText::VerifyMatches);
            break;
        case VerifyOutcome::Mismatch:
            summary = differing(texts, WindowText::VerifyDiffers, r.diff);
            break;
        case VerifyOutcome::Unread: {
            if (r.unread.size() == 1 && r.unread.front().first == 0 &&
                r.unread.front().second + 1 == EcuImage::kSize)
                return windowText(texts, WindowText::NothingCompared) + " " +
                       windowText(texts, WindowText::AdviceLoadAgain);
            std::string ranges;
            for (const auto& [first, last] : r.unread)
                ranges += (ranges.empty() ? "" : ", ") + std::to_string(first) + "-" +
                          std::to_string(last);
            const QString bytes = uiText(texts, WindowText::UnreadBytes).arg(text(ranges));
            summary = uiText(texts, WindowText::NotReadCompletely).arg(bytes).toStdString() + " ";
            summary += r.diff.entries.empty() ? windowText(texts, WindowText::ReadAgree)
                                              : differing(texts, WindowText::ReadDiffers, r.diff);
            break;
        }
    }
    if (!r.diff.controllerOwned.empty())
        summary += "\n" + uiText(texts, WindowText::OwnDiffer)
                              .arg(text(names(texts, r.diff.controllerOwned)))
                              .toStdString();
    return summary;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string comparisonSummary(const SetupTexts& texts, const ImageDiff& diff,
                              const std::string& name) {
    return (diff.writableMatch()
                ? uiText(texts, WindowText::FileMatches).arg(text(name))
                : uiText(texts, WindowText::FileDiffers)
                      .arg(text(name), text(locations(texts, diff.entries.size()))))
        .toStdString();
}

}  // namespace

VerifyMenu::VerifyMenu(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh,
                       const DataLogger& logger)
    : m_window(window),
      m_session(session),
      m_refresh(refresh),
      m_logger(logger),
      m_verifier(session.commands, session.state, session.image, &session.setupTexts),
      m_ask([&window, &session](const DifferenceView& view) {
          return DifferenceDialog::ask(&window, view, session.setupTexts);
      }) {}

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
    view.summary = verificationSummary(report, m_session.setupTexts, m_session.texts.noConnection);
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
    view.summary = comparisonSummary(m_session.setupTexts, *comparison.diff, view.otherLabel);
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
