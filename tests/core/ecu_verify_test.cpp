#include <gtest/gtest.h>

#include <algorithm>

#include "service/ecu_verify.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

// The PC image and the controller agree, until a test makes them differ. Link ready is set, as
// while the live polling runs.
struct VerifyFixture : ::testing::Test, ScriptedLink {
    EcuImage image;
    ScriptedController controller;
    EcuVerifier verifier{commands, state, image};
    PlainProgress bar;
    RecordingTimer timer;

    void SetUp() override {
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        state.linkReady = true;
        for (std::size_t i = 0; i < controller.memory.size(); ++i)
            controller.memory[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
        controller.memory[748] = 0;  // no PIN
        controller.memory[749] = 0;
        EcuImage::Bytes bytes{};
        std::copy_n(controller.memory.begin(), EcuImage::kSize, bytes.begin());
        image.replace(bytes);
        controller.attachTo(port);
    }

    // A bit field, a map cell and the serial number differ; the controller's values are set in
    // its memory through an image of it.
    void loseThreeWrites() {
        EcuImage ecu = image;
        storeField(ecu, FieldId::CruiseMode, (readField(image, FieldId::CruiseMode) + 1) & 7);
        storeField(ecu, FieldId::MainMap, readField(image, FieldId::MainMap, 20) ^ 0x10, 20);
        storeField(ecu, FieldId::ControllerSerialNumber, 0x01020304);
        std::copy_n(ecu.bytes().begin(), EcuImage::kSize, controller.memory.begin());
    }

    std::vector<std::string> pageReads() const {
        std::vector<std::string> reads;
        for (const auto& w : log.writes())
            if (w.rfind("AA 01", 0) == 0)
                reads.push_back(w);
        return reads;
    }
};

TEST_F(VerifyFixture, ThreeDifferencesTheSerialNumberApartAndNothingWritten) {
    loseThreeWrites();
    log.events.clear();
    const VerifyReport report = verifier.verify(bar, timer);

    EXPECT_EQ(report.outcome, VerifyOutcome::Mismatch);
    ASSERT_EQ(report.diff.entries.size(), 2u);
    EXPECT_EQ(report.diff.entries[0].name, "main map row 3 x column 5");
    EXPECT_EQ(report.diff.entries[1].name, "adjustment / cruise control");
    ASSERT_EQ(report.diff.controllerOwned.size(), 1u);
    EXPECT_EQ(report.diff.controllerOwned[0].name, "ControllerSerialNumber");
    EXPECT_EQ(
        report.message,
        "ECU memory differs from the PC in 2 locations: main map row 3 x column 5, adjustment / "
        "cruise control\n"
        "The ECU's own locations differ and are never written: ControllerSerialNumber");
    // Only the twelve page reads, with polling off around them and link ready as it was.
    EXPECT_EQ(log.writes().size(), 12u);
    EXPECT_EQ(pageReads().size(), 12u);
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true}));
    EXPECT_TRUE(state.linkReady);
    EXPECT_EQ(bar.position(), 768);
}

TEST_F(VerifyFixture, WritingThePcsValuesSendsOnlyTheDifferingWordAndByteThenMatches) {
    loseThreeWrites();
    const VerifyReport first = verifier.verify(bar, timer);
    log.events.clear();
    const VerifyReport again = verifier.writePcValues(first, bar, timer);

    const auto writes = log.writes();
    ASSERT_EQ(writes.size(), 2u + 12u);
    EXPECT_EQ(writes[0], hex(writeByteFrame(187, image.byte(187)).data(), 6));
    EXPECT_EQ(writes[1], hex(writeWordFrame(275, image.word(275)).data(), 6));
    EXPECT_EQ(pageReads().size(), 12u);
    // The serial number stays the controller's: it is never written, and apart from it the
    // memory now matches.
    EXPECT_EQ(again.outcome, VerifyOutcome::Match);
    EXPECT_TRUE(again.matches());
    EXPECT_EQ(again.message.substr(0, again.message.find('\n')), kMsgEcuMatches);
    EXPECT_EQ(again.diff.controllerOwned.size(), 1u);
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true, false, true}));
}

TEST_F(VerifyFixture, AllEqualIsTheMatchMessageAlone) {
    const VerifyReport report = verifier.verify(bar, timer);
    EXPECT_EQ(report.outcome, VerifyOutcome::Match);
    EXPECT_EQ(report.message, kMsgEcuMatches);
    EXPECT_TRUE(report.diff.identical());
}

