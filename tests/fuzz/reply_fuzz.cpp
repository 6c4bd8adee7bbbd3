// Replies a controller, a wrong device or line noise can deliver: reply validation on exactly
// sized buffers (so a read past the end is caught by the address sanitizer), and the same bytes
// through the receive window of the link. Outcome: a reply is accepted exactly when every rule
// holds, and a rejected one changes nothing.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "link/commands.h"
#include "link/frame.h"
#include "support/fake_port.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

constexpr std::array<ReplyKind, 4> kKinds{ReplyKind::Ident, ReplyKind::Confirm, ReplyKind::Block,
                                          ReplyKind::Live};

std::vector<std::uint8_t> validReply(Fuzzer& f, ReplyKind kind, std::uint8_t subcode) {
    const ReplyLayout layout = replyLayout(kind);
    std::vector<std::uint8_t> reply(layout.length);
    for (auto& b : reply)
        b = f.byte();
    reply[0] = layout.header;
    if (kind == ReplyKind::Block)
        reply[1] = subcode;
    if (kind == ReplyKind::Live)
        reply[1] = kSubcodeLive;
    if (layout.payloadLength > 0)
        reply[layout.length - 2] = payloadChecksum(reply.data() + 2, layout.payloadLength);
    reply[layout.length - 1] = kFrameEnd;
    return reply;
}

// The rules, written out independently of the validator.
bool acceptable(ReplyKind kind, const std::vector<std::uint8_t>& r, bool window, std::uint8_t sub) {
    const ReplyLayout layout = replyLayout(kind);
    if (!window || r.size() < layout.length || r[0] != layout.header ||
        r[layout.length - 1] != kFrameEnd)
        return false;
    if (kind == ReplyKind::Block && r[1] != sub)
        return false;
    if (kind == ReplyKind::Live && r[1] != kSubcodeLive)
        return false;
    unsigned sum = FrameChecksumKey;
    for (std::size_t i = 0; i < layout.payloadLength; ++i)
        sum += r[2 + i];
    return layout.payloadLength == 0 || r[layout.length - 2] == (sum & 0xFF);
}

std::vector<std::uint8_t> candidate(Fuzzer& f, ReplyKind kind, std::uint8_t subcode) {
    const std::string valid = [&] {
        const auto r = validReply(f, kind, subcode);
        return std::string(r.begin(), r.end());
    }();
    switch (f.below(3)) {
        case 0:
            return asBytes(f.bytes(f.below(300)));
        case 1:
            return asBytes(valid);
        default:
            return asBytes(f.mutate(valid, "\x49\x43\x48\x56\x05\x01\x02\xF2\x00\xFF", 400));
    }
}

}  // namespace

TEST(ReplyFuzz, ValidationAcceptsExactlyTheRepliesThatKeepEveryRule) {
    Fuzzer f(1);
    std::size_t accepted = 0;
    const std::size_t n = rounds(40000);
    for (std::size_t i = 0; i < n; ++i) {
        const ReplyKind kind = kKinds[f.below(kKinds.size())];
        const std::uint8_t subcode = f.chance(50) ? kSubcodeParameters : kSubcodeErrors;
        const bool window = f.chance(90);
        const std::vector<std::uint8_t> reply = candidate(f, kind, subcode);
        // A heap copy of exactly the reply's size: one byte more read is a sanitizer report.
        const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[reply.size()]);
        std::copy(reply.begin(), reply.end(), exact.get());
        const ReplyStatus status = validateReply(kind, exact.get(), reply.size(), window, subcode);
        ASSERT_EQ(status == ReplyStatus::Ok, acceptable(kind, reply, window, subcode)) << i;
        accepted += status == ReplyStatus::Ok;
    }
    // Both outcomes were reached often.
    EXPECT_GT(accepted, n / 10);
    EXPECT_LT(accepted, n / 2);
}

TEST(ReplyFuzz, ReplyOfOneWrongPayloadByteFailsItsChecksum) {
    Fuzzer f(2);
    for (std::size_t i = 0; i < rounds(5000); ++i) {
        const ReplyKind kind = f.chance(50) ? ReplyKind::Block : ReplyKind::Live;
        std::vector<std::uint8_t> reply = validReply(f, kind, kSubcodeParameters);
        const std::size_t at = 2 + f.below(replyLayout(kind).payloadLength);
        reply[at] = static_cast<std::uint8_t>(reply[at] + 1 + f.below(255));
        EXPECT_EQ(validateReply(kind, reply.data(), reply.size(), true, kSubcodeParameters),
                  ReplyStatus::BadChecksum);
    }
}

// Whatever arrives (too little, too much, late, more than the reply buffer holds), a page read or
// a live collect either takes a valid reply's payload or leaves its destination as it was.
TEST(ReplyFuzz, LinkTakesOnlyValidRepliesWhateverArrives) {
    Fuzzer f(3);
    test::ScriptedLink s;
    ASSERT_TRUE(s.link.open(1));
    std::vector<std::uint8_t> sent;
    std::size_t takenCount = 0;
    s.port.responder = [&](int, const test::Bytes&) { return sent; };
    for (std::size_t i = 0; i < rounds(5000); ++i) {
        const bool live = f.chance(50);
        const ReplyKind kind = live ? ReplyKind::Live : ReplyKind::Block;
        sent = candidate(f, kind, kSubcodeParameters);
        if (f.chance(10))
            sent.resize(sent.size() + f.below(3000), 0x48);
        s.port.replyDelayMs = f.chance(80) ? 0 : static_cast<long>(f.below(60));
        std::array<std::uint8_t, CommandSet::kLiveSize> destination;
        destination.fill(0xA5);
        const auto before = destination;
        bool taken = false;
        if (live) {
            s.commands.requestLive();
            taken = s.commands.collectLive(destination.data());
        } else {
            taken = s.commands.readPage(0x0100, destination.data());
        }
        takenCount += taken;
        if (!taken) {
            ASSERT_EQ(destination, before) << i;
        } else {
            const std::size_t payload = live ? CommandSet::kLiveSize : CommandSet::kBlockSize;
            ASSERT_TRUE(acceptable(kind, sent, true, kSubcodeParameters)) << i;
            for (std::size_t j = 0; j < payload; ++j)
                ASSERT_EQ(destination[j], sent[2 + payload - 1 - j]) << i;
        }
        // Whatever the window left behind does not reach the next exchange.
        s.log.nowMs += 1000;
        std::array<std::uint8_t, 4096> rest;
        while (s.port.queuedCount() > 0)
            (void)s.port.readQueued(rest.data(), rest.size());
    }
    EXPECT_GT(takenCount, rounds(5000) / 10);
}
