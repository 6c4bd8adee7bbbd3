// Records a drive of the virtual controller's engine with the data logger and takes a picture
// of the log viewer on it, for the documentation:
//
//     log-viewer-shot OUT.png [LOG]      e.g. log-viewer-shot docs/log-viewer.png
//
// The drive: 20 minutes of the engine model's repeating cycle (idle, acceleration, cruise, full
// load, overrun) with the controller in automatic mode, so it runs on propane when warm and fast
// enough and on diesel at idle; at 12:00 the controller is switched to diesel for 90 seconds, as
// it falls back on a fault, then to automatic again. One record every 100 ms, as the logger
// takes them. LOG, when given, keeps the recording. The cursor stands in the fallback.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "controller_core.h"
#include "live/data_logger.h"
#include "live/recording_setup.h"
#include "model/prompts.h"
#include "protocol.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/trace_view.h"

namespace {

constexpr double kDriveSeconds = 20 * 60;
constexpr double kFallbackFrom = 12 * 60;
constexpr double kFallbackTo = kFallbackFrom + 90;
constexpr double kSecondsPerRecord = 0.1;

class PrintedPrompts final : public kaldor::Prompts {
public:
    void message(const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
};

// The drive as "demo.log" in `folder`; its path, or empty.
std::string recordDrive(const std::string& folder) {
    namespace sim = kaldor::sim;
    sim::ControllerCore controller(sim::CoreSettings{});
    kaldor::DataLogger logger(folder);
    logger.StartLogging();
    kaldor::LiveFrame frame;
    const auto records = static_cast<long>(kDriveSeconds / kSecondsPerRecord);
    for (long r = 0; r < records; ++r) {
        const double t = static_cast<double>(r) * kSecondsPerRecord;
        if (r == std::lround(kFallbackFrom / kSecondsPerRecord))
            (void)controller.handle(sim::makeCommand(sim::kCmdModeDiesel));
        if (r == std::lround(kFallbackTo / kSecondsPerRecord))
            (void)controller.handle(sim::makeCommand(sim::kCmdModeAuto));
        controller.advanceTo(t);
        const sim::LiveRecord record = controller.liveRecord();
        for (std::size_t w = 0; w < record.size(); ++w)
            frame.setWord(w, record[w]);
        logger.AppendLogLine(frame);
    }
    if (const auto failed = logger.StopLogging()) {
        std::fprintf(stderr, "log-viewer-shot: %s\n", failed->c_str());
        return {};
    }
    return logger.filePath();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: log-viewer-shot OUT.png [LOG]\n");
        return 2;
    }
    try {
        QTemporaryDir folder;
        const std::string log = recordDrive(folder.path().toStdString());
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
