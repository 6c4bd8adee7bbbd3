// The frame codec: command frames, and the rules that accept or refuse each kind of reply.
#include <gtest/gtest.h>

#include <iterator>
#include <ostream>
#include <string>

#include "link/commands.h"
#include "link/frame.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

TEST(FrameChecksum, WrapsAroundAndEveryFrameEndsWithF2) {
    EXPECT_EQ(frameChecksum(0xFF, 0xFF, 0xFF, 0xFF), static_cast<std::uint8_t>(0xFF * 4 + 0xAA));
    for (unsigned cmd = 0; cmd < 256; cmd += 17) {
        const CommandFrame f = buildFrame(static_cast<std::uint8_t>(cmd), 0x80, 0x90, 0xA0);
        EXPECT_EQ(f[4], static_cast<std::uint8_t>(cmd + 0x80 + 0x90 + 0xA0 + 0xAA));
        EXPECT_EQ(f[5], 0xF2);
    }
    EXPECT_EQ(writeByteFrame(0xFF, 1)[0], 0xC1);
    EXPECT_EQ(writeByteFrame(0x100, 1)[0], 0xC2);
}

// Every rule a reply can break, in the order of ReplyStatus, and how a test input breaks it.
struct Rule {
    const char* name;
    bool checksummedOnly;  // identify and confirm replies carry neither sub-code nor checksum
    void (*apply)(Bytes&);
};
constexpr Rule kRules[] = {
    {"Ok", false, [](Bytes&) {}},
    {"WindowFailed", false, [](Bytes&) {}},
    {"BadHeader", false, [](Bytes& r) { r[0] ^= 0x01; }},  // identify and block swap headers
    {"BadSubcode", true, [](Bytes& r) { r[1] ^= 0x03; }},  // 1 and 2 swap, the live 5 is 6
    {"BadTrailer", false, [](Bytes& r) { r.back() ^= 0x01; }},
    {"BadChecksum", true, [](Bytes& r) { r[r.size() - 2] ^= 0x01; }},
    {"TooShort", false, [](Bytes& r) { r.pop_back(); }},
};
static_assert(std::size(kRules) == static_cast<std::size_t>(ReplyStatus::TooShort) + 1);

const Rule& rule(ReplyStatus status) {
    return kRules[static_cast<std::size_t>(status)];
}

// A well-formed reply of one kind, as the reader of that kind checks it.
struct ReplySample {
    const char* name;
    ReplyKind kind;
    std::uint8_t subcode;  // what a block reader expects in byte 1; the others ignore it
    Bytes reply;
};

struct ReplyCase {
    ReplySample sample;
    ReplyStatus broken;  // the one rule the input breaks (Ok: none)
    std::string name() const { return std::string(sample.name) + "_" + rule(broken).name; }
    friend void PrintTo(const ReplyCase& c, std::ostream* out) { *out << c.name(); }
};

std::vector<ReplyCase> replyCases() {
    const ReplySample samples[] = {
        {"Ident", ReplyKind::Ident, 0, {0x49, 2, 11, 0x00, 0xF2}},
        {"Confirm", ReplyKind::Confirm, 0, {0x43, 0, 0x00, 0xF2}},
        {"Block1", ReplyKind::Block, 0x01, blockReply(0x01, counting(128))},
        {"Block2", ReplyKind::Block, 0x02, blockReply(0x02, counting(128))},
        {"Live", ReplyKind::Live, 0, liveReply(counting(192))},
    };
    std::vector<ReplyCase> cases;
    for (const ReplySample& s : samples) {
        for (std::size_t i = 0; i < std::size(kRules); ++i) {
            if (!kRules[i].checksummedOnly || s.kind == ReplyKind::Block ||
                s.kind == ReplyKind::Live)
                cases.push_back({s, static_cast<ReplyStatus>(i)});
        }
    }
    return cases;
}

class ReplyValidation : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyValidation, NamesTheRuleTheReplyBreaks) {
    const ReplyCase& c = GetParam();
    Bytes input = c.sample.reply;
    rule(c.broken).apply(input);
    if (c.broken != ReplyStatus::TooShort)
        input.push_back(0x00);  // a stale byte, as the link's reply buffer holds past a reply
    const bool windowOk = c.broken != ReplyStatus::WindowFailed;
    const ReplyStatus actual =
        validateReply(c.sample.kind, input.data(), input.size(), windowOk, c.sample.subcode);
    EXPECT_STREQ(rule(actual).name, rule(c.broken).name) << "input " << hex(input);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ReplyValidation, ::testing::ValuesIn(replyCases()),
                         [](const auto& info) { return info.param.name(); });

}  // namespace
