#include <gtest/gtest.h>

#include "link/serial_link.h"
#include "support/fake_port.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct LinkFixture : ::testing::Test, ScriptedLink {
    int pauses() const {
        int n = 0;
        for (const auto& e : log.events)
            n += e == "pause 2";
        return n;
    }
};

TEST_F(LinkFixture, ReplyQueuedBeforeTheWindowIsAcceptedAtTheSecondPoll) {
    ASSERT_TRUE(link.open(1));
    port.deliver(counting(196), 0);
    EXPECT_TRUE(link.receiveWindow(196));
    EXPECT_EQ(pauses(), 2);
    EXPECT_EQ(link.replyBuffer()[0], 0);
    EXPECT_EQ(link.replyBuffer()[195], 195);
}

TEST_F(LinkFixture, ReplyCompleteOnlyInThe21stPollIsStoredButFails) {
    ASSERT_TRUE(link.open(1));
    port.deliver(counting(100), 10);
    port.deliver(counting(96, 100), 41);  // read in poll 21 (t = 42 ms), counted too late
    EXPECT_FALSE(link.receiveWindow(196));
    EXPECT_EQ(pauses(), 21);
    EXPECT_EQ(link.replyBuffer()[195], 195);  // stored anyway
}

TEST_F(LinkFixture, ReplyCompleteByPoll20Succeeds) {
    ASSERT_TRUE(link.open(1));
    port.deliver(counting(196), 40);  // read in poll 20, counted in poll 21
    EXPECT_TRUE(link.receiveWindow(196));
    EXPECT_EQ(pauses(), 21);
}

TEST_F(LinkFixture, SilenceFailsAfter21PollsAndLeavesTheBufferAlone) {
    ASSERT_TRUE(link.open(1));
    port.deliver(counting(10, 0x40), 0);
    ASSERT_TRUE(link.receiveWindow(5));
    const auto before = link.replyBuffer();
    log.events.clear();
    EXPECT_FALSE(link.receiveWindow(5));
    EXPECT_EQ(pauses(), 21);
    EXPECT_EQ(link.replyBuffer(), before);
    EXPECT_FALSE(link.windowSucceeded());
}

TEST_F(LinkFixture, ExtraBytesAreKeptAndOverflowBeyond1024IsDropped) {
    ASSERT_TRUE(link.open(1));
    port.deliver(Bytes(1000, 0x11), 0);
    port.deliver(Bytes(1000, 0x22), 2);
    EXPECT_TRUE(link.receiveWindow(132));
    EXPECT_EQ(link.replyBuffer()[999], 0x11);
    EXPECT_EQ(link.replyBuffer()[1000], 0x22);
    EXPECT_EQ(link.replyBuffer()[1023], 0x22);
}

TEST_F(LinkFixture, SendRaisesRtsOnlyForTheTransmission) {
    ASSERT_TRUE(link.open(1));
    const std::uint8_t frame[6] = {1, 0, 0, 0, 0xAB, 0xF2};
    EXPECT_TRUE(link.send(frame, 6));
    EXPECT_FALSE(port.rts);
    const std::vector<std::string> expected{"open 1", "rts 1", "write 01 00 00 00 AB F2", "txempty",
                                            "rts 0"};
    EXPECT_EQ(log.events, expected);
}

TEST_F(LinkFixture, FailedWriteReturnsAtOnce) {
    ASSERT_TRUE(link.open(1));
    port.failWrites = true;
    const std::uint8_t frame[6] = {1, 0, 0, 0, 0xAB, 0xF2};
    EXPECT_FALSE(link.send(frame, 6));
    EXPECT_EQ(log.events.back(), "write 01 00 00 00 AB F2");
}

TEST_F(LinkFixture, CloseClearsConnectedAndDoesNothingWhenClosed) {
    link.close();
    EXPECT_TRUE(log.events.empty());
    ASSERT_TRUE(link.open(3));
    state.connected = true;
    link.close();
    EXPECT_FALSE(state.connected);
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(log.events.back(), "close");
    port.existing.erase(4);
    EXPECT_FALSE(link.open(4));
    EXPECT_FALSE(link.portOpen());
}

}  // namespace
