// The log viewer's core on an eight-hour drive: reading the "demo.log" (time, and the memory it
// holds), building a channel's minimum/maximum pyramid, and preparing the picture columns of
// four lanes 1,400 pixels wide over the whole drive.
//
// Memory: `held_MB` is what the records take (Recording::heldBytes); `rss_MB` is the growth of
// the process' resident memory from before the read to after it, with the recording still held
// (/proc/self/statm); `peak_MB` is the growth of its peak resident memory during the read
// (VmHWM, reset through /proc/self/clear_refs before it).
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <memory>
#include <string>

#include "live/log_view.h"
#include "live/recording.h"
#include "live/trace_pyramid.h"
#include "recording_files.h"

namespace {

using namespace kaldor;

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

double peakMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kib = 0;
            status >> kib;
            return kib / 1024;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void read(benchmark::State& state, bench::Words words) {
    const std::string path = bench::recordingFile(bench::kEightHours, words);
    double held = 0, rss = 0, peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        resetPeak();
        const double rssBefore = residentMb();
        const double peakBefore = peakMb();
        state.ResumeTiming();
        RecordingRead r = readRecording(path);
        state.PauseTiming();
        if (!r.recording) {
            state.SkipWithError(r.message.c_str());
            return;
        }
        held = static_cast<double>(r.recording->heldBytes()) / (1 << 20);
        rss = residentMb() - rssBefore;
        peak = peakMb() - peakBefore;
        r.recording.reset();
        state.ResumeTiming();
    }
    state.counters["held_MB"] = held;
    state.counters["rss_MB"] = rss;
    state.counters["peak_MB"] = peak;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}

void BM_ReadEightHourDrive(benchmark::State& state) {
    read(state, bench::Words::OfTheTable);
}
BENCHMARK(BM_ReadEightHourDrive)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadEightHoursEveryWordMoving(benchmark::State& state) {
    read(state, bench::Words::Every);
}
BENCHMARK(BM_ReadEightHoursEveryWordMoving)->Unit(benchmark::kMillisecond)->Iterations(5);

std::shared_ptr<const Recording> eightHours() {
    static const std::shared_ptr<const Recording> kRecording =
        readRecording(bench::recordingFile(bench::kEightHours, bench::Words::OfTheTable)).recording;
    return kRecording;
}

void BM_BuildPyramidOfOneChannel(benchmark::State& state) {
    const auto recording = eightHours();
    for (auto _ : state) {
        TracePyramid pyramid(*recording, LiveSignal::EngineSpeed, LiveContext{});
        benchmark::DoNotOptimize(pyramid.overall());
    }
}
BENCHMARK(BM_BuildPyramidOfOneChannel)->Unit(benchmark::kMillisecond);

// A new view (zoom or pan) over the whole drive: the columns of four lanes' traces.
void BM_PrepareFourLanes1400Columns(benchmark::State& state) {
    const auto recording = eightHours();
    const LiveSignal channels[] = {LiveSignal::EngineSpeed, LiveSignal::Throttle,
                                   LiveSignal::ManifoldPressure, LiveSignal::FuelMode};
    std::vector<std::unique_ptr<TracePyramid>> pyramids;
    for (const LiveSignal id : channels)
        pyramids.push_back(std::make_unique<TracePyramid>(*recording, id, LiveContext{}));
    std::vector<ValueRange> columns;
    for (auto _ : state)
        for (const auto& p : pyramids) {
            p->columns(0, recording->size(), 1400, columns);
            benchmark::DoNotOptimize(columns.data());
        }
}
BENCHMARK(BM_PrepareFourLanes1400Columns)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
