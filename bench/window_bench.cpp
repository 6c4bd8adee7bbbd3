// The window's side of the live loop: one collect tick of Timer1 with the readings display
// updated and repainted on a shown window, against a port that answers every live request at
// once; the same tick with the main map's operating point moving on the adjustment page, with
// every cell of the four calibration tables changing, and with the mapping chart shown.
// Also the start-up figure: from the start of main() to the first painted main window.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "link/serial_port.h"
#include "support/scripted_controller.h"
#include "ui/main_window.h"
#include "ui/pages/readings/readings_page.h"
#include "ui/pages/readings/scope_view.h"
#include "ui/window_logic.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kRecordWords = 96;
constexpr std::size_t kRecordBytes = 2 * kRecordWords;
constexpr std::array<std::uint8_t, 6> kLiveRequest{0xAA, 0x05, 0x00, 0x00, 0x59, 0xF2};

// A running engine as the controller reports it: word = base + (record * step) % span, so every
// record moves the gauges, the texts and now and then the LEDs and the status caption.
struct MovingWord {
    std::size_t word;
    std::uint16_t base;
    std::uint16_t step;
    std::uint16_t span;  // 1: constant
};

constexpr MovingWord kRunningEngine[] = {
    {0, 70, 1, 15},                // regulator temperature, degC
    {1, 28, 1, 10},                // propane temperature, degC
    {3, 40, 7, 180},               // stepper position
    {4, 250, 37, 900},             // throttle signal
    {5, 900, 23, 1800},            // air-flow input
    {6, 1900, 3, 120},             // supply voltage, about 13.4 .. 14.3 V
    {8, 300, 11, 200},             // power stage
    {9, 1200, 29, 1500},           // rail pressure signal
    {10, 800, 17, 900},            // emulator channel 2
    {18, 6, 6, 315},               // calibration block position + 6
    {21, 10800, 977, 30000},       // engine-speed period: about 800 .. 3200 rpm
    {24, 700, 13, 600},            // differential pressure, mbar
    {26, 1800, 5, 500},            // tank level sensor
    {27, 1950, 1, 40},             // ignition contact voltage
    {30, 1400, 19, 1600},          // air-flow meter
    {35, 0x0100, 0x0400, 0x0800},  // regulator and diesel valves open in turn
    {36, 0x0400, 0x0200, 0x0400},  // ignition on; tank valve in turn
    {39, 0x0000, 0x0080, 0x0180},  // fuel mode diesel, auto, propane in turn
    {49, 0, 1, 5},                 // tank level steps 0 .. 4
    {51, 10, 3, 40},               // current corrections, tenths of a percent
    {52, 5, 2, 30},
    {65, 0, 4, 32},     // emulator, cruise and cut-off flags
    {72, 200, 9, 400},  // digital throttle times
    {73, 210, 9, 400},
    {78, 1900, 31, 900},   // gas pressure, absolute mbar
    {79, 1000, 27, 1200},  // manifold pressure, absolute mbar
    {80, 350, 7, 600},     // exhaust gas temperature signal
    {86, 880, 1, 40},      // operations per second
    {88, 3600, 1, 60000},  // diesel time, low word
    {90, 1800, 1, 60000},  // propane time, low word
};

std::array<std::uint8_t, kRecordBytes> engineRecord(std::uint32_t number) {
    std::array<std::uint8_t, kRecordBytes> record{};
    for (const MovingWord& w : kRunningEngine) {
        const auto value = static_cast<std::uint16_t>(w.base + (number * w.step) % w.span);
        record[2 * w.word] = static_cast<std::uint8_t>(value & 0xFF);
        record[2 * w.word + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    return record;
}

// A controller that answers every live request with the next record at once; every other
// frame is taken and forgotten.
class LiveReplyPort final : public kaldor::SerialPort {
public:
    bool open(int) override { return true; }
    void close() override {}
    void setRts(bool) override {}
    bool write(const std::uint8_t* data, std::size_t count) override {
        if (count == kLiveRequest.size() && std::equal(data, data + count, kLiveRequest.begin())) {
            m_queue.erase(m_queue.begin(), m_queue.begin() + static_cast<std::ptrdiff_t>(m_read));
            m_read = 0;
            const std::array<std::uint8_t, kRecordBytes> record = engineRecord(m_records++);
            const kaldor::test::Bytes reply =
                kaldor::test::liveReply({record.begin(), record.end()});
            m_queue.insert(m_queue.end(), reply.begin(), reply.end());
        }
        return true;
    }
    void waitTransmitEmpty() override {}
    void drain() override {}
    std::size_t queuedCount() override { return m_queue.size() - m_read; }
    std::size_t readQueued(std::uint8_t* destination, std::size_t maximum) override {
        const std::size_t n = std::min(maximum, m_queue.size() - m_read);
        std::copy_n(m_queue.begin() + static_cast<std::ptrdiff_t>(m_read), n, destination);
        m_read += n;
        return n;
    }

private:
    std::vector<std::uint8_t> m_queue;
    std::size_t m_read = 0;
    std::uint32_t m_records = 0;
};

class NoPause final : public kaldor::PauseClock {
public:
    void pause(int) override {}
};

// Counts the paint events of one window's widgets.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(const QWidget* window) : m_window(window) {
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override {
        if (qApp != nullptr) {
            qApp->removeEventFilter(this);
        }
    }
    [[nodiscard]] long paints() const { return m_paints; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == m_window) {
            ++m_paints;
        }
        return false;
    }

private:
    const QWidget* m_window;
    long m_paints = 0;
};

