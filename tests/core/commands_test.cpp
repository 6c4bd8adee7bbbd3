#include <gtest/gtest.h>

#include <algorithm>

#include "link/commands.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct CommandFixture : ::testing::Test, ScriptedLink {
    ScriptedController controller;

    void SetUp() override {
        ASSERT_TRUE(link.open(1));
        controller.attachTo(port);
        log.events.clear();
    }
    // The exchange as pause/drain/write, RTS and transmitter events left out.
    std::vector<std::string> sequence() const {
        std::vector<std::string> out;
        for (const auto& e : log.events)
            if (e.rfind("pause", 0) == 0 || e == "drain" || e.rfind("write", 0) == 0)
                out.push_back(e);
        return out;
    }
};

struct CommandCase {
    const char* name;
    std::function<void(CommandSet&)> run;
    std::vector<std::string> expected;
};

TEST_F(CommandFixture, EveryCommandHasItsBytesPausesAndDrain) {
    const std::vector<CommandCase> cases{
        {"identify", [](CommandSet& c) { c.identify(); }, {"drain", "write 01 00 00 00 AB F2"}},
        {"confirm", [](CommandSet& c) { c.confirm(); }, {"drain", "write 02 00 00 00 AC F2"}},
        {"live", [](CommandSet& c) { c.requestLive(); }, {"drain", "write AA 05 00 00 59 F2"}},
        {"commit",
         [](CommandSet& c) { (void)c.commit(0); },
         {"drain", "write 45 00 00 00 EF F2", "pause 35"}},
        {"write byte",
         [](CommandSet& c) { (void)c.writeByte(0x2C1, 0x05); },
         {"pause 2", "drain", "write C3 C1 00 05 33 F2", "pause 4"}},
        {"write word",
         [](CommandSet& c) { (void)c.writeWord(0x17F, 0x1234); },
         {"pause 2", "drain", "write D2 7F 12 34 41 F2", "pause 4"}},
        {"write word 184",
         [](CommandSet& c) { (void)c.writeWord(184, 1500); },
         {"pause 2", "drain", "write D1 B8 05 DC 14 F2", "pause 4"}},
        {"write word 0",
         [](CommandSet& c) { (void)c.writeWord(0, 0xAAAA); },
         {"pause 2", "drain", "write D1 00 AA AA CF F2", "pause 4"}},
        {"converter address",
         [](CommandSet& c) { (void)c.converterAddress(0x1FF); },
         {"write EA 00 01 FF 94 F2", "pause 10"}},
        {"converter data low",
         [](CommandSet& c) { (void)c.converterData(255, 0x0102); },
         {"write E1 FF 01 02 8D F2", "pause 20"}},
        {"converter data high",
         [](CommandSet& c) { (void)c.converterData(256, 0x0102); },
         {"write E2 00 01 02 8F F2", "pause 20"}},
        {"erase diesel",
         [](CommandSet& c) { c.simple(Command::CmdEraseDiesel); },
         {"pause 2", "drain", "write 5B 00 00 00 05 F2", "pause 4"}},
        {"erase diesel-gas",
         [](CommandSet& c) { c.simple(Command::CmdEraseDieselGas); },
         {"pause 2", "drain", "write 5C 00 00 00 06 F2", "pause 4"}},
        {"delete diesel",
         [](CommandSet& c) { c.simple(Command::CmdDeleteDiesel); },
         {"pause 5", "drain", "write 5D 00 00 00 07 F2", "pause 5"}},
        {"delete gas",
         [](CommandSet& c) { c.simple(Command::CmdDeleteGas); },
         {"pause 5", "drain", "write 5E 00 00 00 08 F2", "pause 5"}},
        {"propane",
         [](CommandSet& c) { c.simple(Command::CmdModePropane); },
         {"drain", "write 51 00 00 00 FB F2", "pause 4"}},
        {"auto",
         [](CommandSet& c) { c.simple(Command::CmdModeAuto); },
         {"drain", "write 52 00 00 00 FC F2", "pause 4"}},
        {"diesel",
         [](CommandSet& c) { c.simple(Command::CmdModeDiesel); },
         {"drain", "write 53 00 00 00 FD F2", "pause 4"}},
        {"erase errors",
         [](CommandSet& c) { c.simple(Command::CmdEraseErrors); },
         {"drain", "write 61 00 00 00 0B F2", "pause 4"}},
    };
    for (const auto& c : cases) {
        log.events.clear();
        c.run(commands);
        EXPECT_EQ(sequence(), c.expected) << c.name;
    }
}

