#include <gtest/gtest.h>

#include "live/live_poller.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct PollerFixture : ::testing::Test, ScriptedLink {
    LiveFrame frame;
    CalibrationBlock block;
    std::vector<std::string> calls;
    LivePoller poller{commands, state, frame, block};
    ScriptedController controller;

    void SetUp() override {
        poller.setNotConnectedSink([this] { calls.push_back("not connected"); });
        poller.setPlaybackSource([this](LiveFrame& f) {
            calls.push_back("playback");
            f.setWord(0, 77);
            return true;
        });
        poller.setLogSink([this](const LiveFrame&) { calls.push_back("log"); });
        poller.addRecordSink([this] { calls.push_back("display"); });
        poller.addRecordSink([this] { calls.push_back("tables"); });
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        state.linkReady = true;
        controller.attachTo(port);
    }
};

TEST_F(PollerFixture, TicksAlternateRequestAndCollect) {
    for (int i = 0; i < 4; ++i)
        poller.TimerTick();
    EXPECT_EQ(log.writes(), (std::vector<std::string>{"AA 05 00 00 59 F2", "AA 05 00 00 59 F2"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"display", "tables", "display", "tables"}));
}

TEST_F(PollerFixture, CollectedRecordFillsTheFrameAndTheBlockSlice) {
    controller.setRecordWord(3, 180);
    controller.setRecordWord(18, 6);
    for (std::size_t w = 12; w < 18; ++w)
        controller.setRecordWord(w, static_cast<std::uint16_t>(1000 + w));
    poller.TimerTick();
    poller.TimerTick();
    EXPECT_EQ(frame.word(3), 180);
    for (std::size_t k = 0; k < 6; ++k)
        EXPECT_EQ(block.word(k), 1012 + k);
}

TEST(CalibrationBlock, SlicePositionRules) {
    struct Case {
        std::uint16_t position;
        int firstWritten;  // -1: nothing
    };
    for (const Case c : {Case{6, 0}, Case{5, -1}, Case{0, -1}, Case{320, 314}, Case{321, -1},
                         Case{65535, -1}, Case{100, 94}}) {
        CalibrationBlock block;
        LiveFrame f;
        f.setWord(18, c.position);
        for (std::size_t w = 12; w < 18; ++w)
            f.setWord(w, 0xBEEF);
        block.takeSlice(f);
        int first = -1, count = 0;
        for (std::size_t i = 0; i < CalibrationBlock::kWords; ++i)
            if (block.word(i) == 0xBEEF) {
                if (first < 0)
                    first = static_cast<int>(i);
                ++count;
            }
        EXPECT_EQ(first, c.firstWritten) << "position " << c.position;
        EXPECT_EQ(count, c.firstWritten < 0 ? 0 : 6) << "position " << c.position;
    }
}

TEST_F(PollerFixture, BadChecksumLeavesEveryWordAndTheLoggerLogsTheOldRecordAgain) {
    controller.setRecordWord(0, 25);
    poller.setLogging(true);
    poller.TimerTick();
    poller.TimerTick();
    ASSERT_EQ(frame.word(0), 25);
    const auto before = frame.bytes();
    controller.failLive = 1;
    controller.setRecordWord(0, 99);
    calls.clear();
    poller.TimerTick();
    poller.TimerTick();
    EXPECT_EQ(frame.bytes(), before);
    EXPECT_EQ(calls.front(), "log");
    poller.TimerTick();
    poller.TimerTick();
    EXPECT_EQ(frame.word(0), 99);  // one bad reply costs exactly one record
}

TEST_F(PollerFixture, NothingIsSentWhileTheLinkIsNotReady) {
    state.linkReady = false;
    poller.TimerTick();
    poller.TimerTick();
    EXPECT_TRUE(log.writes().empty());
    EXPECT_TRUE(calls.empty());
    state.connected = false;
    poller.TimerTick();
    EXPECT_EQ(calls, std::vector<std::string>{"not connected"});
}

TEST_F(PollerFixture, DemoPlaybackTakesRecordsWithoutAController) {
    state.connected = false;
    state.linkReady = false;
    poller.setDemoPlayback(true);
    poller.TimerTick();
    poller.TimerTick();
    EXPECT_EQ(calls, (std::vector<std::string>{"playback", "display", "tables"}));
    EXPECT_EQ(frame.word(0), 77);
}

}  // namespace