// A main window with its logic on the answering port, as the program builds it.
struct BenchWindow {
    BenchWindow() : window(folders()) {
        logic = new kaldor::WindowLogic(window, std::make_unique<LiveReplyPort>(),
                                        std::make_unique<NoPause>());
    }
    // Beside the bench program, as beside the window program, the build puts the language
    // files the window loads at creation.
    static kaldor::Folders folders() {
        return {QDir::tempPath(), QCoreApplication::applicationDirPath(),
                QStringLiteral("window_bench")};
    }
    // Shows the window and runs the event loop until its first frame has been painted.
    void showAndPaint() {
        PaintWatch watch(&window);
        window.show();
        const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(10);
        while (watch.paints() == 0 && Clock::now() < giveUp) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }

    kaldor::MainWindow window;
    kaldor::WindowLogic* logic = nullptr;  // owned by the window
};

// The controller as the scan leaves it: connected, polling, revisions 2 and 11.
kaldor::ControllerSession& connected(BenchWindow& bench) {
    bench.window.timer()->stop();  // only the benchmark drives the ticks
    kaldor::ControllerSession& session = bench.logic->session();
    session.state.connected = true;
    session.state.linkReady = true;
    session.state.hardwareRevision = 2;
    session.state.softwareRevision = 11;
    return session;
}

// Request (not timed) and collect ticks, the paints they cause counted.
void timedTicks(
    benchmark::State& state, BenchWindow& bench, const std::function<void()>& beforeTick = [] {}) {
    QApplication::processEvents();
    PaintWatch watch(&bench.window);
    for (auto _ : state) {
        state.PauseTiming();
        beforeTick();
        bench.window.Timer1Timer();  // request
        state.ResumeTiming();
        bench.window.Timer1Timer();  // collect
        QApplication::processEvents();
    }
    state.counters["paints/tick"] =
        benchmark::Counter(static_cast<double>(watch.paints()), benchmark::Counter::kAvgIterations);
}

// The whole calibration block replaced, six words per record as the controller streams it, each
// byte different from the last time: every cell of the four tables gets a new text.
void renewBlock(kaldor::CalibrationBlock& block, std::uint32_t round) {
    kaldor::LiveFrame frame;
    for (std::size_t first = 0; first < kaldor::CalibrationBlock::kWords; first += 6) {
        frame.setWord(18, static_cast<std::uint16_t>(first + 6));
        for (std::size_t k = 0; k < 6; ++k) {
            const auto lo = static_cast<std::uint8_t>(1 + (2 * (first + k) + round) % 200);
            const auto hi = static_cast<std::uint8_t>(1 + (2 * (first + k) + 1 + 3 * round) % 200);
            frame.setWord(12 + k, static_cast<std::uint16_t>(lo | hi << 8));
        }
        block.takeSlice(frame);
    }
}

// Every collect-tick benchmark: microseconds, five repetitions, their median and spread.
void tickRuns(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
}

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// One collect tick as Timer1 runs it on a connected window showing the readings page: collect
// and validate the reply, decode it, update the side panel and the page, feed and draw the
// oscilloscope, and repaint them. traces: how many scope channels are switched on (RPM, TPS,
// MAF, EGT); with traces the history is filled across the whole paint box first.
void collectTicks(benchmark::State& state, int traces) {
    BenchWindow bench;
    bench.showAndPaint();
    connected(bench);
    constexpr std::array<int, 4> kTraces{1, 2, 3, 7};
    std::array<int, 4> items{};
    for (int i = 0; i < traces; ++i) {
        items[static_cast<std::size_t>(i)] = kTraces[static_cast<std::size_t>(i)];
    }
    bench.window.readingsPage().oscilloscope().selectItems(items);
    const int fill = traces > 0 ? bench.window.readingsPage().PaintBoxScope->width() + 1 : 0;
    for (int i = 0; i < fill; ++i) {
        bench.window.Timer1Timer();
        bench.window.Timer1Timer();
    }
    timedTicks(state, bench);
    state.counters["scope width"] = bench.window.readingsPage().PaintBoxScope->width();
}

