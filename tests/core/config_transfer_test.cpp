#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/parameter_edits.h"
#include "service/config_transfer.h"
#include "support/fake_port.h"
#include "support/scripted_controller.h"
#include "support/temp_folder.h"

using namespace kaldor;
using namespace kaldor::test;
namespace fs = std::filesystem;

namespace {

struct PinPrompts : RecordingPrompts {
    std::optional<PinDigits> newPin;
    std::optional<PinDigits> askNewPin() override { return newPin; }
};

// The controller holds PIN 1234 and serial number 0x89ABCDEF; a file from another car is
// loaded into it after the user has unlocked it.
struct ConfigTransferFixture : ::testing::Test, ScriptedLink {
    fs::path base;
    EcuImage image;
    PinPrompts prompts;
    ImageTransfer transfer{commands, state, image, prompts};
    std::unique_ptr<ConfigTransfer> files;
    PlainProgress bar;
    RecordingTimer timer;
    ScriptedController controller;
    std::size_t writesAtRefresh = 0;

    void SetUp() override {
        base = makeTempFolder("transfer");
        files = std::make_unique<ConfigTransfer>(transfer, state, image, prompts, base.string());
        ASSERT_TRUE(link.open(1));
        state.connected = true;
        state.softwareRevision = 11;
        controller.memory.fill(0x30);
        controller.setWord(242, 0xCDEF);  // the serial number, low half first
        controller.setWord(243, 0x89AB);
        controller.setWord(374, 0x1234);
        controller.attachTo(port);
        ASSERT_TRUE(transfer.readImage(bar));
        (void)checkControllerPin(image, prompts);  // the refresh after connecting clears it
        std::ofstream(base / "other.kcfg", std::ios::binary) << std::string(768, '\x77');
        prompts.openFile = FileAnswer{(base / "other.kcfg").string(), 0};
        log.events.clear();
    }
    void TearDown() override { fs::remove_all(base); }
    // "load to ECU" as its callers run it: the controls show the image before the marker.
    bool loadToEcu() {
        if (!files->loadToEcu("load to ECU", "no connection", bar, timer))
            return false;
        writesAtRefresh = log.writes().size();
        files->finishLoad(bar, timer);
        return true;
    }
    std::string wordFrame(std::size_t index, std::uint16_t value) {
        const CommandFrame f = writeWordFrame(index, value);
        return hex(f.data(), f.size());
    }
};

TEST_F(ConfigTransferFixture, FullLoadWritesThePinAndSerialTheControllerHolds) {
    ASSERT_EQ(image.word(374), 0);
    EXPECT_EQ(state.controllerPin, 0x1234);
    ASSERT_TRUE(loadToEcu());
    const auto writes = log.writes();
    ASSERT_EQ(writes.size(), 384u + 2u);
    EXPECT_EQ(writes[374], "D2 76 12 34 38 F2");
    EXPECT_EQ(writes[242], wordFrame(242, 0xCDEF));
    EXPECT_EQ(writes[243], wordFrame(243, 0x89AB));
    EXPECT_EQ(writes[100], wordFrame(100, 0x7777));
    EXPECT_EQ(writes[384], wordFrame(0, 0xAAAA));
    EXPECT_EQ(writes[385], "45 00 00 00 EF F2");
    EXPECT_EQ(writesAtRefresh, 384u);
    EXPECT_EQ(log.events.front(), "pause 250");
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true}));
}

TEST_F(ConfigTransferFixture, PinSetSinceConnectingIsTheOneKept) {
    prompts.newPin = PinDigits{5, 6, 7, 8};
    ASSERT_TRUE(setControllerPin(image, transfer, prompts));
    EXPECT_EQ(state.controllerPin, 0x5678);
    image.setWord(374, 0);
    log.events.clear();
    ASSERT_TRUE(loadToEcu());
    EXPECT_EQ(log.writes().at(374), wordFrame(374, 0x5678));
}

TEST_F(ConfigTransferFixture, WithoutControllerNoPinIsWrittenIntoTheImage) {
    link.close();
    ASSERT_TRUE(loadToEcu());
    EXPECT_EQ(image.word(374), 0);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"no connection"});
}

}  // namespace
