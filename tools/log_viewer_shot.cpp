// Records a drive of the virtual controller's engine with the data logger and takes a picture
// of the log viewer on it, for the documentation:
//
//     log-viewer-shot OUT.png [LOG]      e.g. log-viewer-shot docs/log-viewer.png
//
// The drive is recorded_drive.h's. LOG, when given, keeps the recording. The cursor stands in
// the fallback.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <string>

#include "live/recording_setup.h"
#include "model/prompts.h"
#include "recorded_drive.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/trace_view.h"

namespace {

using kaldor::tools::kFallbackFrom;
using kaldor::tools::kSecondsPerRecord;

class PrintedPrompts final : public kaldor::Prompts {
public:
    void message(const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: log-viewer-shot OUT.png [LOG]\n");
        return 2;
    }
    try {
        QTemporaryDir folder;
        const std::string log =
            kaldor::tools::recordDrive(folder.path().toStdString(), "log-viewer-shot");
        if (log.empty())
            return 1;
        if (argc == 3 && !QFile::copy(QString::fromStdString(log), QString::fromLocal8Bit(argv[2])))
            std::fprintf(stderr, "log-viewer-shot: could not keep the log as %s\n", argv[2]);
        PrintedPrompts prompts;
        kaldor::LogViewerWindow viewer(QString::fromStdString(log), kaldor::defaultSetup(),
                                       prompts);
        viewer.setAttribute(Qt::WA_DeleteOnClose, false);
        viewer.resize(1400, 820);
        viewer.show();
        QElapsedTimer waited;
        waited.start();
        while (!viewer.loaded() && waited.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!viewer.loaded())
            return 1;
        viewer.view()->setCursor(
            static_cast<std::size_t>((kFallbackFrom + 30) / kSecondsPerRecord));
        viewer.showCursor();
        QApplication::processEvents();
        return viewer.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "log-viewer-shot: %s\n", error.what());
        return 1;
    }
}
