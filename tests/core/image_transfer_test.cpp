#include <gtest/gtest.h>

#include "link/image_transfer.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct TransferFixture : ::testing::Test, ScriptedLink {
    EcuImage image;
    RecordingPrompts prompts;
    ImageTransfer transfer{commands, state, image, prompts};
    PlainProgress bar;
    ScriptedController controller;
    int refreshes = 0;
    std::size_t writesAtRefresh = 0;

    void SetUp() override {
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        for (std::size_t i = 0; i < controller.memory.size(); ++i)
            controller.memory[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
        controller.attachTo(port);
        log.events.clear();
    }
    // The full write as its callers run it: the window shows the image between the halves.
    void writeAll(const std::string& message, bool stepBarWhenOffline = false) {
        transfer.writeWords(message, bar, stepBarWhenOffline);
        writesAtRefresh = log.writes().size();
        ++refreshes;
        transfer.writeValidMarker(bar);
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
        ASSERT_EQ(image.byte(i), controller.memory[i]) << i;
    EXPECT_EQ(bar.maximum(), 768);
    EXPECT_EQ(bar.position(), 768);
}

// A page the controller keeps rejecting is asked for twice more; a third rejection ends the
// read and leaves the image as it was.
TEST_F(TransferFixture, RejectedPageIsAskedForTwiceMoreThenTheReadGivesUp) {
    for (const int spoiled : {2, 3}) {
        SCOPED_TRACE(spoiled);
        image = EcuImage();
        image.setByte(0, 0xEE);
        log.events.clear();
        controller.failPageReads = spoiled;
        const bool read = transfer.readImage(bar);
        const auto writes = log.writes();
        if (spoiled == 2) {
            EXPECT_TRUE(read);
            ASSERT_EQ(writes.size(), 14u);  // page 0 three times, then pages 64 to 704
            EXPECT_EQ(writes[0], writes[2]);
            EXPECT_EQ(image.byte(0), controller.memory[0]);
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(writes.size(), 3u);
            EXPECT_EQ(image.byte(0), 0xEE);
            EXPECT_EQ(image.byte(767), 0);
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
    writeAll("no connection");
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
    EXPECT_EQ(writesAtRefresh, 384u);  // the marker goes out after the controls show the image
    EXPECT_EQ(bar.position(), 384);
}

TEST_F(TransferFixture, OfflineFullWriteRunsTheBarShowsTheMessageAndKeepsTheImage) {
    state.connected = false;
    image.setWord(100, 0x4242);
    writeAll("no connection", true);
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
