// The core half of one collect tick: validating and reversing a live reply, the calibration
// slice, working out every reading, and moving the main map's operating point with the looks of
// every grid cell the page then repaints.
#include <benchmark/benchmark.h>

#include <vector>

#include "diagnostics/error_counter_watch.h"
#include "emulation/emulator_extremes.h"
#include "link/frame.h"
#include "live/live_display.h"
#include "live/live_frame.h"
#include "live/live_signals.h"
#include "maps/calibration_tables.h"
#include "maps/main_map_editor.h"
#include "maps/mapping_chart.h"
#include "model/fields.h"

using namespace kaldor;

namespace {

std::array<std::uint8_t, 196> realisticReply(std::uint16_t pressure = 1400,
                                             std::uint16_t slicePosition = 0) {
    LiveFrame f;
    const std::uint16_t words[][2] = {
        {0, 62},      {1, 35},      {3, 120},     {4, 800},  {5, 1200},  {6, 2300},  {9, 1500},
        {10, 900},    {18, 100},    {21, 5529},   {24, 900}, {26, 2000}, {27, 2300}, {30, 1700},
        {35, 0x0500}, {36, 0x0600}, {39, 0x0100}, {49, 3},   {50, 2},    {78, 2200}, {79, pressure},
        {80, 700},    {86, 900},    {88, 3600},   {90, 1800}};
    for (const auto& w : words)
        f.setWord(w[0], w[1]);
    // A slice of the calibration block with values that differ from record to record.
    if (slicePosition != 0) {
        f.setWord(CalibrationBlock::kPositionWord, slicePosition);
        for (std::size_t k = 0; k < CalibrationBlock::kSliceWords; ++k)
            f.setWord(CalibrationBlock::kSliceFirstWord + k,
                      static_cast<std::uint16_t>(0x4000 + slicePosition * 37 + k * 101));
    }
    std::array<std::uint8_t, 196> reply{};
    reply[0] = 0x56;
    reply[1] = 0x05;
    for (std::size_t k = 0; k < LiveFrame::kBytes; ++k)
        reply[2 + k] = f.bytes()[LiveFrame::kBytes - 1 - k];
    reply[194] = payloadChecksum(reply.data() + 2, LiveFrame::kBytes);
    reply[195] = 0xF2;
    return reply;
}

// What the pages work out of one record: every signal of the table, the texts shown, the status
// lamp, the work-time texts, the consumption estimate, the emulator extremes and the error watch.
struct Readings {
    // The signals the pages show as texts rather than on gauges.
    static constexpr LiveSignal kShownAsText[] = {LiveSignal::SupplyVoltage,
                                                  LiveSignal::PowerStage,
                                                  LiveSignal::EmulatorCorrection1,
                                                  LiveSignal::EmulatorCorrection2,
                                                  LiveSignal::Dtps1In,
                                                  LiveSignal::Dtps1Out,
                                                  LiveSignal::Dtps2In,
                                                  LiveSignal::Dtps2Out,
                                                  LiveSignal::FrequencyIn,
                                                  LiveSignal::FrequencyOut,
                                                  LiveSignal::OperationsPerSecond,
                                                  LiveSignal::EmulatorChannel1,
                                                  LiveSignal::EmulatorChannel2};
    StatusTexts texts;
    ConsumptionEstimate consumption;
    EmulatorExtremes extremes;
    ErrorCounterWatch watch;