void BM_CollectTick(benchmark::State& state) {
    collectTicks(state, 0);
}
BENCHMARK(BM_CollectTick)->Apply(tickRuns);

// The same with four scope traces and a full history.
void BM_CollectTickFourTraces(benchmark::State& state) {
    collectTicks(state, 4);
}
BENCHMARK(BM_CollectTickFourTraces)->Apply(tickRuns);

// The same collect tick with the adjustment page shown on an engine-speed map whose axes the
// running engine sweeps: nearly every record moves the main map's operating point, which
// repaints the cell it left and the cell it entered.
void BM_CollectTickMainMap(benchmark::State& state) {
    BenchWindow bench;
    bench.showAndPaint();
    kaldor::ControllerSession& session = connected(bench);
    constexpr std::uint16_t kPeriods[8] = {36000, 30000, 26000, 22000, 18000, 15000, 13000, 11500};
    session.image.setWord(364, 1);  // 2:VACUM/RPM
    for (std::size_t c = 0; c < 8; ++c) {
        session.image.setWord(245 + c, kPeriods[c]);
    }
    for (std::size_t r = 0; r < 16; ++r) {
        session.image.setWord(253 + r, static_cast<std::uint16_t>(1000 + 75 * r));
    }
    for (std::size_t i = 0; i < 128; ++i) {
        session.image.setByte(167 + i, static_cast<std::uint8_t>(i));
    }
    bench.logic->RefreshControls();
    bench.window.showPage(kaldor::MainWindow::kPageAdjustment);
    timedTicks(state, bench);
}
BENCHMARK(BM_CollectTickMainMap)->Apply(tickRuns);

// The collect tick on the readings page, with every cell of the four calibration tables (hidden,
// on the storage page) getting a new text: the table update's worst case.
void BM_CollectTickCalibrationTables(benchmark::State& state) {
    BenchWindow bench;
    bench.showAndPaint();
    kaldor::ControllerSession& session = connected(bench);
    std::uint32_t round = 0;
    timedTicks(state, bench, [&] { renewBlock(session.block, ++round); });
}
BENCHMARK(BM_CollectTickCalibrationTables)->Apply(tickRuns);

// The collect tick with the DNA page shown: the mapping chart with both series full (64 points
// each, the lines between them) and the engine's point, drawn off screen and copied.
void BM_CollectTickMappingChart(benchmark::State& state) {
    BenchWindow bench;
    bench.showAndPaint();
    bench.window.FormActivate();  // the chart's panel waits for the first activation
    kaldor::ControllerSession& session = connected(bench);
    renewBlock(session.block, 0);
    session.image.setByte(482, 8);  // "5V"
    bench.window.showPage(kaldor::MainWindow::kPageDna);
    timedTicks(state, bench);
}
BENCHMARK(BM_CollectTickMappingChart)->Apply(tickRuns);

// Painting one oscilloscope picture of four full traces into the paint box's bitmap.
void BM_ScopePaint(benchmark::State& state) {
    kaldor::ScopeBox box;
    box.resize(832, 246);
    kaldor::OSCYLOSKOP recorder;
    const std::array<int, 4> items{1, 2, 3, 7};  // rpm, throttle, air flow, exhaust gas
    for (int i = 0; i < 900; ++i) {
        const kaldor::OSCYLOSKOP::Values values{800.0 + (i * 37) % 3000, (i % 50) * 0.2,
                                                (i % 70) * 0.05, 300.0 + (i * 7) % 500};
        recorder.Feed(items, 1, values);
        (void)recorder.Draw(832, 246);
    }
    for (auto _ : state) {
        box.showPicture(recorder.picture());
    }
}
BENCHMARK(BM_ScopePaint)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly();

// Building the main window with its logic and dialogs, showing it, and its first paint; the
// application itself already runs, so this is the part that the window costs at start-up.
void BM_WindowToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        auto bench = std::make_unique<BenchWindow>();
        bench->showAndPaint();
        state.PauseTiming();
        bench.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point mainStart = Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const Clock::time_point applicationReady = Clock::now();
    {
        BenchWindow first;
        first.showAndPaint();
        const Clock::time_point painted = Clock::now();
        std::printf(
            "start-up: main() to the first painted window %.1f ms "
            "(application %.1f ms, window %.1f ms)\n",
            milliseconds(painted - mainStart), milliseconds(applicationReady - mainStart),
            milliseconds(painted - applicationReady));
    }
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
