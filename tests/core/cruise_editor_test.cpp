#include <gtest/gtest.h>

#include "maps/cruise_editor.h"
#include "maps/cruise_settings.h"
#include "model/fields.h"
#include "model/units.h"
#include "support/fake_port.h"
#include "support/recording_sender.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

using Sent = std::vector<std::string>;

struct CruiseFixture : ::testing::Test {
    EcuImage image;
    RecordingSender sender;
    RecordingPrompts prompts;
    CruiseMapModel cruise{image, sender};
};

TEST_F(CruiseFixture, ButtonsAndKeysKeepTheDosesWithin0To250) {
    struct Case {
        int before;
        int step;
        int after;
    };
    for (const Case& c : {Case{248, 5, 250}, Case{3, -5, 0}, Case{7, 1, 8}, Case{7, 0, 7}}) {
        storeField(image, FieldId::CruiseMap, static_cast<std::uint32_t>(c.before), 9);
        cruise.refresh();
        sender.sent.clear();
        cruise.stepSelection({9, 1, 9, 1}, c.step);
        EXPECT_EQ(readField(image, FieldId::CruiseMap, 9), static_cast<std::uint32_t>(c.after));
        EXPECT_EQ(cruise.grid().text(9, 1), std::to_string(c.after));
        EXPECT_EQ(sender.sent, (Sent{"byte 109", "pause 5"}));
    }
    cruise.refresh();
    sender.sent.clear();
    cruise.keyReleased({1, 1, 0, 1}, 187, true);  // right-most first
    EXPECT_EQ(sender.sent, (Sent{"byte 101", "pause 5", "byte 100", "pause 5"}));
    EXPECT_EQ(cruise.grid().text(0, 1), "5");
    cruise.grid().setText(2, 1, "");  // the grid shows an empty cell as 0
    cruise.stepSelection({2, 1, 2, 1}, 1);
    EXPECT_EQ(cruise.grid().text(2, 1), "1");
}

TEST_F(CruiseFixture, LiveColumnFollowsTheRevisionsEdges) {
    struct Case {
        unsigned revision;
        std::uint16_t millibar;
        int column;
    };
    const Case cases[] = {{4, 999, 0}, {4, 1000, 1},  {4, 3600, 23}, {3, 899, 0},
                          {3, 900, 1}, {3, 2700, 23}, {2, 3000, 0}};
    LiveFrame frame;
    for (const Case& c : cases) {
        frame.setWord(79, c.millibar);
        cruise.updateLiveColumn(frame, c.revision);
        EXPECT_EQ(cruise.liveColumn(), c.column) << c.revision << " at " << c.millibar;
    }
    cruise.refreshHeading(4);
    EXPECT_EQ(cruise.grid().text(2, 0), "1.05");

    frame.setWord(79, 1000);
    cruise.updateLiveColumn(frame, 4);
    storeField(image, FieldId::CruiseMap, 40, 1);
    cruise.refresh();
    EXPECT_EQ(cruise.cellLook(1, 0, false, frame).fill, kLiveColumnColour);
    EXPECT_EQ(cruise.cellLook(1, 1, false, frame).fill, MapCellColour(40));
    EXPECT_EQ(cruise.cellLook(1, 1, true, frame).fill, kLiveColumnColour);
    EXPECT_FALSE(cruise.cellLook(2, 1, true, frame).fill);
    frame.setWord(65, 0x0008);  // cruise control holds
    const MapCellLook active = cruise.cellLook(1, 1, true, frame);
    EXPECT_EQ(active.fill, kActiveCellColour);
    EXPECT_EQ(active.textColour, Rgb{});
    EXPECT_EQ(cruise.cellLook(2, 1, false, frame).fill, MapCellColour(0));
}

TEST_F(CruiseFixture, CruiseDefaultsByMode) {
    storeField(image, FieldId::RpmSignalType, 4);
    storeField(image, FieldId::CruiseTime, 33);
    const std::pair<unsigned, Sent> cases[] = {
        {0, {}},
        {1, {"word 77", "byte 140"}},
        {2, {"word 78", "byte 140"}},
        {3, {"word 78", "word 77", "byte 140"}},
    };
    for (const auto& [mode, sent] : cases) {
        storeField(image, FieldId::CruiseMode, mode);
        sender.sent.clear();
        const CruiseSettingsShown shown = cruiseDefaultsChosen(image, sender);
        EXPECT_EQ(sender.sent, sent) << "mode " << mode;
        EXPECT_EQ(shown.seconds, mode == 0 ? 33 : 10);
    }
    EXPECT_EQ(image.word(78), RpmToPeriod(1050, 4));
    const CruiseSettingsShown shown = cruiseSettingsShown(image);
    EXPECT_EQ(shown.rpm, 1050);
    EXPECT_DOUBLE_EQ(shown.bar, 1.15);
}

TEST_F(CruiseFixture, CutOffLearningFromTheLiveSignal) {
    struct Case {
        unsigned mode;
        std::uint16_t throttle, airFlow;
        bool stored;
        std::uint16_t level;  // TpsCutOffLevel afterwards (500 before)
        const char* message;
    };
    const Case cases[] = {
        {1, 1000, 0, true, 1125, "TPS cutoff voltage: 4.31"},
        {1, 3133, 0, false, 500, "ERROR TPS CUTOFF VOLTAGE HIGH: 12.00"},
        {2, 1000, 0, true, 955, "TPS cutoff voltage: 3.66"},
        {2, 261, 0, false, 500, "ERROR TPS CUTOFF VOLTAGE LOW: 1.00"},
        {3, 0, 1010, true, 1136, "AirFlow cutoff voltage: 1.39"},
        {3, 0, 3279, false, 500, "AirFlow CUTOFF VOLTAGE HIGH: 4.00"},
        {4, 0, 300, false, 500, "AirFlow CUTOFF VOLTAGE LOW: 0.37"},
        {4, 0, 2020, true, 1894, "AirFlow cutoff voltage: 2.31"},
        {4, 0, 2000, true, 1875, "AirFlow cutoff voltage: 2.29"},  // a whole 5 % stays whole
        {0, 1000, 1000, false, 500, ""},
    };
    for (const Case& c : cases) {
        storeField(image, FieldId::TpsCutOffMode, c.mode);
        storeField(image, FieldId::TpsCutOffLevel, 500);
        storeField(image, FieldId::CutOffTime, 37);
        LiveFrame frame;
        frame.setWord(4, c.throttle);
        frame.setWord(5, c.airFlow);
        sender.sent.clear();
        prompts.messages.clear();
        const CutOffLearning out = learnCutOffLevel(image, sender, prompts, frame);
        EXPECT_EQ(out.stored, c.stored) << "mode " << c.mode;
        EXPECT_EQ(image.word(76), c.level) << "mode " << c.mode;
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(prompts.messages.size(), c.mode == 0 ? 0u : 1u);
        EXPECT_EQ(readField(image, FieldId::CutOffTime), 100u);
        EXPECT_EQ(out.cutOffTime, 100);
        EXPECT_EQ(sender.sent, c.stored ? (Sent{"word 76", "byte 151"}) : (Sent{"byte 151"}));
        EXPECT_TRUE(out.levelShown);
    }
}

}  // namespace
