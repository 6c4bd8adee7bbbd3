#include <gtest/gtest.h>

#include "diagnostics/enabled_errors.h"
#include "link/image_transfer.h"
#include "service/error_memory.h"
#include "support/fake_port.h"
#include "support/recording_sender.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

ErrorBlock blockWith(std::uint16_t count, std::vector<std::uint16_t> codes) {
    ErrorBlock b;
    for (std::size_t i = 0; i < codes.size(); ++i)
        b.setWord(i, codes[i]);
    b.setWord(ErrorBlock::kCountWord, count);
    return b;
}

TEST(ErrorList, RowsForStoredCodes) {
    struct Case {
        const char* name;
        std::uint16_t count;
        std::vector<std::uint16_t> codes;
        std::vector<std::string> firstRows;  // rows 1.. that must read so; the rest are empty
    };
    const std::vector<std::string> all32(32, "3 ErrTg_H  - Gas Temp. Error High");
    const std::vector<Case> cases{
        {"none", 0, {7, 15}, {"NO Errors"}},
        {"two",
         2,
         {7, 15, 9},
         {"7 ErrPres_H- Erorr Pressure High", "15 ErrRpm_H  - RPM's Error High"}},
        {"unknown",
         3,
         {45, 30, 0xFFFF},
         {"45 unknown error code", "30 unknown error code", "65535 unknown error code"}},
        {"first and last text",
         2,
         {0, 29},
         {"0 ND       - Not Defined Error", "29 ErrorEgtTH - EGT Temp. High"}},
        {"count above 32", 40, std::vector<std::uint16_t>(32, 3), all32},
        {"count 65535", 0xFFFF, std::vector<std::uint16_t>(32, 3), all32},
    };
    const ErrorTexts texts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rows = errorListRows(blockWith(c.count, c.codes), texts, "NO Errors");
        ASSERT_EQ(rows.size(), 32u);
        for (std::size_t r = 0; r < rows.size(); ++r)
            EXPECT_EQ(rows[r], r < c.firstRows.size() ? c.firstRows[r] : "") << "row " << r + 1;
    }
}

TEST(ErrorList, LanguageReplacesCodesZeroTo29Only) {
    ErrorTexts texts;
    EXPECT_TRUE(texts.replace(7, "Druck zu hoch"));
    EXPECT_TRUE(texts.replace(29, "AGT"));
    EXPECT_FALSE(texts.replace(30, "x"));
    EXPECT_FALSE(texts.replace(1000, "x"));
    EXPECT_EQ(texts.describe(7), "7 Druck zu hoch");
    EXPECT_EQ(texts.describe(29), "29 AGT");
    EXPECT_EQ(texts.describe(30), "30 unknown error code");
}

struct ErrorMemoryFixture : ::testing::Test, ScriptedLink {
    ErrorMemory memory{commands, state};
    RecordingTimer timer;
    ErrorTexts texts;
    Bytes controllerBlock = Bytes(256);
    std::vector<bool> readyAtRequest;
    bool spoilFirstHalf = false;

    void SetUp() override {
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        state.linkReady = true;
        for (std::size_t i = 0; i < controllerBlock.size(); ++i)
            controllerBlock[i] = static_cast<std::uint8_t>(i * 3 + 1);
        setCodes(2, {7, 15});
        log.events.clear();
        port.responder = [this](int, const Bytes& f) -> Bytes {
            if (f[0] != 0xAA || f[1] != 0x02)
                return {};
            readyAtRequest.push_back(state.linkReady);
            const auto at = static_cast<long>(f[2] == 0x80 ? 128 : 0);
            Bytes reply = blockReply(
                0x02, Bytes(controllerBlock.begin() + at, controllerBlock.begin() + at + 128));
            if (at == 0 && spoilFirstHalf)
                reply[130] ^= 1;
            return reply;
        };
    }
    void setCodes(std::uint16_t count, std::vector<std::uint16_t> codes) {
        for (std::size_t i = 0; i < codes.size(); ++i) {
            controllerBlock[2 * i] = static_cast<std::uint8_t>(codes[i] & 0xFF);
            controllerBlock[2 * i + 1] = static_cast<std::uint8_t>(codes[i] >> 8);
        }
        controllerBlock[64] = static_cast<std::uint8_t>(count & 0xFF);
        controllerBlock[65] = static_cast<std::uint8_t>(count >> 8);
    }
};

