// The cell table of an eight-hour drive (288,000 records) on the default main map, with and
// without a signal's statistics, from the recording in memory; and the whole way from the file.
// The column table of a correction map over the same drive.
#include <benchmark/benchmark.h>

#include "live/recording.h"
#include "maps/axis_statistics.h"
#include "maps/cell_statistics.h"
#include "recording_files.h"

namespace {

using namespace kaldor;

std::shared_ptr<const Recording> eightHours() {
    static const RecordingRead read =
        readRecording(bench::recordingFile(bench::kEightHours, bench::Words::OfTheTable));
    return read.recording;
}

void cells(benchmark::State& state, std::optional<LiveSignal> signal) {
    const auto recording = eightHours();
    if (!recording) {
        state.SkipWithError("the drive could not be read");
        return;
    }
    const RecordingSetup setup = defaultSetup();
    for (auto _ : state) {
        const CellTable table = cellStatistics(*recording, setup, signal);
        benchmark::DoNotOptimize(table.placed());
    }
    state.counters["records"] = static_cast<double>(recording->size());
}

void BM_CellTableEightHours(benchmark::State& state) {
    cells(state, std::nullopt);
}
BENCHMARK(BM_CellTableEightHours)->Unit(benchmark::kMillisecond);

void BM_CellTableEightHoursExhaustTemperature(benchmark::State& state) {
    cells(state, LiveSignal::ExhaustTemperature);
}
BENCHMARK(BM_CellTableEightHoursExhaustTemperature)->Unit(benchmark::kMillisecond);

// The manifold pressure correction map, with the exhaust gas temperature per column.
void BM_CorrectionColumnsEightHoursExhaustTemperature(benchmark::State& state) {
    const auto recording = eightHours();
    if (!recording) {
        state.SkipWithError("the drive could not be read");
        return;
    }
    const RecordingSetup setup = defaultSetup();
    for (auto _ : state) {
        const AxisTable table =
            correctionStatistics(*recording, setup, 3, LiveSignal::ExhaustTemperature);
        benchmark::DoNotOptimize(table.placed());
    }
    state.counters["records"] = static_cast<double>(recording->size());
}
BENCHMARK(BM_CorrectionColumnsEightHoursExhaustTemperature)->Unit(benchmark::kMillisecond);

void BM_CellTableEightHoursFromTheFile(benchmark::State& state) {
    const std::string path = bench::recordingFile(bench::kEightHours, bench::Words::OfTheTable);
    const RecordingSetup setup = defaultSetup();
    for (auto _ : state) {
        const RecordingRead read = readRecording(path);
        const CellTable table =
            cellStatistics(*read.recording, setup, LiveSignal::ExhaustTemperature);
        benchmark::DoNotOptimize(table.placed());
    }
}
BENCHMARK(BM_CellTableEightHoursFromTheFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
