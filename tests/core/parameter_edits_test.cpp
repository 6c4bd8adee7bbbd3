#include <gtest/gtest.h>

#include "link/image_transfer.h"
#include "model/parameter_edits.h"
#include "model/pin.h"
#include "model/units.h"
#include "support/fake_port.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct ScriptedPrompts : Prompts {
    std::optional<PinDigits> pin;
    std::optional<PinDigits> newPin;
    int asked = 0;
    std::vector<std::string> messages;
    void message(const std::string& t) override { messages.push_back(t); }
    std::optional<PinDigits> askPin() override {
        ++asked;
        return pin;
    }
    std::optional<PinDigits> askNewPin() override { return newPin; }
};

struct EditFixture : ::testing::Test, ScriptedLink {
    EcuImage image;
    ScriptedPrompts prompts;
    ImageTransfer transfer{commands, state, image, prompts};
    ParameterEditor editor{image, transfer};

    void SetUp() override { ASSERT_TRUE(link.open(1)); }
    std::string word(std::size_t index) const {
        const auto f = writeWordFrame(index, image.word(index));
        return hex(f.data(), f.size());
    }
    std::string byte(std::size_t offset) const {
        const auto f = writeByteFrame(offset, image.byte(offset));
        return hex(f.data(), f.size());
    }
};

TEST_F(EditFixture, MinimumPressureWithoutVacuumNeverBelow1Point1) {
    EXPECT_DOUBLE_EQ(editor.minPressureEdited(0.5), 1.1);
    EXPECT_EQ(image.word(184), 1100);
    EXPECT_EQ(log.writes(), std::vector<std::string>{"D1 B8 04 4C 83 F2"});
    storeField(image, FieldId::RegulatorVacuumConnected, 1);
    EXPECT_DOUBLE_EQ(editor.minPressureEdited(0.5), 0.5);
    EXPECT_EQ(image.word(184), 500);
}

TEST_F(EditFixture, VacuumChoiceSetsTheMinimumPressureThroughItsRule) {
    EXPECT_EQ(editor.vacuumChosen(1), 0.5);
    EXPECT_EQ(image.word(184), 500);
    EXPECT_EQ(readField(image, FieldId::RegulatorVacuumConnected), 1u);
    log.events.clear();
    EXPECT_EQ(editor.vacuumChosen(0), 1.2);
    EXPECT_EQ(image.word(184), 1199);  // the double nearest 1.2 lies below it
    EXPECT_EQ(log.writes(), (std::vector<std::string>{word(270), word(184)}));
    EXPECT_FALSE(editor.vacuumChosen(-1).has_value());
}

TEST_F(EditFixture, RpmSnapsToWhatTheControllerUses) {
    EXPECT_EQ(editor.switchOnRpmEdited(1210), 1200);
    EXPECT_EQ(image.word(181), RpmToPeriod(1200, 0));
    EXPECT_EQ(image.word(181), 23041);
    // Changing the signal type from "1" to "4" converts the switch-on rpm again.
    log.events.clear();
    EXPECT_EQ(editor.coilTypeChosen(3, 1200), 1200);
    EXPECT_EQ(image.word(181), 5760);
    EXPECT_EQ(log.writes(), (std::vector<std::string>{byte(125), word(181)}));
}

TEST_F(EditFixture, CoilFollowUpRunsOnlyForTheVacuumRpmMapType) {
    int followUps = 0;
    editor.setCoilTypeFollowUp([&] { ++followUps; });
    (void)editor.coilTypeChosen(2, 1000);
    EXPECT_EQ(followUps, 0);
    storeField(image, FieldId::MainMapType, 1);
    (void)editor.coilTypeChosen(2, 1000);
    EXPECT_EQ(followUps, 1);
}

TEST_F(EditFixture, WikaPresetStoresAndSendsInOrder) {
    image.setWord(270, 0x1014);  // valve powered, sensor normal, auto return on
    const auto shown = editor.levelSensorChosen(5, {1, 1, 1, 1});
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->points, (std::array<double, 4>{4.89, 4.8, 4.7, 4.1}));
    EXPECT_TRUE(shown->invertTicked);
    EXPECT_EQ(image.word(187), 4005);
    EXPECT_EQ(image.word(188), 3932);
    EXPECT_EQ(image.word(189), 3850);
    EXPECT_EQ(image.word(190), 3358);
    EXPECT_EQ(image.byte(130), 5);
    EXPECT_EQ(image.word(270), 0x1004);
    EXPECT_EQ(log.writes(), (std::vector<std::string>{byte(130), word(270), word(187), word(188),
                                                      word(189), word(190)}));
}

