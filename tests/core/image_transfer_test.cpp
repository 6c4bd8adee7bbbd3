#include <gtest/gtest.h>

#include "fake_port.h"
#include "link/image_transfer.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct RecordingTimer : TimerSwitch {
    std::vector<bool> changes;
    void setTimerEnabled(bool on) override { changes.push_back(on); }
};

struct TransferFixture : ::testing::Test, ScriptedLink {
    EcuImage image;
    RecordingPrompts prompts;
    ImageTransfer transfer{commands, state, image, prompts};
    PlainProgress bar;
    std::array<std::uint8_t, 4096> controller{};
    int refreshes = 0;

    void SetUp() override {
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        for (std::size_t i = 0; i < controller.size(); ++i)
            controller[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
        port.responder = [this](int, const Bytes& f) -> Bytes {
            if (f[0] != 0xAA || f[1] != 0x01)
                return {};
            const std::size_t at = (std::size_t{f[2]} << 8) | f[3];
            return blockReply(0x01, Bytes(controller.begin() + static_cast<long>(at),
                                          controller.begin() + static_cast<long>(at) + 128));
        };
        transfer.setRefresh([this] { ++refreshes; });
        log.events.clear();
    }
};

TEST_F(TransferFixture, ReadSendsTwelvePageRequestsAndFillsTheImage) {
    EXPECT_TRUE(transfer.readImage(bar));
    const auto writes = log.writes();
    ASSERT_EQ(writes.size(), 12u);
    for (int p = 0; p < 12; ++p) {
        const unsigned a = 64u * static_cast<unsigned>(p);
        const auto frame = buildFrame(0xAA, 0x01, static_cast<std::uint8_t>(a >> 8),
                                      static_cast<std::uint8_t>(a & 0xFF));
        EXPECT_EQ(writes[static_cast<std::size_t>(p)], hex(frame.data(), 6));
    }
    for (std::size_t i = 0; i < EcuImage::kSize; ++i)
        ASSERT_EQ(image.byte(i), controller[i]) << i;
    EXPECT_EQ(bar.maximum(), 768);
    EXPECT_EQ(bar.position(), 768);
}

// A page the controller keeps rejecting: each case gives how many replies of page 192 are spoiled.
TEST_F(TransferFixture, RejectedPageIsAskedForTwiceMoreThenTheReadGivesUp) {
    for (const int spoiled : {2, 3}) {
        SCOPED_TRACE(spoiled);
        image = EcuImage();
        image.setByte(300, 0xEE);
        log.events.clear();
        int left = spoiled;
        auto good = port.responder;
        port.responder = [&](int p, const Bytes& f) {
            Bytes r = good(p, f);
            const unsigned address = (unsigned{f[2]} << 8) | f[3];
            if (address == 192 && left > 0) {
                --left;
                r[130] ^= 1;  // checksum
            }
            return r;
        };
        const bool read = transfer.readImage(bar);
        port.responder = good;
        const auto writes = log.writes();
        if (spoiled == 2) {
            // Pages 0-128, page 192 three times, pages 256-704: the same frames in the same order.
            EXPECT_TRUE(read);
            EXPECT_EQ(writes.size(), 14u);
            EXPECT_EQ(writes[3], writes[4]);
            EXPECT_EQ(writes[4], writes[5]);
            EXPECT_EQ(image.byte(300), controller[300]);
        } else {
            // Given up at page 192: nothing after it is asked for, and the image is untouched.
            EXPECT_FALSE(read);
            EXPECT_EQ(writes.size(), 6u);
            EXPECT_EQ(image.byte(300), 0xEE);
            EXPECT_EQ(image.byte(100), 0);
        }
    }
}

TEST_F(TransferFixture, ReadWithoutConnectionSaysSoAndSendsNothing) {
    state.connected = false;
    EXPECT_FALSE(transfer.readImage(bar));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"No Connection"});
    EXPECT_TRUE(log.writes().empty());
}

