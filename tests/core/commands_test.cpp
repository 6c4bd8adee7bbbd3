#include <gtest/gtest.h>

#include "fake_port.h"
#include "link/commands.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct CommandFixture : ::testing::Test, ScriptedLink {
    void SetUp() override {
        ASSERT_TRUE(link.open(1));
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
         [](CommandSet& c) { c.commit(0); },
         {"drain", "write 45 00 00 00 EF F2", "pause 35"}},
        {"write byte",
         [](CommandSet& c) { c.writeByte(0x2C1, 0x05); },
         {"pause 2", "drain", "write C3 C1 00 05 33 F2", "pause 4"}},
        {"write word",
         [](CommandSet& c) { c.writeWord(0x17F, 0x1234); },
         {"pause 2", "drain", "write D2 7F 12 34 41 F2", "pause 4"}},
        {"write word 184",
         [](CommandSet& c) { c.writeWord(184, 1500); },
         {"pause 2", "drain", "write D1 B8 05 DC 14 F2", "pause 4"}},
        {"write word 0",
         [](CommandSet& c) { c.writeWord(0, 0xAAAA); },
         {"pause 2", "drain", "write D1 00 AA AA CF F2", "pause 4"}},
        {"converter address",
         [](CommandSet& c) { c.converterAddress(0x1FF); },
         {"write EA 00 01 FF 94 F2", "pause 10"}},
        {"converter data low",
         [](CommandSet& c) { c.converterData(255, 0x0102); },
         {"write E1 FF 01 02 8D F2", "pause 20"}},
        {"converter data high",
         [](CommandSet& c) { c.converterData(256, 0x0102); },
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

TEST(FrameChecksum, WrapsAroundAndEveryFrameEndsWithF2) {
    EXPECT_EQ(frameChecksum(0xFF, 0xFF, 0xFF, 0xFF), static_cast<std::uint8_t>(0xFF * 4 + 0xAA));
    for (unsigned cmd = 0; cmd < 256; cmd += 17) {
        const CommandFrame f = buildFrame(static_cast<std::uint8_t>(cmd), 0x80, 0x90, 0xA0);
        EXPECT_EQ(f[4], static_cast<std::uint8_t>(cmd + 0x80 + 0x90 + 0xA0 + 0xAA));
        EXPECT_EQ(f[5], 0xF2);
    }
    EXPECT_EQ(writeWordFrame(0, 0x1234)[0], 0xD1);
    EXPECT_EQ(writeByteFrame(0xFF, 1)[0], 0xC1);
    EXPECT_EQ(writeByteFrame(0x100, 1)[0], 0xC2);
}

TEST_F(CommandFixture, PageReadReversesThePayload) {
    Bytes block(128);
    for (int i = 0; i < 128; ++i)
        block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    port.responder = [&](int, const Bytes&) { return blockReply(0x01, block); };
    std::array<std::uint8_t, 128> dest{};
    ASSERT_TRUE(commands.readPage(0x02C0, dest.data()));
    EXPECT_EQ(sequence().front(), "pause 100");
    EXPECT_EQ(sequence()[2], "write AA 01 02 C0 17 F2");
    EXPECT_EQ(sequence()[3], "pause 150");
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(dest[static_cast<std::size_t>(i)], i);
}

TEST_F(CommandFixture, WireOrder00To7FIsStored7FTo00) {
    Bytes wire{0x48, 0x01};
    unsigned sum = 0xAA;
    for (int k = 0; k < 128; ++k) {
        wire.push_back(static_cast<std::uint8_t>(k));
        sum += static_cast<unsigned>(k);
    }
    wire.push_back(static_cast<std::uint8_t>(sum));
    wire.push_back(0xF2);
    port.responder = [&](int, const Bytes&) { return wire; };
    std::array<std::uint8_t, 128> dest{};
    ASSERT_TRUE(commands.readPage(0, dest.data()));
    EXPECT_EQ(dest[0], 0x7F);
    EXPECT_EQ(dest[127], 0x00);
}

TEST_F(CommandFixture, RejectedBlockRepliesLeaveTheDestinationUntouched) {
    const Bytes block(128, 0x33);
    struct Damage {
        const char* name;
        std::function<void(Bytes&)> apply;
    };
    const std::vector<Damage> damages{
        {"wrong header", [](Bytes& r) { r[0] = 0x49; }},
        {"wrong sub-code", [](Bytes& r) { r[1] = 0x02; }},
        {"wrong trailer", [](Bytes& r) { r[131] = 0xF3; }},
        {"wrong checksum", [](Bytes& r) { r[130] ^= 1; }},
        {"truncated", [](Bytes& r) { r.resize(100); }},
        {"stray byte first", [](Bytes& r) { r.insert(r.begin(), 0x00); }},
        {"silence", [](Bytes& r) { r.clear(); }},
    };
    for (const auto& d : damages) {
        port.responder = [&](int, const Bytes&) {
            Bytes r = blockReply(0x01, block);
            d.apply(r);
            return r;
        };
        std::array<std::uint8_t, 128> dest;
        dest.fill(0x5A);
        EXPECT_FALSE(commands.readPage(0, dest.data())) << d.name;
        EXPECT_EQ(dest, (std::array<std::uint8_t, 128>{[] {
                      std::array<std::uint8_t, 128> a;
                      a.fill(0x5A);
                      return a;
                  }()}))
            << d.name;
        // drain whatever the damaged reply left queued
        std::uint8_t sink[1024];
        while (link.readQueued(sink, sizeof sink) > 0) {
        }
    }
}

TEST_F(CommandFixture, ErrorHalvesUseSubcode2AndRejectParameterReplies) {
    Bytes seen;
    port.responder = [&](int, const Bytes& f) {
        seen = f;
        return blockReply(0x01, Bytes(128, 1));
    };
    std::array<std::uint8_t, 128> dest{};
    EXPECT_FALSE(commands.readErrors(1, dest.data()));
    EXPECT_EQ(hex(seen), "AA 02 80 80 56 F2");
    port.responder = [&](int, const Bytes& f) {
        seen = f;
        return blockReply(0x02, Bytes(128, 7));
    };
    EXPECT_TRUE(commands.readErrors(0, dest.data()));
    EXPECT_EQ(hex(seen), "AA 02 00 00 56 F2");
    EXPECT_EQ(dest[5], 7);
    // and a parameter page read refuses an error-memory reply
    EXPECT_FALSE(commands.readPage(0, dest.data()));
}

TEST(ReplyValidation, AppliesEveryRule) {
    std::array<std::uint8_t, 1024> buf{};
    buf[0] = 0x49;
    buf[4] = 0xF2;
    EXPECT_EQ(validateReply(ReplyKind::Ident, buf.data(), buf.size(), true), ReplyStatus::Ok);
    EXPECT_EQ(validateReply(ReplyKind::Ident, buf.data(), buf.size(), false),
              ReplyStatus::WindowFailed);
    buf[4] = 0;
    EXPECT_EQ(validateReply(ReplyKind::Ident, buf.data(), buf.size(), true),
              ReplyStatus::BadTrailer);
    buf[0] = 0x43;
    buf[3] = 0xF2;
    EXPECT_EQ(validateReply(ReplyKind::Confirm, buf.data(), buf.size(), true), ReplyStatus::Ok);
    EXPECT_EQ(validateReply(ReplyKind::Ident, buf.data(), buf.size(), true),
              ReplyStatus::BadHeader);
    EXPECT_EQ(validateReply(ReplyKind::Live, buf.data(), 100, true), ReplyStatus::TooShort);
}

TEST_F(CommandFixture, LiveReplyWithBadChecksumLeavesTheFrame) {
    Bytes frame(192);
    for (std::size_t i = 0; i < 192; ++i)
        frame[i] = static_cast<std::uint8_t>(i * 3);
    port.responder = [&](int, const Bytes&) { return liveReply(frame); };
    std::array<std::uint8_t, 192> live{};
    commands.requestLive();
    ASSERT_TRUE(commands.collectLive(live.data()));
    EXPECT_EQ(live[1], 3);
    EXPECT_EQ(live[191], static_cast<std::uint8_t>(191 * 3));

    port.responder = [&](int, const Bytes&) {
        Bytes r = liveReply(Bytes(192, 0));
        r[194] ^= 0xFF;
        return r;
    };
    const auto before = live;
    commands.requestLive();
    EXPECT_FALSE(commands.collectLive(live.data()));
    EXPECT_EQ(live, before);

    port.responder = [&](int, const Bytes&) {
        Bytes r = liveReply(Bytes(192, 0));
        r[1] = 0x04;
        return r;
    };
    commands.requestLive();
    EXPECT_FALSE(commands.collectLive(live.data()));
}

}  // namespace