TEST_F(EditFixture, LevelTypeWithoutPresetKeepsTheShownPoints) {
    const auto shown = editor.levelSensorChosen(7, {1.0, 2.0, 3.0, 4.0});
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(image.word(187), 819);
    EXPECT_EQ(image.byte(130), 7);
}

TEST_F(EditFixture, InvertSensorChangesOnlyItsBitAndSendsTheWholeWord) {
    image.setWord(270, 0x1014);
    editor.edit(FieldId::LevelSensorNormal, 1);
    EXPECT_EQ(image.byte(540), 0x04);
    EXPECT_EQ(image.byte(541), 0x10);
    EXPECT_EQ(log.writes(), std::vector<std::string>{word(270)});
}

TEST_F(EditFixture, RpmSignalLevelSetsTheAuxiliaryWordAndNoItemSendsNothing) {
    const auto vis = editor.rpmSignalLevelChosen(1);
    EXPECT_TRUE(vis->thresholdShown);
    EXPECT_EQ(image.word(237), 4);
    EXPECT_EQ(readField(image, FieldId::RpmSignalLevel), 1u);
    const std::size_t before = log.writes().size();
    EXPECT_FALSE(editor.edit(FieldId::GasTempSensorType, -1));  // no item selected: nothing
    EXPECT_FALSE(editor.edit(FieldId::OnTemperature, -1));
    EXPECT_EQ(log.writes().size(), before);
}

TEST(Pin, PackingPutsEachDigitInItsOwnNibble) {
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(packPin(d, d, d, d), d * 4369);
    EXPECT_EQ(packPin(1, 2, 3, 4), 0x1234);
    EXPECT_EQ(unpackPin(0x9876), (std::array<int, 4>{9, 8, 7, 6}));
    EXPECT_EQ(pinDigitFilter(0x60), '0');
    EXPECT_EQ(pinDigitFilter(0x69), '9');
    EXPECT_EQ(pinDigitFilter('a'), '1');
    EXPECT_EQ(pinDigitFilter('A'), 0);
    EXPECT_EQ(pinDigitFilter(8), 8);
    EXPECT_EQ(pinDigitFilter(13), 13);
    EXPECT_EQ(pinDigitFilter('5'), '5');
    EXPECT_EQ(pinDigitFilter('j'), 0);
    EXPECT_TRUE(numberEntryAccepts('-'));
    EXPECT_FALSE(numberEntryAccepts('x'));
}

TEST_F(EditFixture, PinCheckAsksOnlyWhenAPinIsSet) {
    EXPECT_EQ(checkControllerPin(image, prompts), PinCheckOutcome::NoPin);
    EXPECT_EQ(prompts.asked, 0);
    image.setWord(374, 0x1234);
    prompts.pin = PinDigits{1, 2, 3, 4};
    EXPECT_EQ(checkControllerPin(image, prompts), PinCheckOutcome::Accepted);
    EXPECT_EQ(image.word(374), 0);
    EXPECT_EQ(checkControllerPin(image, prompts), PinCheckOutcome::NoPin);  // not asked again
    EXPECT_EQ(prompts.asked, 1);
    image.setWord(374, 0x1234);
    prompts.pin = PinDigits{1, 2, 3, 5};
    EXPECT_EQ(checkControllerPin(image, prompts), PinCheckOutcome::Refused);
    EXPECT_EQ(image.word(374), 0);
    image.setWord(374, 0x1234);
    prompts.pin.reset();
    EXPECT_EQ(checkControllerPin(image, prompts), PinCheckOutcome::Refused);
    EXPECT_TRUE(log.writes().empty());  // the check never sends
}

TEST_F(EditFixture, SetPinWritesWord374) {
    EXPECT_FALSE(setControllerPin(image, transfer, prompts));
    EXPECT_TRUE(log.writes().empty());
    prompts.newPin = PinDigits{4, 3, 2, 1};
    EXPECT_TRUE(setControllerPin(image, transfer, prompts));
    EXPECT_EQ(image.word(374), 0x4321);
    EXPECT_EQ(log.writes(), std::vector<std::string>{"D2 76 43 21 56 F2"});
}

}  // namespace
