// The log viewer's window on an eight-hour drive (288,000 records): repainting four lanes 1,400
// pixels wide over the whole drive, with the columns prepared and after a new view that
// prepares them again; moving the cursor (readout table and picture); and, as a whole process,
// `kaldor --view-log` on a one-hour drive from its start to the first painted traces
// (KALDOR_QUIT_AFTER_FIRST_PAINT ends the program there). Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "live/log_view.h"
#include "model/prompts.h"
#include "recording_files.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/trace_view.h"

extern char** environ;

namespace {

using namespace kaldor;

constexpr int kColumns = 1400;
constexpr int kHeight = 640;

class SilentPrompts final : public Prompts {
public:
    void message(const std::string&) override {}
};

// A viewer on the eight-hour drive with four lanes: engine speed, throttle, boost, fuel mode.
struct Viewer {
    SilentPrompts prompts;
    std::unique_ptr<LogViewerWindow> window;

    Viewer() {
        const std::string path = bench::recordingFile(bench::kEightHours, bench::Words::OfTheTable);
        window = std::make_unique<LogViewerWindow>(QString::fromStdString(path), defaultSetup(),
                                                   prompts);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        while (!window->loaded())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        LogView& view = *window->view();
        for (const LiveSignal id : view.available())
            view.setShown(id, id == LiveSignal::EngineSpeed || id == LiveSignal::Throttle ||
                                  id == LiveSignal::ManifoldPressure || id == LiveSignal::FuelMode);
        window->traceView()->resize(TraceView::kScaleWidth + kColumns, kHeight);
        window->traceView()->setView(&view);
        view.fit();
        window->traceView()->tracesChanged();
    }
};

Viewer& viewer() {
    static Viewer v;
    return v;
}

void BM_RepaintFourLanes1400Pixels(benchmark::State& state) {
    TraceView& traces = *viewer().window->traceView();
    QImage image(traces.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        traces.renderTraces(painter, image.size());
    }
    state.counters["lanes"] = static_cast<double>(viewer().window->view()->lanes().size());
    state.counters["records"] = static_cast<double>(viewer().window->view()->recording().size());
}
BENCHMARK(BM_RepaintFourLanes1400Pixels)->Unit(benchmark::kMillisecond);

// Every iteration a new view (the left edge moves a column), so the columns are prepared again.
void BM_RepaintFourLanesAfterPan(benchmark::State& state) {
    TraceView& traces = *viewer().window->traceView();
    LogView& view = *viewer().window->view();
    view.zoomIn();
    QImage image(traces.size(), QImage::Format_RGB32);
    double step = 1;
    for (auto _ : state) {
        view.panColumns(step);
        step = -step;
        QPainter painter(&image);
        traces.renderTraces(painter, image.size());
    }
    view.fit();
}
BENCHMARK(BM_RepaintFourLanesAfterPan)->Unit(benchmark::kMillisecond);

// A click or an arrow key: the cursor, the readout of every channel, the picture repainted.
void BM_MoveCursor(benchmark::State& state) {
    LogViewerWindow& window = *viewer().window;
    LogView& view = *window.view();
    view.fit();
    QApplication::processEvents();
    std::size_t record = 1000;
    for (auto _ : state) {
        record = (record + 7919) % view.recording().size();
        view.setCursor(record);
        window.showCursor();
        window.traceView()->repaint();
    }
    state.counters["readout_rows"] = static_cast<double>(view.available().size());
}
BENCHMARK(BM_MoveCursor)->Unit(benchmark::kMillisecond);

void BM_ViewLogProcessToFirstPaint(benchmark::State& state) {
    const std::string path = bench::recordingFile(bench::kOneHour, bench::Words::OfTheTable);
    std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "KALDOR_QUIT_AFTER_FIRST_PAINT=1"};
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = KALDOR_PROGRAM;
    std::string option = "--view-log";
    std::string file = path;
    char* argv[] = {program.data(), option.data(), file.data(), nullptr};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("kaldor did not start");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("kaldor --view-log failed");
            return;
        }
        state.SetIterationTime(took.count());
    }
}
BENCHMARK(BM_ViewLogProcessToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
