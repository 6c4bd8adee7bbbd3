// Every reply kind byte for byte, memory writes read back, the fuel-mode and error commands,
// and the receiver's tolerance of noise, all through the pty as the program would see them.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <thread>

#include "sim_fixture.h"

namespace kaldor::sim::test {
namespace {

ParameterImage patternImage() {
    ParameterImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    image[125] = 0;  // rpm signal type "1"
    return image;
}

CommandFrame readPage(std::uint16_t address) {
    return makeCommand(kCmdRead, kReadPage, static_cast<std::uint8_t>(address >> 8),
                       static_cast<std::uint8_t>(address & 0xFF));
}

class Replies : public SimTest {
protected:
    void SetUp() override {
        VirtualController::Options options;
        options.hardwareRevision = 3;
        options.softwareRevision = 10;
        options.confirmStatus = 0x81;
        options.image = patternImage();
        options.errors = {7, 15};
        options.timeScale = kFrozenTime;
        startController(options);
    }

    Bytes page(std::uint16_t address) {
        return unpackBlock(client().exchange(readPage(address), kBlockReplyLength), kBlockHeader,
                           kReadPage);
    }
    Bytes live() {
        return unpackBlock(client().exchange(makeCommand(kCmdRead, kReadLive), kLiveReplyLength),
                           kLiveHeader, kReadLive);
    }
    Bytes errorHalf(std::uint8_t half) {
        return unpackBlock(
            client().exchange(makeCommand(kCmdRead, kReadErrors, half, half), kBlockReplyLength),
            kBlockHeader, kReadErrors);
    }
};

TEST(CommandFrames, MatchTheWireFormat) {
    const CommandFrame live = makeCommand(kCmdRead, kReadLive);
    EXPECT_EQ(hex(Bytes(live.begin(), live.end())), "AA 05 00 00 59 F2");
    const CommandFrame identify = makeCommand(kCmdIdentify);
    EXPECT_EQ(hex(Bytes(identify.begin(), identify.end())), "01 00 00 00 AB F2");
    const CommandFrame write = makeCommand(0xD1, 0xB8, 0x05, 0xDC);
    EXPECT_EQ(write[4], 0x14) << "checksum wraps modulo 256";
}

TEST_F(Replies, IdentifyAndConfirmCarryTheConfiguredIdentity) {
    const Bytes ident = client().exchange(makeCommand(kCmdIdentify), kIdentReplyLength);
    ASSERT_EQ(ident.size(), 5u) << hex(ident);
    EXPECT_EQ(ident[0], 0x49);
    EXPECT_EQ(ident[1], 3);
    EXPECT_EQ(ident[2], 10);
    EXPECT_EQ(ident[4], 0xF2);

    const Bytes confirm = client().exchange(makeCommand(kCmdConfirm), kConfirmReplyLength);
    ASSERT_EQ(confirm.size(), 4u) << hex(confirm);
    EXPECT_EQ(confirm[0], 0x43);
    EXPECT_EQ(confirm[1], 0x81);
    EXPECT_EQ(confirm[3], 0xF2);
    EXPECT_TRUE(client().drain().empty()) << "nothing beyond the reply";
}

TEST_F(Replies, PageTravelsHighestOffsetFirstWithChecksum) {
    const Bytes raw = client().exchange(readPage(0x0040), kBlockReplyLength);
    ASSERT_EQ(raw.size(), kBlockReplyLength);
    EXPECT_EQ(raw[0], 0x48);
    EXPECT_EQ(raw[1], 0x01);
    EXPECT_EQ(raw[2], patternImage()[0x40 + 127]) << "first payload byte is the highest offset";
    EXPECT_EQ(raw[129], patternImage()[0x40]);
    EXPECT_EQ(raw[130], expectedChecksum(raw));
    EXPECT_EQ(raw[131], 0xF2);
}

TEST_F(Replies, PagesCoverTheWholeMemoryAndReadZeroBeyondIt) {
    const Bytes last = page(704);
    ASSERT_EQ(last.size(), 128u);
    for (std::size_t i = 0; i < 64; ++i) {
        ASSERT_EQ(last[i], patternImage()[704 + i]) << "offset " << 704 + i;
    }
    EXPECT_EQ(last[64], 0xFF) << "memory past the image reads as erased EEPROM";

    const Bytes edge = page(4000);
    ASSERT_EQ(edge.size(), 128u);
    EXPECT_EQ(edge[95], 0xFF) << "address 4095";
    EXPECT_EQ(edge[96], 0x00) << "address 4096 does not exist";
    EXPECT_EQ(edge[127], 0x00);
}

TEST_F(Replies, WritesChangeMemoryAndReadBack) {
    client().send(makeCommand(0xD2, 0x7F, 0x12, 0x34));  // word 0x17F = 0x1234
    client().send(makeCommand(0xC3, 0xC1, 0x00, 0x05));  // byte 0x2C1 = 5
    client().send(makeCommand(0xD1, 184, 0x05, 0xDC));   // word 184 = 1500
    client().send(makeCommand(0xD0, 0xA0, 0x00, 0x77));  // byte 0xFA0, far past the image
    ASSERT_TRUE(controller().waitForFrames(4, kReplyTimeout));

    const Bytes high = page(0x2C0);
    ASSERT_EQ(high.size(), 128u);
    EXPECT_EQ(high[0x2FE - 0x2C0], 0x34) << "word 0x17F low byte at 0x2FE";
    EXPECT_EQ(high[0x2FF - 0x2C0], 0x12);
    EXPECT_EQ(high[1], 0x05);
    EXPECT_EQ(wordAt(page(368), 0), 1500) << "word 184 is bytes 368 (low) and 369 (high)";
    EXPECT_EQ(controller().readByte(0xFA0), 0x77);
    EXPECT_EQ(controller().readWord(184), 1500);
}

TEST_F(Replies, ErrorMemoryHalvesCarryCodesAndCount) {
    const Bytes first = errorHalf(0x00);
    ASSERT_EQ(first.size(), 128u);
    EXPECT_EQ(wordAt(first, 0), 7);
    EXPECT_EQ(wordAt(first, 1), 15);
    EXPECT_EQ(wordAt(first, 2), 0);
    EXPECT_EQ(wordAt(first, 32), 2) << "count in word 32 of the block";
    const Bytes second = errorHalf(0x80);
    ASSERT_EQ(second.size(), 128u);
    EXPECT_EQ(second, Bytes(128, 0));
}

TEST_F(Replies, EraseEmptiesErrorMemoryAndCountsTheChange) {
    const std::uint16_t before = wordAt(live(), 50);
    client().send(makeCommand(kCmdEraseErrors));
    const Bytes first = errorHalf(0x00);
    ASSERT_EQ(first.size(), 128u);
    EXPECT_EQ(wordAt(first, 0), 0);
    EXPECT_EQ(wordAt(first, 32), 0);
    EXPECT_EQ(wordAt(live(), 50), before + 1);

    controller().addError(29);
    EXPECT_EQ(wordAt(live(), 50), before + 2);
    EXPECT_EQ(wordAt(errorHalf(0x00), 0), 29);
}

TEST_F(Replies, LiveRecordIsChecksummedAndStreamsTheCalibrationBlock) {
    const Bytes raw = client().exchange(makeCommand(kCmdRead, kReadLive), kLiveReplyLength);
    ASSERT_EQ(raw.size(), kLiveReplyLength);
    EXPECT_EQ(raw[0], 0x56);
    EXPECT_EQ(raw[1], 0x05);
    EXPECT_EQ(raw[194], expectedChecksum(raw));
    EXPECT_EQ(raw[195], 0xF2);
    const Bytes record(raw.rbegin() + 2, raw.rend() - 2);
    EXPECT_EQ(wordAt(record, 18), 6) << "first slice at block position 0";
    EXPECT_EQ(wordAt(record, 21), 34562) << "800 rpm idle, signal type 1";
    EXPECT_EQ(wordAt(record, 36) & 0x0400, 0x0400) << "ignition on";

    std::vector<std::uint16_t> positions;
    for (int i = 0; i < 55; ++i) {
        const Bytes next = live();
        ASSERT_EQ(next.size(), kLivePayload);
        positions.push_back(wordAt(next, 18));
    }
    EXPECT_EQ(positions[0], 12);
    EXPECT_EQ(positions[51], 318);
    EXPECT_EQ(positions[52], 320) << "last slice ends at block word 319";
    EXPECT_EQ(positions[53], 6) << "and the stream starts over";
}

TEST_F(Replies, PeriodFollowsTheRpmSignalTypeInMemory) {
    client().send(makeCommand(0xC1, 125, 0, 4));  // rpm signal type "5"
    ASSERT_TRUE(controller().waitForFrames(1, kReplyTimeout));
    EXPECT_EQ(wordAt(live(), 21), 6912) << "800 rpm at five pulses per cycle";
}

TEST_F(Replies, FuelModeFollowsTheModeCommands) {
    auto mode = [this] { return (wordAt(live(), 39) >> 7) & 3; };
    EXPECT_EQ(mode(), 1) << "automatic, engine cold";
    client().send(makeCommand(kCmdModePropane));
    EXPECT_EQ(mode(), 2);
    EXPECT_EQ(wordAt(live(), 36) & 0x0200, 0x0200) << "tank valve open on propane";
    client().send(makeCommand(kCmdModeDiesel));
    EXPECT_EQ(mode(), 0);
    EXPECT_EQ(controller().fuelMode(), FuelMode::Diesel);
}

TEST_F(Replies, ConverterCommitAndEraseCommandsAreHonouredOrCounted) {
    client().send(makeCommand(kCmdConverterAddress, 0, 0x01, 0x05));
    client().send(makeCommand(kCmdConverterDataHigh, 0x05, 0xAB, 0xCD));  // word 261
    client().send(makeCommand(kCmdConverterDataLow, 0x00, 0x12, 0x34));   // word 0
    client().send(makeCommand(kCmdCommit, 0, 0, 0));
    for (const std::uint8_t cmd :
         {kCmdEraseDiesel, kCmdEraseDieselGas, kCmdDeleteDiesel, kCmdDeleteGas}) {
        client().send(makeCommand(cmd));
    }
    ASSERT_TRUE(controller().waitForFrames(8, kReplyTimeout));
    const auto converter = controller().converterMemory();
    EXPECT_EQ(converter[2 * 261], 0xAB);
    EXPECT_EQ(converter[2 * 261 + 1], 0xCD);
    EXPECT_EQ(converter[0], 0x12);
    EXPECT_EQ(converter[1], 0x34);
    for (const std::uint8_t cmd :
         {kCmdCommit, kCmdEraseDiesel, kCmdEraseDieselGas, kCmdDeleteDiesel, kCmdDeleteGas}) {
        EXPECT_EQ(controller().commandCount(cmd), 1u) << std::hex << int(cmd);
    }
    EXPECT_TRUE(client().drain().empty()) << "none of them is answered";
}

TEST_F(Replies, BadFramesAreIgnoredAndTheReceiverResynchronises) {
    CommandFrame badChecksum = makeCommand(kCmdIdentify);
    badChecksum[4] ^= 0x01;
    client().send(badChecksum);
    CommandFrame badTrailer = makeCommand(kCmdIdentify);
    badTrailer[5] = 0xF3;
    client().send(badTrailer);
    EXPECT_TRUE(client().drain().empty());

    client().send(Bytes{0x00, 0xF2, 0x55});
    const Bytes reply = client().exchange(makeCommand(kCmdIdentify), kIdentReplyLength);
    EXPECT_EQ(hex(reply).substr(0, 2), "49") << hex(reply);

    const CommandFrame split = makeCommand(kCmdConfirm);
    client().send(Bytes(split.begin(), split.begin() + 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    client().send(Bytes(split.begin() + 2, split.end()));
    EXPECT_EQ(client().read(kConfirmReplyLength).size(), kConfirmReplyLength);
    EXPECT_EQ(controller().frameCount(), 2u) << "only the valid frames count";
}

TEST_F(Replies, UnreadRepliesDoNotOutliveTheProgramClosingThePort) {
    client().send(makeCommand(kCmdRead, kReadLive));
    ASSERT_TRUE(controller().waitForFrames(1, kReplyTimeout));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    client().close();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    PtyClient reopened(m_device);
    ASSERT_TRUE(reopened.isOpen());
    const Bytes reply = reopened.exchange(makeCommand(kCmdIdentify), kIdentReplyLength);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[0], 0x49) << "a stale live reply came first: " << hex(reply);
}

TEST_F(Replies, LogFileHasOneLinePerFrame) {
    // The fixture's controller has no log; this one does.
    const std::string path = ::testing::TempDir() + "sim_frames.log";
    VirtualController::Options options;
    options.logPath = path;
    VirtualController logged(options);
    PtyClient other(logged.start());
    other.send(makeCommand(kCmdRead, kReadLive));
    other.send(Bytes{0x77});  // noise is not a frame
    other.send(makeCommand(0xD1, 184, 0x05, 0xDC));
    ASSERT_TRUE(logged.waitForFrames(2, kReplyTimeout));

    std::ifstream in(path);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 2u);
    const std::regex format(R"(^(\d+) ((?:[0-9A-F]{2} ){5}[0-9A-F]{2})$)");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[0], m, format)) << lines[0];
    EXPECT_EQ(m[2].str(), "AA 05 00 00 59 F2");
    ASSERT_TRUE(std::regex_match(lines[1], m, format)) << lines[1];
    EXPECT_EQ(m[2].str(), "D1 B8 05 DC 14 F2");
    logged.stop();
}

}  // namespace
}  // namespace kaldor::sim::test