TEST_F(CommandFixture, PageReadAsksForItsAddressAndStoresThePage) {
    for (std::size_t i = 0; i < 128; ++i)
        controller.memory[0x2C0 + i] = static_cast<std::uint8_t>(i);
    std::array<std::uint8_t, 128> dest{};
    ASSERT_TRUE(commands.readPage(0x02C0, dest.data()));
    // the receive window finds the reply at its second poll
    const std::vector<std::string> expected{"pause 100", "drain",   "write AA 01 02 C0 17 F2",
                                            "pause 150", "pause 2", "pause 2"};
    EXPECT_EQ(sequence(), expected);
    EXPECT_EQ(link.replyBuffer()[2], 0x7F);  // the payload travels highest offset first
    EXPECT_TRUE(std::equal(dest.begin(), dest.end(), controller.memory.begin() + 0x2C0));
}

TEST_F(CommandFixture, RejectedBlockRepliesLeaveTheDestinationUntouched) {
    // Which rule refuses a reply is the frame tests' business; here the reply comes through the
    // link spoilt, shifted by a stray byte, cut short or not at all.
    const std::vector<std::function<void(Bytes&)>> damages{
        [](Bytes& r) { r[130] ^= 1; }, [](Bytes& r) { r.insert(r.begin(), 0x00); },
        [](Bytes& r) { r.resize(100); }, [](Bytes& r) { r.clear(); }};
    std::array<std::uint8_t, 128> untouched;
    untouched.fill(0x5A);
    for (std::size_t i = 0; i < damages.size(); ++i) {
        port.responder = [&](int, const Bytes& f) {
            Bytes r = controller.answer(f);
            damages[i](r);
            return r;
        };
        auto dest = untouched;
        EXPECT_FALSE(commands.readPage(0, dest.data())) << "damage " << i;
        EXPECT_EQ(dest, untouched) << "damage " << i;
        std::uint8_t sink[1024];  // what the damaged reply left queued
        while (link.readQueued(sink, sizeof sink) > 0) {
        }
    }
}

// Each read accepts only its own sub-code, so a page read that succeeds (above) refuses an
// error-memory reply and the reverse.
TEST_F(CommandFixture, ErrorMemoryIsReadInTwoHalvesWithSubcode2) {
    for (std::size_t i = 0; i < 256; ++i)
        controller.errors[i] = static_cast<std::uint8_t>(255 - i);
    std::array<std::uint8_t, 128> low{};
    std::array<std::uint8_t, 128> high{};
    ASSERT_TRUE(commands.readErrors(0, low.data()));
    ASSERT_TRUE(commands.readErrors(1, high.data()));
    ASSERT_EQ(controller.received.size(), 2u);
    EXPECT_EQ(hex(controller.received[0]), "AA 02 00 00 56 F2");
    EXPECT_EQ(hex(controller.received[1]), "AA 02 80 80 56 F2");
    EXPECT_TRUE(std::equal(low.begin(), low.end(), controller.errors.begin()));
    EXPECT_TRUE(std::equal(high.begin(), high.end(), controller.errors.begin() + 128));
}

// A refused live reply is the poller's test.
TEST_F(CommandFixture, LiveRecordArrivesInOffsetOrder) {
    for (std::size_t i = 0; i < 192; ++i)
        controller.record[i] = static_cast<std::uint8_t>(i * 3);
    std::array<std::uint8_t, 192> live{};
    commands.requestLive();
    ASSERT_TRUE(commands.collectLive(live.data()));
    EXPECT_EQ(Bytes(live.begin(), live.end()), controller.record);
}

}  // namespace
