#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "live/log_view.h"
#include "live/recording.h"
#include "live/trace_pyramid.h"
#include "support/temp_folder.h"

using namespace kaldor;

namespace {

// A drive of random walks with stretches where nothing moves, read from a "demo.log".
std::shared_ptr<const Recording> drive(std::size_t records, unsigned seed) {
    std::mt19937 random(seed);
    test::TempFolder folder("log-view");
    const std::string path = (folder.path() / "demo.log").string();
    {
        std::ofstream out(path, std::ios::binary);
        std::array<int, LiveFrame::kWords> w{};
        for (std::size_t r = 0; r < records; ++r) {
            const bool still = (r / 5000) % 3 == 2;
            for (std::size_t i = 0; i < w.size(); ++i) {
                if (!still)
                    w[i] = std::clamp(w[i] + static_cast<int>(random() % 801) - 400, 0, 65535);
                out << w[i] << ',';
            }
            out << '\n';
        }
    }
    return readRecording(path).recording;
}

constexpr LiveSignal kChecked[] = {
    LiveSignal::EngineSpeed,        LiveSignal::Throttle,
    LiveSignal::PressureDifference, LiveSignal::FuelMode,
    LiveSignal::DieselWorkTime,     LiveSignal::ReducerTemperature,
    LiveSignal::RailPressure,       LiveSignal::EmulatorCorrection2,
};

TEST(TracePyramid, ColumnsHoldTheExtremesOfADirectWalk) {
    const auto recording = drive(20000, 11);
    ASSERT_TRUE(recording);
    std::mt19937 random(5);
    LiveContext context;
    context.rpmSignalType = 3;
    context.dnaEmulatorOn = true;
    context.hardwareRevision = 2;
    context.softwareRevision = 6;
    std::vector<ValueRange> columns;
    for (const LiveSignal id : kChecked) {
        const TracePyramid pyramid(*recording, id, context);
        for (int trial = 0; trial < 25; ++trial) {
            const std::size_t first = random() % (recording->size() - 1);
            const std::size_t last = first + 1 + random() % (recording->size() - first - 1);
            const std::size_t count = 1 + random() % std::min<std::size_t>(last - first, 1400);
            pyramid.columns(first, last, count, columns);
            ASSERT_EQ(columns.size(), count);
            double sum = 0;
            for (std::size_t c = 0; c < count; ++c) {
                const std::size_t from = first + c * (last - first) / count;
                const std::size_t to = first + (c + 1) * (last - first) / count;
                double lo = liveValue(recording->frame(from), id, context);
                double hi = lo;
                for (std::size_t r = from; r < to; ++r) {
                    const double v = liveValue(recording->frame(r), id, context);
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                    sum += v;
                }
                ASSERT_EQ(columns[c].minimum, lo) << liveSignalDef(id).name << " column " << c;
                ASSERT_EQ(columns[c].maximum, hi) << liveSignalDef(id).name << " column " << c;
            }
            EXPECT_NEAR(pyramid.sum(first, last), sum, 1e-9 * std::abs(sum) + 1e-9);
        }
    }
}

TEST(LogView, TheReadoutReadsAsTheLivePagesAndTheKeysMoveTheCursor) {
    const auto recording = drive(12000, 3);
    ASSERT_TRUE(recording);
    RecordingSetup setup = defaultSetup();
    setup.context.rpmSignalType = 7;
    setup.context.regulatorVacuumConnected = true;
    LogView view(recording, setup);
    EXPECT_EQ(view.available().size(), kLiveSignalCount);
    EXPECT_EQ(view.lanes().size(), 5u);  // rpm, throttle, the three pressures, temperature, mode
    for (std::size_t r : {std::size_t{0}, std::size_t{4711}, std::size_t{11999}})
        for (const LiveSignal id : view.available())
            ASSERT_EQ(view.text(id, r), liveText(recording->frame(r), id, setup.context))
                << liveSignalDef(id).name;

    view.setWidth(1400);
    EXPECT_FALSE(view.finestZoom());
    view.end();
    EXPECT_EQ(view.cursor(), 11999u);
    EXPECT_EQ(view.visibleLast(), 12000u);
    view.home();
    EXPECT_EQ(view.cursor(), 0u);
    view.stepRight();  // pans: the cursor stays
    EXPECT_EQ(view.cursor(), 0u);
    for (int i = 0; i < 20; ++i)
        view.zoomIn();
    EXPECT_TRUE(view.finestZoom());
    view.setCursor(5000);
    view.stepRight();
    view.stepRight();
    view.stepLeft();
    EXPECT_EQ(view.cursor(), 5001u);
    EXPECT_LE(view.visibleFirst(), 5001u);
    EXPECT_GT(view.visibleLast(), 5001u);
    view.fit();
    EXPECT_EQ(view.visibleFirst(), 0u);
    EXPECT_EQ(view.visibleLast(), 12000u);
    EXPECT_EQ(view.columns(LiveSignal::EngineSpeed).size(), 1400u);
    const ChannelStatistics s = view.statistics(LiveSignal::FuelMode);
    EXPECT_GE(s.minimum, 0);
    EXPECT_LE(s.maximum, 3);
    EXPECT_GE(s.mean, s.minimum);
    EXPECT_LE(s.mean, s.maximum);
}

}  // namespace
