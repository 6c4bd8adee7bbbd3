// The virtual controller's side of the wire: byte streams of valid frames, noise and damaged
// frames into the frame receiver, every frame it passes into the controller, and the ecu-sim
// command line. Outcome: only frames whose checksum and trailer agree get through and no byte is
// lost or counted twice; every command, known or not, gets its reply or none; a bad option is
// refused with a message.
#include <gtest/gtest.h>

#include <set>

#include "command_line.h"
#include "controller_core.h"
#include "frame_receiver.h"
#include "fuzz/fuzz_support.h"

using namespace kaldor::sim;
using namespace kaldor::fuzz;

namespace {

CommandFrame randomCommand(Fuzzer& f) {
    // clang-format off
    static const std::vector<std::uint8_t> kCodes{
        kCmdIdentify, kCmdConfirm, kCmdRead, kCmdCommit, kCmdModePropane, kCmdModeAuto,
        kCmdModeDiesel, kCmdEraseDiesel, kCmdEraseErrors, kCmdDeleteDiesel, kCmdDeleteGas,
        kCmdConverterAddress, kCmdConverterDataLow, kCmdConverterDataHigh, 0xC1, 0xD0, 0xD1, 0xE0};
    // clang-format on
    const std::uint8_t cmd = f.chance(80) ? f.pick(kCodes) : f.byte();
    static const std::vector<std::uint8_t> kSubcodes{kReadPage, kReadErrors, kReadLive};
    const std::uint8_t b1 = cmd == kCmdRead && f.chance(80) ? f.pick(kSubcodes) : f.byte();
    return makeCommand(cmd, b1, f.byte(), f.byte());
}

void expectReply(const CommandFrame& frame, const std::vector<std::uint8_t>& reply) {
    if (reply.empty())
        return;
    ASSERT_EQ(reply.back(), kTrailer);
    switch (reply[0]) {
        case kIdentHeader:
            ASSERT_EQ(frame[0], kCmdIdentify);
            ASSERT_EQ(reply.size(), kIdentReplyLength);
            break;
        case kConfirmHeader:
            ASSERT_EQ(frame[0], kCmdConfirm);
            ASSERT_EQ(reply.size(), kConfirmReplyLength);
            break;
        case kBlockHeader:
            ASSERT_EQ(frame[0], kCmdRead);
            ASSERT_EQ(reply.size(), kBlockReplyLength);
            ASSERT_EQ(reply[1], frame[1]);
            ASSERT_EQ(reply[kBlockReplyLength - 2],
                      payloadChecksum(reply.data() + 2, kBlockPayload));
            break;
        case kLiveHeader:
            ASSERT_EQ(frame[0], kCmdRead);
            ASSERT_EQ(reply.size(), kLiveReplyLength);
            ASSERT_EQ(reply[kLiveReplyLength - 2], payloadChecksum(reply.data() + 2, kLivePayload));
            break;
        default:
            FAIL() << "reply header " << int(reply[0]);
    }
}

}  // namespace

TEST(SimFuzz, ReceiverPassesOnlyValidFramesAndAccountsForEveryByte) {
    Fuzzer f(61);
    FrameReceiver receiver;
    ControllerCore core{CoreSettings{}};
    std::size_t pushed = 0;
    std::size_t passed = 0;
    double seconds = 0;
    for (std::size_t i = 0; i < rounds(30000); ++i) {
        std::string chunk;
        const std::size_t frames = f.below(5);
        for (std::size_t k = 0; k < frames; ++k) {
            const CommandFrame c = randomCommand(f);
            chunk.append(c.begin(), c.end());
        }
        if (f.chance(50))
            chunk = f.mutate(chunk, "\xF2\xAA\x01\x02\x05", 64);
        const std::vector<std::uint8_t> bytes = asBytes(chunk);
        std::vector<CommandFrame> out;
        receiver.push(bytes.data(), bytes.size(), out);
        pushed += bytes.size();
        passed += out.size();
        ASSERT_LE(receiver.pendingBytes(), kCommandLength - 1);
        ASSERT_EQ(receiver.discardedBytes() + kCommandLength * passed + receiver.pendingBytes(),
                  pushed);
        for (const CommandFrame& frame : out) {
            ASSERT_TRUE(isValidCommand(frame));
            const std::vector<std::uint8_t> reply = core.handle(frame);
            expectReply(frame, reply);
        }
        seconds += 0.05;
        core.advanceTo(seconds);
        ASSERT_LE(core.errorCodes().size(), kErrorSlots);
    }
    EXPECT_GT(passed, 1000u);
}

TEST(SimFuzz, CommandLineIsParsedOrRefusedWithAMessage) {
    Fuzzer f(62);
    // clang-format off
    const std::vector<std::string> names{
        "--link", "--log", "--dump", "--image", "--hw", "--sw", "--confirm-status", "--serial",
        "--pin", "--mode", "--errors", "--error-every", "--time-scale", "--drop-every",
        "--corrupt-every", "--stray-every", "--wrong-subcode-every", "--ignore-write-every",
        "--delay-ms", "--silent-after", "--hang-up-after", "--help", "-h", "--bogus", "-", ""};
    const std::vector<std::string> values{
        "0", "1", "255", "256", "-1", "+3", "4294967295", "4294967296", "99999999999999999999",
        "1234", "0000", "12a4", "diesel", "auto", "propane", "7,15", ",", "1,,2", "0.5", "1e9",
        "1e10", "nan", "inf", "-0", "", " 1", "1 ", "/dev/null",
        "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33"};
    // clang-format on
    std::size_t refused = 0;
    for (std::size_t i = 0; i < rounds(20000); ++i) {
        std::vector<std::string> args;
        const std::size_t count = f.below(6);
        for (std::size_t k = 0; k < count; ++k) {
            std::string name = f.pick(names);
            if (f.chance(30)) {
                args.push_back(name + "=" + f.pick(values));
            } else {
                args.push_back(name);
                if (f.chance(85))
                    args.push_back(f.chance(90) ? f.pick(values) : f.bytes(f.below(6)));
            }
        }
        const ParsedCommandLine parsed = parseCommandLine(args);
        ASSERT_NE(parsed.commandLine.has_value(), !parsed.error.empty()) << i;
        refused += !parsed.commandLine;
        if (parsed.commandLine) {
            const auto& o = parsed.commandLine->options;
            ASSERT_LE(o.errors.size(), kErrorSlots) << i;
            ASSERT_TRUE(o.timeScale > 0 && o.timeScale <= 1e9) << i;
            ASSERT_TRUE(o.errorEverySeconds >= 0 && o.errorEverySeconds <= 1e9) << i;
        }
    }
    EXPECT_GT(refused, 100u);
}
