// The log viewer's commands on files: the traces saved as a PNG picture, the visible range
// exported as CSV, and the set-up the values are converted with taken from a configuration file
// or the factory defaults.
#include <QBuffer>
#include <QFileInfo>

#include "files/atomic_file.h"
#include "files/config_file.h"
#include "live/log_csv.h"
#include "model/prompts.h"
#include "service/config_commands.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/trace_view.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

constexpr std::string_view kPngPattern = "*.png";
constexpr std::string_view kPngExtension = "png";

std::string couldNotWrite(const SetupTexts& texts, const std::string& path,
                          const std::string& reason) {
    return uiText(texts, WindowText::CouldNotWrite)
        .arg(QString::fromStdString(path), QString::fromStdString(reason))
        .toStdString();
}

}  // namespace

void LogViewerWindow::savePicture() {
    FileQuestion q;
    q.filters = {{std::string(kPngPattern), std::string(kPngPattern)}};
    q.defaultExtension = std::string(kPngExtension);
    q.initialFolder = m_folder.toStdString();
    q.fileName =
        QFileInfo(m_path).completeBaseName().toStdString() + "." + std::string(kPngExtension);
    const std::optional<FileAnswer> answer = m_prompts.askSaveFile(q);
    if (!answer || answer->path.empty())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    m_traces->grab().toImage().save(&buffer, "PNG");
    const std::string path = withExtension(answer->path, kPngExtension);
    if (const auto reason =
            writeFileAtomically(path, std::string_view(png.constData(), png.size())))
        m_prompts.message(couldNotWrite(m_language, path, *reason));
}

void LogViewerWindow::exportRange() {
    const std::optional<FileAnswer> answer =
        m_prompts.askSaveFile(csvSaveQuestion(m_folder.toStdString()));
    if (!answer || answer->path.empty())
        return;
    const std::string csv = recordingCsv(m_view->recording(), m_view->visibleFirst(),
                                         m_view->visibleLast(), m_view->setup().context, m_texts);
    const std::string path = withExtension(answer->path, kCsvExtension);
    if (const auto reason = writeFileAtomically(path, csv))
        m_prompts.message(couldNotWrite(m_language, path, *reason));
}

void LogViewerWindow::chooseSetupFile() {
    const std::optional<FileAnswer> answer =
        m_prompts.askOpenFile(openConfigQuestion(m_folder.toStdString()));
    if (!answer || answer->path.empty())
        return;
    const SetupFromFile file = fileSetup(answer->path);
    if (!file.setup) {
        m_prompts.message(file.message);
        return;
    }
    m_view->setSetup(*file.setup);
    m_traces->tracesChanged();
    showSetup();
    showCursor();
    showStatistics();
}

void LogViewerWindow::useDefaultSetup() {
    m_view->setSetup(defaultSetup());
    m_traces->tracesChanged();
    showSetup();
    showCursor();
    showStatistics();
}

}  // namespace kaldor