    void show(const LiveRecord& r) {
        for (const LiveSignalDef& d : liveSignals())
            benchmark::DoNotOptimize(r.value(d.id));
        for (const LiveSignal id : kShownAsText) {
            std::string text = r.text(id);
            benchmark::DoNotOptimize(text);
        }
        StatusIndicator status = statusIndicatorFor(r.frame, texts);
        benchmark::DoNotOptimize(status);
        WorkTimeShares shares = workTimeShares(r.frame, texts);
        benchmark::DoNotOptimize(shares);
        consumption.update(r.frame);
        std::string litres = consumption.dieselText() + consumption.propaneText();
        benchmark::DoNotOptimize(litres);
        if (r.on(LiveSignal::EmulatorMeasuring))
            extremes.measure(r.value(LiveSignal::EmulatorChannel1),
                             r.value(LiveSignal::EmulatorChannel2));
        std::string measured = extremes.text(0) + extremes.text(1);
        benchmark::DoNotOptimize(measured);
        benchmark::DoNotOptimize(
            watch.moved(static_cast<std::uint16_t>(r.raw(LiveSignal::ErrorCounter))));
    }
};

void BM_DecodeAndComputeReadings(benchmark::State& s) {
    const auto reply = realisticReply();
    LiveFrame frame;
    CalibrationBlock block;
    EcuImage image;
    image.setByte(125, 4);
    ConnectionState connection;
    connection.hardwareRevision = 2;
    connection.softwareRevision = 11;
    Readings readings;
    for (auto _ : s) {
        if (validateReply(ReplyKind::Live, reply.data(), reply.size(), true) == ReplyStatus::Ok)
            reversePayload(reply.data() + 2, LiveFrame::kBytes, frame.bytes().data());
        block.takeSlice(frame);
        readings.show({frame, liveContext(image, connection)});
    }
}
BENCHMARK(BM_DecodeAndComputeReadings);

struct NoSender final : FieldSender {
    bool sendField(FieldId, std::size_t) override { return true; }
    void pause(int) override {}
    bool connected() const override { return true; }
    bool linkReady() const override { return true; }
};

// Every tick the manifold pressure crosses a row boundary, so every tick repaints the grid.
void BM_CollectTickMovesOperatingPoint(benchmark::State& s) {
    const std::array<std::array<std::uint8_t, 196>, 2> replies{realisticReply(1400),
                                                               realisticReply(1700)};
    LiveFrame frame;
    CalibrationBlock block;
    EcuImage image;
    image.setByte(125, 4);
    storeField(image, FieldId::MainMapType, 1);
    for (std::size_t i = 0; i < 8; ++i)
        storeField(image, FieldId::MainMapColumnAxis, 20000 - 2000 * i, i);
    for (std::size_t i = 0; i < 16; ++i)
        storeField(image, FieldId::MainMapRowAxis, 800 + 100 * i, i);
    NoSender sender;
    PlainProgress progress;
    MainMapEditor map{image, sender, progress};
    map.ShowMainMap();
    ConnectionState connection;
    connection.hardwareRevision = 2;
    connection.softwareRevision = 11;
    Readings readings;
    std::size_t tick = 0;
    std::int64_t repaints = 0;
    for (auto _ : s) {
        const auto& reply = replies[tick++ & 1];
        if (validateReply(ReplyKind::Live, reply.data(), reply.size(), true) == ReplyStatus::Ok)
            reversePayload(reply.data() + 2, LiveFrame::kBytes, frame.bytes().data());
        block.takeSlice(frame);
        readings.show({frame, liveContext(image, connection)});
        if (map.updateOperatingPoint(frame, true)) {
            ++repaints;
            for (int row = 0; row < kMainMapGridRows; ++row)
                for (int column = 0; column < map.layout().colCount; ++column) {
                    MapCellLook look = map.cellLook(column, row, false);
                    benchmark::DoNotOptimize(look);
                }
        }
    }
    s.counters["repaints"] =
        benchmark::Counter(static_cast<double>(repaints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CollectTickMovesOperatingPoint);

}  // namespace

namespace {

// The 53 records that carry a slice, so every tick brings new block words.
std::vector<std::array<std::uint8_t, 196>> sliceReplies() {
    std::vector<std::array<std::uint8_t, 196>> replies;
    for (std::uint16_t p = 6; p <= CalibrationBlock::kWords; p += 6)
        replies.push_back(realisticReply(static_cast<std::uint16_t>(1400 + p), p));
    return replies;
}

struct CollectTick {
    std::vector<std::array<std::uint8_t, 196>> replies = sliceReplies();
    LiveFrame frame;
    CalibrationBlock block;
    EcuImage image;
    ConnectionState connection;
    Readings readings;
    std::size_t tick = 0;

    CollectTick() {
        image.setByte(125, 4);
        connection.hardwareRevision = 2;
        connection.softwareRevision = 11;
        // A whole block first, so every table cell holds a number.
        for (std::size_t i = 0; i < replies.size(); ++i)
            collect();
    }
    void collect() {
        const auto& reply = replies[tick++ % replies.size()];
        if (validateReply(ReplyKind::Live, reply.data(), reply.size(), true) == ReplyStatus::Ok)
            reversePayload(reply.data() + 2, LiveFrame::kBytes, frame.bytes().data());
        // A controller still learning: every slice brings values the tables have not shown.
        for (std::size_t k = 0; k < CalibrationBlock::kSliceWords; ++k)
            frame.setWord(CalibrationBlock::kSliceFirstWord + k,
                          static_cast<std::uint16_t>(tick * 7919 + k * 101));
        block.takeSlice(frame);
        readings.show({frame, liveContext(image, connection)});
    }
};

// A collect tick with the table update of all four calibration grids, as on every record.
void BM_CollectTickCalibrationTables(benchmark::State& s) {
    CollectTick t;
    CalibrationTables tables;
    std::int64_t changed = 0;
    tables.grid(CalibrationGrid::Benz).setListener([&](int, int) { ++changed; });
    tables.grid(CalibrationGrid::Gaz).setListener([&](int, int) { ++changed; });
    tables.grid(CalibrationGrid::Correction).setListener([&](int, int) { ++changed; });
    tables.grid(CalibrationGrid::Korektuj).setListener([&](int, int) { ++changed; });
    for (auto _ : s) {
        t.collect();
        tables.update(t.block);
    }
    s.counters["cells changed"] =
        benchmark::Counter(static_cast<double>(changed), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CollectTickCalibrationTables);

// The worst case of the update alone: two blocks that differ in every table cell.
void BM_CalibrationTablesEveryCellChanges(benchmark::State& s) {
    std::array<CalibrationBlock, 2> blocks;
    for (std::size_t b = 0; b < blocks.size(); ++b)
        for (std::uint16_t p = 6; p <= CalibrationBlock::kWords; p += 6) {
            LiveFrame f;
            f.setWord(CalibrationBlock::kPositionWord, p);
            for (std::size_t k = 0; k < CalibrationBlock::kSliceWords; ++k)
                f.setWord(CalibrationBlock::kSliceFirstWord + k,
                          static_cast<std::uint16_t>(b == 0 ? 0x3C50 + p : 0x6496 + 2 * p));
            blocks[b].takeSlice(f);
        }
    CalibrationTables tables;
    std::size_t tick = 0;
    for (auto _ : s)
        tables.update(blocks[tick++ & 1]);
}
BENCHMARK(BM_CalibrationTablesEveryCellChanges);

// The same tick with the mapping chart shown: the table update and the whole chart described
// for a paint box of a typical size.
void BM_CollectTickMappingChart(benchmark::State& s) {
    CollectTick t;
    CalibrationTables tables;
    MappingChart chart;
    for (auto _ : s) {
        t.collect();
        tables.update(t.block);
        const ScopePicture& p = chart.draw(640, 360, t.block, t.frame, 11);
        benchmark::DoNotOptimize(p.steps.data());
    }
}
BENCHMARK(BM_CollectTickMappingChart);

}  // namespace
