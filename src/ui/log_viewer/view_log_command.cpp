#include "ui/log_viewer/view_log_command.h"

#include <filesystem>
#include <optional>
#include <string>

#include "live/data_logger.h"
#include "live/log_csv.h"
#include "live/recording_setup.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/session.h"

namespace kaldor {

FileQuestion viewLogQuestion(const std::string& initialFolder) {
    FileQuestion q;
    q.filters = {{std::string(kDemoLogPattern), std::string(kDemoLogPattern)},
                 {std::string(kCsvPattern), std::string(kCsvPattern)}};
    q.initialFolder = initialFolder;
    return q;
}

namespace {

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::weakly_canonical(a, error) ==
           std::filesystem::weakly_canonical(b, error);
}

}  // namespace

LogViewerWindow* viewLog(QWidget* parent, ControllerSession& session, const QString& folder,
                         const DataLogger& logger) {
    const std::optional<FileAnswer> answer =
        session.prompts.askOpenFile(viewLogQuestion(folder.toStdString()));
    if (!answer || answer->path.empty())
        return nullptr;
    RecordingSetup setup =
        session.state.connected ? controllerSetup(session.image, session.state) : defaultSetup();
    auto* viewer = new LogViewerWindow(QString::fromStdString(answer->path), std::move(setup),
                                       session.prompts, session.texts, folder, parent);
    viewer->setTexts(session.setupTexts, session.texts);
    // The viewer is the main window's child: the logger outlives it. While it logs into the
    // chosen file, its recording file holds every line logged so far.
    viewer->readLoggedLinesFrom([&logger, path = answer->path]() -> std::optional<std::string> {
        if (!logger.logging() || !sameFile(logger.filePath(), path))
            return std::nullopt;
        return logger.recordingPath();
    });
    viewer->show();
    return viewer;
}

}  // namespace kaldor