TEST_F(TransferFixture, FullWriteSendsEveryWordThenTheMarkerAndTheCommit) {
    for (std::size_t k = 0; k < EcuImage::kWords; ++k)
        image.setWord(k, static_cast<std::uint16_t>(k * 3));
    transfer.writeAll("no connection", bar);
    const auto writes = log.writes();
    ASSERT_EQ(writes.size(), 384u + 2u);
    for (std::size_t k = 0; k < 384; ++k) {
        const auto f = writeWordFrame(k, static_cast<std::uint16_t>(k * 3));
        ASSERT_EQ(writes[k], hex(f.data(), 6)) << k;
    }
    EXPECT_EQ(writes[0].substr(0, 5), "D1 00");
    EXPECT_EQ(writes[255].substr(0, 5), "D1 FF");
    EXPECT_EQ(writes[256].substr(0, 5), "D2 00");
    EXPECT_EQ(writes[383].substr(0, 5), "D2 7F");
    EXPECT_EQ(writes[384], "D1 00 AA AA CF F2");
    EXPECT_EQ(writes[385], "45 00 00 00 EF F2");
    EXPECT_EQ(log.events.back(), "pause 35");
    EXPECT_EQ(image.word(0), 0xAAAA);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(bar.position(), 384);
}

TEST_F(TransferFixture, LoadToControllerOfflineRunsTheBarShowsTheMessageAndKeepsTheImage) {
    state.connected = false;
    RecordingTimer timer;
    image.setWord(100, 0x4242);
    transfer.loadToController("no connection", bar, timer);
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(log.events.front(), "pause 250");
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"no connection"});
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(image.word(100), 0x4242);
    EXPECT_EQ(bar.position(), 384);
    // only the marker and the commit go out (to whatever port is there)
    EXPECT_EQ(log.writes(), (std::vector<std::string>{"D1 00 AA AA CF F2", "45 00 00 00 EF F2"}));
}

TEST_F(TransferFixture, SingleWritesSendTheImagesCurrentValue) {
    image.setWord(184, 1500);
    image.setByte(125, 3);
    transfer.writeWord(184);
    transfer.writeByte(125);
    transfer.sendField(FieldId::AutoReturnToGas);
    transfer.sendField(FieldId::ReservedTail, 2);  // never sent
    EXPECT_EQ(log.writes(), (std::vector<std::string>{"D1 B8 05 DC 14 F2", "C1 7D 00 03 EB F2",
                                                      hex(writeWordFrame(270, 0).data(), 6)}));
}

TEST(ConverterImage, SwapsWordBytesAndPadsEveryThirdByte) {
    EcuImage img;
    for (std::size_t k = 0; k < EcuImage::kWords; ++k)
        img.setWord(k, static_cast<std::uint16_t>(0x0100 * (k & 0xFF) + (k & 0x7F)));
    const auto c = ImageTransfer::buildConverterImage(img);
    // word 0 high, word 0 low, word 1 high, FF, word 1 low, ...
    EXPECT_EQ(c[0], img.byte(1));
    EXPECT_EQ(c[1], img.byte(0));
    EXPECT_EQ(c[2], img.byte(3));
    EXPECT_EQ(c[3], 0xFF);
    EXPECT_EQ(c[4], img.byte(2));
    EXPECT_EQ(c[1023], 0xFF);
    for (std::size_t g = 0; g < 256; ++g)
        EXPECT_EQ(c[4 * g + 3], 0xFF);
}

TEST_F(TransferFixture, ConverterWriteSends512AddressDataPairs) {
    image.setWord(0, 0x1234);
    image.setWord(1, 0x5678);
    PlainProgress eeprom;
    eeprom.setMaximum(512);
    transfer.writeConverter(eeprom);
    const auto writes = log.writes();
    ASSERT_EQ(writes.size(), 1024u);
    EXPECT_EQ(writes[0], hex(buildFrame(0xEA, 0, 0, 0).data(), 6));
    EXPECT_EQ(writes[1], hex(buildFrame(0xE1, 0, 0x12, 0x34).data(), 6));  // 12 34
    EXPECT_EQ(writes[3], hex(buildFrame(0xE1, 1, 0x56, 0xFF).data(), 6));  // 56 FF
    EXPECT_EQ(writes[2 * 256], hex(buildFrame(0xEA, 0, 1, 0).data(), 6));
    EXPECT_EQ(writes[2 * 256 + 1].substr(0, 5), "E2 00");
    EXPECT_EQ(writes[1023].substr(0, 5), "E2 FF");
    EXPECT_EQ(eeprom.position(), 512);
    EXPECT_EQ(log.events[0], "rts 1");  // no pause or drain before the first frame
}

}  // namespace
