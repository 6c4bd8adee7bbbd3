#include <gtest/gtest.h>

#include "model/parameter_edits.h"
#include "service/defaults_reset.h"
#include "support/fake_port.h"
#include "support/scripted_controller.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

// A controller holding PIN 1234, serial number 0x89ABCDEF, byte 51 and a tail of its own, read
// and unlocked: the refresh has cleared the image's copy of the PIN.
struct ResetFixture : ::testing::Test, ScriptedLink {
    EcuImage image;
    RecordingPrompts prompts;
    ImageTransfer transfer{commands, state, image, prompts};
    ControllerReset reset{transfer, state, image, prompts};
    PlainProgress bar;
    RecordingTimer timer;
    std::vector<std::string> steps;
    std::vector<std::size_t> writesAtStop;
    ScriptedController controller;

    void SetUp() override {
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        state.hardwareRevision = 1;
        controller.memory.fill(0x30);
        controller.setWord(242, 0xCDEF);  // the serial number, low half first
        controller.setWord(243, 0x89AB);
        controller.memory[51] = 0x77;
        controller.setWord(374, 0x1234);
        controller.attachTo(port);
        ASSERT_TRUE(transfer.readImage(bar));
        (void)checkControllerPin(image, prompts);
        log.events.clear();
    }
    // The reset as the window runs it, noting each stop and the frames written before it.
    bool run(const std::string& caption, const WorkTimes& workTimes) {
        if (!reset.begin(caption, workTimes, timer))
            return false;
        while (const std::optional<ControllerReset::Stop> stop = reset.next(bar, timer)) {
            steps.push_back(*stop == ControllerReset::Stop::ResetEmulatorTables ? "emulator tables"
                            : *stop == ControllerReset::Stop::ShowImage         ? "refresh"
                                                                                : "axis save");
            writesAtStop.push_back(log.writes().size());
        }
        return true;
    }
    std::string wordFrame(std::size_t index, std::uint16_t value) {
        const CommandFrame f = writeWordFrame(index, value);
        return hex(f.data(), f.size());
    }
};

TEST_F(ResetFixture, WritesTheDefaultsWithTheControllersPinAndParts) {
    ASSERT_EQ(image.word(374), 0);
    ASSERT_TRUE(run("RESET ECU", {100, 200}));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "RESET ECU");
    EXPECT_TRUE(prompts.boxes[0].warning);
    EXPECT_EQ(log.events.front(), "pause 250");
    const auto writes = log.writes();
    ASSERT_EQ(writes.size(), 384u + 2u);
    EXPECT_EQ(writes[374], wordFrame(374, 0x1234));
    EXPECT_EQ(writes[242], wordFrame(242, 0xCDEF));
    EXPECT_EQ(writes[243], wordFrame(243, 0x89AB));
    EXPECT_EQ(writes[25], wordFrame(25, 0x7700));  // byte 51 kept, byte 50 cleared
    EXPECT_EQ(writes[383], wordFrame(383, 0x3030));
    EXPECT_EQ(writes[184], wordFrame(184, 1200));
    EXPECT_EQ(writes[6], wordFrame(6, 100));
    EXPECT_EQ(writes[384], wordFrame(0, 0xAAAA));
    EXPECT_EQ(writes[385], "45 00 00 00 EF F2");
    EXPECT_EQ(state.controllerPin, 0x1234);
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(steps, (std::vector<std::string>{"refresh", "axis save"}));
    EXPECT_EQ(writesAtStop, (std::vector<std::size_t>{384, 386}));
    EXPECT_EQ(bar.position(), 384);
}

TEST_F(ResetFixture, EmulatorTablesOnlyOnHardwareRevision2) {
    state.hardwareRevision = 2;
    ASSERT_TRUE(run("RESET ECU", {}));
    EXPECT_EQ(steps, (std::vector<std::string>{"emulator tables", "refresh", "axis save"}));
}

TEST_F(ResetFixture, CancelChangesNothing) {
    prompts.okCancel = Answer::Cancel;
    const EcuImage before = image;
    EXPECT_FALSE(run("RESET ECU", {1, 2}));
    EXPECT_EQ(image, before);
    EXPECT_TRUE(log.events.empty());
    EXPECT_TRUE(timer.changes.empty());
    EXPECT_TRUE(steps.empty());
}

TEST_F(ResetFixture, OfflineTheImageIsResetAndTheMessageShownOnce) {
    link.close();
    ASSERT_TRUE(run("RESET ECU", {}));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"No Connection"});
    EXPECT_EQ(image.word(374), 0);
    EXPECT_EQ(image.word(184), 1200);
    EXPECT_EQ(readField(image, FieldId::ControllerSerialNumber), 0x89ABCDEFu);
    EXPECT_EQ(log.writes().size(), 2u);  // the marker and the commit go out untested
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true}));
}

}  // namespace