TEST_F(ErrorMemoryFixture, ReadsBothHalvesWithPollingSuspended) {
    const auto rows = memory.showErrors(timer, texts, "NO Errors");
    EXPECT_EQ(rows[0], "7 ErrPres_H- Erorr Pressure High");
    EXPECT_EQ(rows[1], "15 ErrRpm_H  - RPM's Error High");
    EXPECT_EQ(rows[2], "");
    EXPECT_EQ(Bytes(memory.block().bytes().begin(), memory.block().bytes().end()), controllerBlock);
    EXPECT_EQ(log.writes(), (std::vector<std::string>{"AA 02 00 00 56 F2", "AA 02 80 80 56 F2"}));
    EXPECT_EQ(readyAtRequest, (std::vector<bool>{false, false}));
    EXPECT_TRUE(state.linkReady);
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true}));
    // The settling pause and the drain come before the first request.
    ASSERT_GE(log.events.size(), 2u);
    EXPECT_EQ(log.events[0], "pause 150");
    EXPECT_EQ(log.events[1], "drain");
}

// A live reply the polling asked for just before is still queued when the read starts.
TEST_F(ErrorMemoryFixture, StaleLiveReplyInFrontDoesNotSpoilTheFirstHalf) {
    port.deliver(liveReply(Bytes(192, 0x11)), 0);
    port.deliver(liveReply(Bytes(192, 0x22)), 40);  // still on its way when the read starts
    const auto rows = memory.showErrors(timer, texts, "NO Errors");
    EXPECT_EQ(Bytes(memory.block().bytes().begin(), memory.block().bytes().end()), controllerBlock);
    EXPECT_EQ(rows[0], "7 ErrPres_H- Erorr Pressure High");
}

TEST_F(ErrorMemoryFixture, RejectedHalfKeepsItsPreviousBytes) {
    (void)memory.showErrors(timer, texts, "NO Errors");
    setCodes(0, {});
    controllerBlock[200] ^= 0xFF;
    spoilFirstHalf = true;
    const auto rows = memory.showErrors(timer, texts, "NO Errors");
    // Half 0 (with the count) is the old one; half 1 is new.
    EXPECT_EQ(rows[0], "7 ErrPres_H- Erorr Pressure High");
    EXPECT_EQ(memory.block().bytes()[200], controllerBlock[200]);
}

TEST_F(ErrorMemoryFixture, WithoutControllerThePollingIsNotStarted) {
    link.close();
    state.linkReady = false;
    const auto rows = memory.showErrors(timer, texts, "NO Errors");
    EXPECT_EQ(rows[0], "NO Errors");  // the block is still all zero
    EXPECT_FALSE(state.linkReady);
}

TEST_F(ErrorMemoryFixture, EraseSendsEraseThenAutomaticMode) {
    memory.eraseErrors();
    EXPECT_EQ(log.writes(), (std::vector<std::string>{"61 00 00 00 0B F2", "52 00 00 00 FC F2"}));
}

// SAVE with only "rpm" and "EGT" ticked: bits 8 and 10 set, the other boxes' bits clear, bits
// without a box as they were, and one word write of word 276.
TEST(EnabledErrors, SaveSetsTickedBitsAndKeepsTheRest) {
    struct Case {
        std::uint16_t before;
        std::uint16_t after;
        const char* frame;
    };
    const std::vector<Case> cases{
        {0x0000, 0x0500, "D2 14 05 00 95 F2"},
        {0xFFFF, 0xFDC4, "D2 14 FD C4 51 F2"},
    };
    EnabledErrorStates ticked{};
    for (std::size_t i = 0; i < kEnabledErrorBoxCount; ++i)
        ticked[i] =
            kEnabledErrorBoxes[i].caption == "rpm" || kEnabledErrorBoxes[i].caption == "EGT";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        ScriptedLink s;
        ASSERT_TRUE(s.link.open(1));
        EcuImage image;
        RecordingPrompts prompts;
        ImageTransfer transfer{s.commands, s.state, image, prompts};
        image.setWord(276, c.before);
        image.setWord(275, 0x1234);
        image.setWord(277, 0x5678);
        const EnabledErrorStates shown = saveEnabledErrors(image, transfer, ticked);
        EXPECT_EQ(image.word(276), c.after);
        EXPECT_EQ(image.word(275), 0x1234);
        EXPECT_EQ(image.word(277), 0x5678);
        EXPECT_EQ(s.log.writes(), std::vector<std::string>{c.frame});
        EXPECT_EQ(shown, ticked);
        EXPECT_EQ(enabledErrorStates(image), ticked);
    }
}

}  // namespace
