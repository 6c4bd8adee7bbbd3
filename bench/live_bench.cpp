// Demo playback loading and the oscilloscope's work per collected record.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "live/data_logger.h"
#include "live/oscyloskop.h"

using namespace kaldor;

namespace {

// A full-size "demo.log" of values over the whole word range, mostly five digits: the largest
// file the buffer takes.
class DemoLogFolder {
public:
    DemoLogFolder() {
        std::string pattern = "/tmp/demobenchXXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            return;
        m_folder = pattern;
        DataLogger logger(m_folder);
        if (logger.StartLogging())
            return;
        LiveFrame frame;
        unsigned seed = 1;
        for (std::size_t line = 0; line < DataLogger::kMaxLines; ++line) {
            for (std::size_t w = 0; w < LiveFrame::kWords; ++w) {
                seed = seed * 1103515245u + 12345u;
                frame.setWord(w, static_cast<std::uint16_t>(seed >> 8));
            }
            logger.AppendLogLine(frame);
        }
        m_ok = !logger.StopLogging().has_value();
        std::error_code error;
        m_bytes = static_cast<std::size_t>(
            std::filesystem::file_size(m_folder + "/" + DataLogger::kFileName, error));
    }
    ~DemoLogFolder() {
        std::remove((m_folder + "/" + DataLogger::kFileName).c_str());
        ::rmdir(m_folder.c_str());
    }
    [[nodiscard]] const std::string& folder() const { return m_folder; }
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] std::size_t bytes() const { return m_bytes; }

private:
    std::string m_folder;
    std::size_t m_bytes = 0;
    bool m_ok = false;
};

void BM_LoadFullDemoLog(benchmark::State& s) {
    static const DemoLogFolder demo;
    if (!demo.ok()) {
        s.SkipWithError("could not write demo.log");
        return;
    }
    std::size_t buffer = 0;
    for (auto _ : s) {
        DataLogger logger(demo.folder());
        const PlaybackLoad load = logger.PlayDemo();
        if (load.linesLoaded != DataLogger::kMaxLines)
            s.SkipWithError("not every line loaded");
        buffer = logger.bufferBytes();
        benchmark::DoNotOptimize(logger.playbackWord(49999, 95));
    }
    s.counters["buffer_bytes"] = static_cast<double>(buffer);
    s.counters["file_bytes"] = static_cast<double>(demo.bytes());
}
BENCHMARK(BM_LoadFullDemoLog)->Unit(benchmark::kMillisecond)->Repetitions(5);

// One record logged: formatted, appended to the recording and flushed, with the disk sync every
// tenth record; what the collect tick pays while logging runs.
void BM_AppendLogLine(benchmark::State& s) {
    std::string folder = "/tmp/logbenchXXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        s.SkipWithError("no folder");
        return;
    }
    {
        DataLogger logger(folder);
        if (logger.StartLogging()) {
            s.SkipWithError("could not start");
            return;
        }
        LiveFrame frame;
        std::uint16_t n = 0;
        for (auto _ : s) {
            frame.setWord(0, ++n);
            logger.AppendLogLine(frame);
        }
        (void)logger.StopLogging();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AppendLogLine)->Unit(benchmark::kMicrosecond)->Repetitions(3);

void BM_ScopeFeedAndDraw(benchmark::State& s) {
    OSCYLOSKOP scope;
    const std::array<int, 4> items{1, 2, 4, 7};
    int tick = 0;
    const auto next = [&] {
        ++tick;
        const OSCYLOSKOP::Values values{800.0 + (tick * 37) % 5000, (tick % 100) * 0.1,
                                        (tick % 40) * 0.1, 200.0 + tick % 600};
        scope.Feed(items, 1, values);
        return scope.Draw(832, 246).steps.size();
    };
    for (std::size_t i = 0; i < OSCYLOSKOP::kHistory; ++i)
        next();
    for (auto _ : s)
        benchmark::DoNotOptimize(next());
}
BENCHMARK(BM_ScopeFeedAndDraw)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace
