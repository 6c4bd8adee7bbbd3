#include <gtest/gtest.h>

#include "maps/cruise_editor.h"
#include "maps/double_injection.h"
#include "maps/main_map_editor.h"
#include "model/codec.h"
#include "model/switch_over_edits.h"
#include "support/recording_sender.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

using Sent = std::vector<std::string>;

struct SwitchOverFixture : ::testing::Test {
    EcuImage image;
    RecordingSender sender;
    SwitchOverEditor editor{image, sender};
};

TEST_F(SwitchOverFixture, CutOffLevelTakesTheUnitOfItsModeAndIsAlwaysSent) {
    // 1.0 V: (1.0 * 819.2) * 0.3185 = 260.9 in the TPS modes, 819 in the air-flow modes; the
    // modes the list does not hold keep the word.
    const std::pair<unsigned, unsigned> cases[] = {{0, 260}, {1, 260}, {2, 260},
                                                   {3, 819}, {4, 819}, {5, 7}};
    for (const auto& [mode, stored] : cases) {
        storeField(image, FieldId::TpsCutOffMode, mode);
        storeField(image, FieldId::TpsCutOffLevel, 7);
        sender.sent.clear();
        editor.cutOffLevelEdited(1.0);
        EXPECT_EQ(readField(image, FieldId::TpsCutOffLevel), stored) << "mode " << mode;
        EXPECT_EQ(sender.sent, Sent{"word 76"});
    }
}

TEST_F(SwitchOverFixture, CdiLevelsOutsideTheirRangeChangeAndSendNothing) {
    struct Case {
        bool threshold;
        int which;
        double value;
        bool stored;
        std::uint32_t word;
    };
    const Case cases[] = {
        {true, 0, 254.9, true, 254}, {true, 1, 255, false, 0},  {true, 2, -1, false, 0},
        {true, 0, 65536, true, 0},  // judged as the signed word it becomes
        {false, 0, 100, true, 100},  {false, 3, 101, false, 0}, {false, 2, -0.5, true, 0},
    };
    for (const Case& c : cases) {
        image = EcuImage{};
        sender.sent.clear();
        const FieldId field =
            c.threshold ? static_cast<FieldId>(static_cast<int>(FieldId::CdiThreshold1) + c.which)
                        : static_cast<FieldId>(static_cast<int>(FieldId::CdiValue1) + c.which);
        const bool stored = c.threshold ? editor.cdiThresholdEdited(c.which, c.value)
                                        : editor.cdiValueEdited(c.which, c.value);
        EXPECT_EQ(stored, c.stored) << c.value;
        EXPECT_EQ(readField(image, field), c.word) << c.value;
        EXPECT_EQ(sender.sent.size(), c.stored ? 1u : 0u) << c.value;
    }
}

TEST_F(SwitchOverFixture, EveryEmulatorModeIsShownAgainByTheRefresh) {
    for (int index = 0; index < static_cast<int>(kEmulatorModes.size()); ++index) {
        sender.sent.clear();
        const auto shown = editor.emulatorModeChosen(index);
        ASSERT_TRUE(shown);
        EXPECT_EQ(emulatorModeItem(image), index);
        EXPECT_EQ(sender.sent, (Sent{"word 370", "word 371", "word 372", "word 373", "word 274"}));
    }
    const auto shown = editor.emulatorModeChosen(8);  // "Diesel Map (Mode 3)"
    EXPECT_EQ(image.byte(549) & 0b101, 0b101);
    EXPECT_EQ(shown->emulatorType, 1);
    EXPECT_EQ(shown->values, (std::array<int, 4>{0, 30, 50, 60}));
    EXPECT_EQ(image.word(371), 30);
    EXPECT_EQ(emulatorModeItem(image), 3 + 5);

    sender.sent.clear();
    EXPECT_FALSE(editor.emulatorModeChosen(-1));
    EXPECT_TRUE(sender.sent.empty());
}

TEST_F(SwitchOverFixture, EveryPowerClassIsShownAgainByTheRefresh) {
    for (int index = 0; index < static_cast<int>(kPowerClasses.size()); ++index) {
        sender.sent.clear();
        ASSERT_TRUE(editor.enginePowerChosen(index));
        EXPECT_EQ(enginePowerItem(image), index);
        EXPECT_EQ(sender.sent, (Sent{"word 274", "word 175"}));
    }
    const auto shown = editor.enginePowerChosen(5);  // "250 - 350 HP"
    EXPECT_EQ(shown->dynamicItem, 1);
    EXPECT_EQ(shown->dynamicK, 120);
    EXPECT_EQ(readField(image, FieldId::DynamicKOn), 1u);
    EXPECT_EQ(image.word(175), 120);
    EXPECT_EQ((220 - 120) / 20, enginePowerItem(image));
    EXPECT_FALSE(editor.enginePowerChosen(9));
    EXPECT_EQ(assumedSoftwareRevision(2), 3u);
    EXPECT_FALSE(assumedSoftwareRevision(-1));
}

TEST_F(SwitchOverFixture, TwoItemListsStoreNothingWithoutAnItem) {
    storeField(image, FieldId::FreqFullGrid, 1);
    EXPECT_FALSE(storeShown(image, FieldId::FreqFullGrid, -1));
    EXPECT_EQ(readField(image, FieldId::FreqFullGrid), 1u);
}

struct DoubleTimeFixture : SwitchOverFixture {
    PlainProgress progress;
    MainMapEditor mainMap{image, sender, progress};
    CruiseMapModel cruise{image, sender};

    DoubleInjectionOutcome choose(int item) {
        sender.sent.clear();
        return doubleInjectionTimeChosen(image, sender, item, cruise.grid(), mainMap.grid());
    }
};

TEST_F(DoubleTimeFixture, HalvingAndDoublingBothMaps) {
    storeField(image, FieldId::MainMap, 99, mainMapElement(3, 2));
    storeField(image, FieldId::CruiseMap, 200, 5);
    DoubleInjectionOutcome out = choose(1);
    EXPECT_EQ(mainMapCell(image, 3, 2), 49);
    EXPECT_EQ(readField(image, FieldId::CruiseMap, 5), 100u);
    EXPECT_EQ(out.mainChanged, std::vector<std::size_t>{mainMapElement(3, 2)});
    EXPECT_EQ(out.cruiseChanged, std::vector<std::size_t>{5});

    storeField(image, FieldId::MainMap, 200, 0);  // capped at 125 before doubling
    out = choose(0);
    EXPECT_EQ(mainMapCell(image, 3, 2), 98);
    EXPECT_EQ(mainMapCell(image, 1, 1), 250);
    EXPECT_EQ(readField(image, FieldId::DoubleInjectionTime), 0u);

    // The item already in force changes no byte but still sends everything.
    out = choose(0);
    EXPECT_TRUE(out.mainChanged.empty() && out.cruiseChanged.empty());
    EXPECT_EQ(sender.sent.size(), 1u + 152u);
}

TEST_F(DoubleTimeFixture, ConnectedSendsCruiseColumnsThenMainMapColumnByColumn) {
    storeField(image, FieldId::CruiseMap, 40, 23);
    storeField(image, FieldId::MainMap, 60, mainMapElement(2, 1));
    const DoubleInjectionOutcome out = choose(1);
    ASSERT_TRUE(out.mapsSent);
    ASSERT_EQ(sender.sent.size(), 153u);
    EXPECT_EQ(sender.sent[0], "word 274");
    EXPECT_EQ(sender.sent[1], "byte 100");
    EXPECT_EQ(sender.sent[24], "byte 123");
    EXPECT_EQ(sender.sent[25], "byte 167");  // column 1, row 1
    EXPECT_EQ(sender.sent[26], "byte 175");  // column 1, row 2
    EXPECT_EQ(sender.sent[41], "byte 168");  // column 2, row 1
    EXPECT_EQ(cruise.grid().text(23, 1), "20");
    EXPECT_EQ(mainMap.grid().text(2, 1), "30");

    sender.isConnected = false;
    storeField(image, FieldId::CruiseMap, 40, 23);
    const DoubleInjectionOutcome offline = choose(0);
    EXPECT_FALSE(offline.mapsSent);
    EXPECT_EQ(sender.sent, Sent{"word 274"});
    EXPECT_EQ(readField(image, FieldId::CruiseMap, 23), 80u);
    // The grids follow the image without a controller too, so a later "+1" starts from it.
    EXPECT_EQ(cruise.grid().text(23, 1), "80");
    EXPECT_EQ(mainMap.grid().text(2, 1), "60");
    EXPECT_FALSE(choose(-1).done);
}

}  // namespace
