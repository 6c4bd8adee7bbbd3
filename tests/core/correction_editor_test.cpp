#include <gtest/gtest.h>

#include "maps/correction_editor.h"
#include "model/fields.h"
#include "support/recording_sender.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

using Sent = std::vector<std::string>;

constexpr int kEgt = 0;
constexpr int kGasTemperature = 2;
constexpr int kManifold = 3;
constexpr int kDiffPressure = 6;
constexpr int kKeyPlus = 107;
constexpr int kKeyMinus = 189;
constexpr int kKeyRight = 39;

struct CorrectionFixture : ::testing::Test {
    EcuImage image;
    RecordingSender sender;
    CorrectionMapsModel model{image, sender};

    void setByte(int map, int column, int value) {
        storeField(image, FieldId::CorrectionMaps, static_cast<std::uint32_t>(value),
                   correctionMaps()[map].firstByte + static_cast<std::size_t>(column));
    }
    int byteAt(int map, int column) const {
        return static_cast<std::int8_t>(
            readField(image, FieldId::CorrectionMaps,
                      correctionMaps()[map].firstByte + static_cast<std::size_t>(column)));
    }
};

TEST_F(CorrectionFixture, RefreshShowsSignedBytesAndEnableBits) {
    setByte(kManifold, 4, -88);
    image.setByte(546, 0b1001000);
    model.refresh();
    EXPECT_EQ(model.grid(kManifold).text(4, 1), "-88");
    EXPECT_EQ(model.grid(kManifold).text(0, 0), "0.25");
    EXPECT_EQ(model.grid(kGasTemperature).text(0, 0), "-20");
    EXPECT_EQ(model.enableItems(), (std::array<int, 7>{0, 0, 0, 1, 0, 0, 1}));

    image.setByte(547, 0x5A);
    EXPECT_TRUE(model.enableChosen(kEgt, 1));
    EXPECT_FALSE(model.enableChosen(kEgt, -1));
    EXPECT_TRUE(model.enableChosen(kDiffPressure, 0));
    EXPECT_EQ(image.byte(546), 0b0001001);
    EXPECT_EQ(image.byte(547), 0x5A);
    EXPECT_EQ(sender.sent, (Sent{"word 273", "word 273"}));
}

TEST_F(CorrectionFixture, KeysStepWithinLimitsRightmostFirstWithPauses) {
    struct Case {
        int before;
        int key;
        bool shift;
        int after;
    };
    const Case cases[] = {
        {98, kKeyPlus, true, 100}, {-88, kKeyMinus, true, -90}, {10, kKeyPlus, false, 11},
        {10, kKeyMinus, false, 9}, {42, kKeyRight, true, 42},   {120, kKeyRight, false, 100},
    };
    for (const Case& c : cases) {
        setByte(kManifold, 7, c.before);
        model.refresh();
        model.grid(kManifold).setText(7, 1, std::to_string(c.before));
        sender.sent.clear();
        const MapEditOutcome out = model.keyReleased(kManifold, {7, 1, 7, 1}, c.key, c.shift);
        EXPECT_EQ(byteAt(kManifold, 7), c.after) << c.before << " key " << c.key;
        EXPECT_EQ(model.grid(kManifold).text(7, 1), std::to_string(c.after));
        EXPECT_EQ(sender.sent, (Sent{"byte 633", "pause 5"}));
        EXPECT_EQ(out.cellsWritten, 1);
    }

    model.refresh();
    sender.sent.clear();
    model.stepSelection(kDiffPressure, {14, 1, 20, 1}, 1);  // clipped to the map's 16 columns
    EXPECT_EQ(sender.sent, (Sent{"byte 713", "pause 5", "byte 712", "pause 5"}));
}

TEST_F(CorrectionFixture, TextThatDoesNotParseStopsAtItsColumn) {
    model.refresh();
    model.grid(kEgt).setText(2, 1, "x1");
    sender.sent.clear();
    const MapEditOutcome out = model.stepSelection(kEgt, {1, 1, 3, 1}, 5);
    EXPECT_EQ(out.cellsWritten, 1);
    EXPECT_EQ(out.message, "'x1' is not a valid integer value");
    EXPECT_EQ(byteAt(kEgt, 3), 5);
    EXPECT_EQ(byteAt(kEgt, 1), 0);
    EXPECT_EQ(sender.sent, (Sent{"byte 557", "pause 5"}));
}

TEST_F(CorrectionFixture, LiveColumnsAndAppliedCorrections) {
    struct Case {
        int map;
        std::uint16_t input;
        int column;
    };
    const Case cases[] = {
        {kManifold, 249, 0},          {kManifold, 250, 1},          {kManifold, 2600, 23},
        {kManifold, 65535, 23},       {kGasTemperature, 0xFFEB, 0},  // -21 degrees
        {kGasTemperature, 0xFFEC, 1}, {kGasTemperature, 0, 5},      {kGasTemperature, 90, 23},
        {kDiffPressure, 2600, 15},
    };
    for (const Case& c : cases) {
        LiveFrame frame;
        frame.setWord(liveSignalDef(correctionMaps()[c.map].input).word, c.input);
        model.liveUpdate(frame);
        EXPECT_EQ(model.liveColumn(c.map), c.column) << c.map << " at " << c.input;
    }
    EXPECT_EQ(model.appliedText(kEgt), "0");
    LiveFrame frame;
    frame.setWord(51, static_cast<std::uint16_t>(-57));
    frame.setWord(58, 57);
    model.liveUpdate(frame);
    EXPECT_EQ(model.appliedText(kEgt), "-5");
    EXPECT_EQ(model.appliedText(kDiffPressure), "5");

    frame.setWord(79, 399);  // column 2: from 350 mbar
    model.liveUpdate(frame);
    const MapCellLook live = model.cellLook(kManifold, 2, 0);
    EXPECT_EQ(live.fill, kLiveColumnColour);
    EXPECT_EQ(live.textColour, kLiveColumnTextColour);
    EXPECT_TRUE(model.cellLook(kManifold, 2, 1).drawText);
    EXPECT_FALSE(model.cellLook(kManifold, 3, 1).drawText);
}

TEST(CorrectionModel, AppliedFieldsStartAtZeroPointZero) {
    EcuImage image;
    RecordingSender sender;
    const CorrectionMapsModel model{image, sender};
    EXPECT_EQ(model.appliedText(kManifold), "0.0");
}

}  // namespace
