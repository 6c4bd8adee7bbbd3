// Each injected fault as the program would meet it on the wire.
#include <gtest/gtest.h>

#include <thread>

#include "sim_fixture.h"

namespace kaldor::sim::test {
namespace {

const CommandFrame kIdentify = makeCommand(kCmdIdentify);
const CommandFrame kLive = makeCommand(kCmdRead, kReadLive);

FaultOptions every(unsigned FaultOptions::*fault, unsigned n) {
    FaultOptions faults;
    faults.*fault = n;
    return faults;
}

class Faults : public SimTest {
protected:
    void start(FaultOptions faults) {
        VirtualController::Options options;
        options.faults = faults;
        startController(options);
    }
};

TEST_F(Faults, DropEveryNthReply) {
    start(every(&FaultOptions::dropEvery, 2));
    EXPECT_EQ(client().exchange(kIdentify, 5).size(), 5u);
    client().send(kIdentify);
    EXPECT_TRUE(client().drain().empty()) << "second reply dropped";
    EXPECT_EQ(client().exchange(kIdentify, 5).size(), 5u);
}

TEST_F(Faults, CorruptEveryNthChecksum) {
    start(every(&FaultOptions::corruptEvery, 2));
    const Bytes good = client().exchange(kLive, kLiveReplyLength);
    const Bytes bad = client().exchange(kLive, kLiveReplyLength);
    ASSERT_EQ(good.size(), kLiveReplyLength);
    ASSERT_EQ(bad.size(), kLiveReplyLength);
    EXPECT_EQ(good[194], expectedChecksum(good));
    EXPECT_NE(bad[194], expectedChecksum(bad));
    EXPECT_EQ(bad[0], 0x56);
    EXPECT_EQ(bad[195], 0xF2) << "only the checksum is wrong";
}

// Identify and confirm carry no checksum: their trailer goes wrong instead.
TEST_F(Faults, CorruptIdentifyHasWrongTrailer) {
    start(every(&FaultOptions::corruptEvery, 1));
    const Bytes ident = client().exchange(kIdentify, 5);
    ASSERT_EQ(ident.size(), 5u);
    EXPECT_EQ(ident[0], 0x49);
    EXPECT_NE(ident[4], 0xF2);
}

TEST_F(Faults, StrayByteBeforeEveryNthReply) {
    start(every(&FaultOptions::strayEvery, 2));
    EXPECT_EQ(client().exchange(kIdentify, 5).size(), 5u);
    const Bytes shifted = client().exchange(kIdentify, 6);
    ASSERT_EQ(shifted.size(), 6u) << hex(shifted);
    EXPECT_EQ(shifted[1], 0x49) << hex(shifted);
}

TEST_F(Faults, WrongSubCodeOnEveryNthBlockReply) {
    start(every(&FaultOptions::wrongSubCodeEvery, 2));
    const CommandFrame page = makeCommand(kCmdRead, kReadPage, 0, 0);
    const CommandFrame errors = makeCommand(kCmdRead, kReadErrors, 0, 0);
    EXPECT_EQ(client().exchange(page, kBlockReplyLength)[1], kReadPage);
    ASSERT_EQ(client().exchange(kLive, kLiveReplyLength)[1], kReadLive) << "live is no block";
    const Bytes wrongPage = client().exchange(page, kBlockReplyLength);
    ASSERT_EQ(wrongPage.size(), kBlockReplyLength);
    EXPECT_EQ(wrongPage[1], kReadErrors);
    EXPECT_EQ(wrongPage[130], expectedChecksum(wrongPage)) << "otherwise a sound reply";
    EXPECT_EQ(client().exchange(errors, kBlockReplyLength)[1], kReadErrors);
    EXPECT_EQ(client().exchange(errors, kBlockReplyLength)[1], kReadPage);
}

// Only writes are counted: the identify between the two writes leaves the second one lost.
TEST_F(Faults, IgnoreEveryNthWriteKeepsReadsAnswering) {
    start(every(&FaultOptions::ignoreWriteEvery, 2));
    const std::uint16_t factory185 = controller().readWord(185);
    client().send(makeCommand(0xD1, 184, 0x05, 0xDC));  // word 184 = 1500
    EXPECT_EQ(client().exchange(kIdentify, 5).size(), 5u);
    client().send(makeCommand(0xD1, 185, 0x12, 0x34));  // word 185 = 0x1234, to be lost
    const Bytes page = unpackBlock(
        client().exchange(makeCommand(kCmdRead, kReadPage, 0x01, 0x70), kBlockReplyLength),
        kBlockHeader, kReadPage);
    ASSERT_EQ(page.size(), kBlockPayload) << "reads still answer";
    EXPECT_EQ(wordAt(page, 0), 1500) << "the first write is stored";
    EXPECT_EQ(wordAt(page, 1), factory185) << "the second write is not";
    EXPECT_NE(factory185, 0x1234);
    EXPECT_EQ(controller().frameCount(), 4u) << "the lost write still arrived";
}

TEST_F(Faults, DelayHoldsEveryReplyBack) {
    start(every(&FaultOptions::delayMs, 400));
    client().send(kIdentify);
    EXPECT_TRUE(client().read(5, std::chrono::milliseconds(150)).empty());
    EXPECT_EQ(client().read(5).size(), 5u);
}

TEST_F(Faults, SilentAfterNFramesStillListens) {
    FaultOptions faults;
    faults.silentAfter = 2;
    start(faults);
    EXPECT_EQ(client().exchange(kIdentify, 5).size(), 5u);
    EXPECT_EQ(client().exchange(kIdentify, 5).size(), 5u);
    client().send(kIdentify);
    EXPECT_TRUE(client().drain().empty());
    client().send(makeCommand(0xD1, 184, 0, 9));
    ASSERT_TRUE(controller().waitForFrames(4, kReplyTimeout));
    EXPECT_EQ(controller().readWord(184), 9) << "writes still take effect";
}

// After the Nth frame, or the Nth write frame, the pty closes; reads and other frames do not
// count towards the writes.
TEST_F(Faults, HangUpAfterNFramesOrNWritesClosesThePty) {
    const CommandFrame write = makeCommand(0xD1, 184, 0, 9);
    struct Case {
        const char* name;
        std::optional<std::size_t> FaultOptions::*option;
        std::size_t count;
        std::vector<CommandFrame> frames;  // the last one brings the hang-up
    };
    const Case cases[] = {
        {"frames", &FaultOptions::hangUpAfter, 1, {kIdentify}},
        {"writes", &FaultOptions::hangUpAfterWrites, 2, {kIdentify, write, kIdentify, write}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaultOptions faults;
        faults.*c.option = c.count;
        start(faults);
        for (const CommandFrame& frame : c.frames) {
            EXPECT_FALSE(controller().hungUp());
            if (frame == kIdentify)
                EXPECT_EQ(client().exchange(kIdentify, 5).size(), 5u) << "still answered";
            else
                client().send(frame);
        }
        for (int i = 0; i < 100 && !controller().hungUp(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(controller().hungUp());
        client().send(kIdentify);
        EXPECT_TRUE(client().drain().empty());
        EXPECT_EQ(controller().frameCount(), c.frames.size());
        m_client.reset();
        m_controller.reset();
    }
}

}  // namespace
}  // namespace kaldor::sim::test
