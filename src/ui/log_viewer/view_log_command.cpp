#include "ui/log_viewer/view_log_command.h"

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

LogViewerWindow* viewLog(QWidget* parent, ControllerSession& session, const QString& folder) {
    const std::optional<FileAnswer> answer =
        session.prompts.askOpenFile(viewLogQuestion(folder.toStdString()));
    if (!answer || answer->path.empty())
        return nullptr;
    RecordingSetup setup =
        session.state.connected ? controllerSetup(session.image, session.state) : defaultSetup();
    auto* viewer = new LogViewerWindow(QString::fromStdString(answer->path), std::move(setup),
                                       session.prompts, session.texts, folder, parent);
    viewer->show();
    return viewer;
}

}  // namespace kaldor