// A page the controller never answers is unread where no other page reaches (the pages
// overlap, so only the first page's first half depends on it alone): the report never calls that a
// match, even though every byte that did arrive agrees.
TEST_F(VerifyFixture, APageThatCannotBeReadIsReportedUnread) {
    port.responder = [this](int, const Bytes& f) -> Bytes {
        Bytes reply = controller.answer(f);
        if (f[0] == 0xAA && f[1] == 0x01 && f[2] == 0x00 && f[3] == 0x00)
            reply.back() ^= 0x01;  // page 0 always arrives spoilt
        return reply;
    };
    const VerifyReport report = verifier.verify(bar, timer);
    EXPECT_EQ(report.outcome, VerifyOutcome::Unread);
    EXPECT_FALSE(report.matches());
    EXPECT_TRUE(report.diff.entries.empty());
    EXPECT_EQ(report.unread, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 63}}));
    EXPECT_EQ(report.message,
              "ECU memory could not be read completely (bytes 0-63 unread). The bytes read "
              "agree with the PC.");
    EXPECT_EQ(pageReads().size(), 3u + 11u);  // the first page asked for three times
    // What was not read is not taken into the PC.
    const EcuImage before = image;
    EXPECT_FALSE(verifier.takeControllerValues(report));
    EXPECT_EQ(image, before);
}

// A controller that answers no page (the cable pulled after a load) leaves nothing to compare:
// the report never says the bytes agree.
TEST_F(VerifyFixture, AVerificationThatReadNothingSaysNothingCouldBeCompared) {
    port.responder = [](int, const Bytes&) { return Bytes{}; };
    const VerifyReport report = verifier.verify(bar, timer);
    EXPECT_EQ(report.outcome, VerifyOutcome::Unread);
    EXPECT_EQ(report.message,
              "Nothing could be compared: no byte of the ECU memory could be read. Reconnect "
              "with F10, then load again.");
}

// A write of the PC's values the port refuses ends there: nothing is read back, the connection
// has ended and stays ended once polling would resume.
TEST_F(VerifyFixture, AWriteBackThePortRefusesEndsThereAndSaysHowFarItGot) {
    loseThreeWrites();
    const VerifyReport first = verifier.verify(bar, timer);
    port.refuseAfterWrites = port.writesTaken + 1;
    log.events.clear();
    const VerifyReport broken = verifier.writePcValues(first, bar, timer);
    EXPECT_EQ(broken.outcome, VerifyOutcome::WriteBroken);
    EXPECT_EQ(broken.message.rfind("The write to the ECU broke off at frame 2 of 2: the port "
                                   "refused it, so only the first 1 frames reached the ECU.",
                                   0),
              0u)
        << broken.message;
    EXPECT_NE(broken.message.find("save to disk"), std::string::npos);
    EXPECT_EQ(log.writes().size(), 2u);
    EXPECT_TRUE(pageReads().empty());
    EXPECT_FALSE(state.connected);
    EXPECT_FALSE(state.linkReady);
}

TEST_F(VerifyFixture, TakingTheControllersValuesKeepsTheImagesPinCopy) {
    loseThreeWrites();
    controller.memory[748] = 0x34;  // the controller holds PIN 1234, the PC knows it
    controller.memory[749] = 0x12;
    state.controllerPin = 0x1234;
    const VerifyReport report = verifier.verify(bar, timer);
    EXPECT_EQ(report.diff.controllerOwned.size(), 1u);  // the serial number, not the PIN
    log.events.clear();
    ASSERT_TRUE(verifier.takeControllerValues(report));
    EXPECT_TRUE(log.writes().empty());
    EXPECT_EQ(readField(image, FieldId::ControllerSerialNumber), 0x01020304u);
    EXPECT_EQ(readField(image, FieldId::ControllerPin), 0u);
    EXPECT_EQ(diffImages(image, report.controller).entries.size(), 0u);
}

TEST_F(VerifyFixture, WithoutAConnectionNothingIsSent) {
    state.connected = false;
    log.events.clear();
    const VerifyReport report = verifier.verify(bar, timer);
    EXPECT_EQ(report.outcome, VerifyOutcome::NoConnection);
    EXPECT_FALSE(report.matches());
    EXPECT_EQ(report.message, "No Connection");
    EXPECT_TRUE(log.writes().empty());
    EXPECT_TRUE(timer.changes.empty());
}

}  // namespace
