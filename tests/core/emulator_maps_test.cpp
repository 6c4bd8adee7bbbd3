#include <gtest/gtest.h>

#include <algorithm>

#include "emulation/emulator_maps.h"
#include "support/recording_sender.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

constexpr unsigned kAirFlow = 5;
constexpr unsigned kK1 = 9;

struct EmuFixture : ::testing::Test {
    EcuImage image;
    RecordingSender sender;
    EmulatorMaps maps{image, sender};

    GridTexts& tps() { return maps.grid(EmuGrid::Tps); }
    GridTexts& step() { return maps.grid(EmuGrid::Step); }
    std::vector<std::string> row(GridTexts& g, int r) {
        std::vector<std::string> texts;
        for (int c = 1; c <= kEmuColumns; ++c)
            texts.push_back(g.text(c, r));
        return texts;
    }
    void setAxisTexts(std::vector<std::string> texts) {
        for (int c = 1; c <= kEmuColumns; ++c)
            tps().setText(c, 0, texts[static_cast<std::size_t>(c - 1)]);
    }
    long count(const std::string& prefix) const {
        return std::count_if(sender.sent.begin(), sender.sent.end(),
                             [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
    }
    long axisWordsSent() const {
        long n = 0;
        for (int w = 26; w <= 37; ++w)
            n += std::count(sender.sent.begin(), sender.sent.end(), "word " + std::to_string(w));
        return n;
    }
    std::uint16_t axis(int column) const {
        return static_cast<std::uint16_t>(
            readField(image, FieldId::TpsEmulatorAxis, static_cast<std::size_t>(column - 1)));
    }
};

TEST(EmuAxis, EachInputHasItsConversionWithTheExtraCount) {
    struct Case {
        unsigned channel;
        const char* text;
        std::optional<std::uint16_t> word;
        bool message;
    };
    const Case cases[] = {
        {4, "4.0", 1044, false},  // trunc(4 x 819.2 x 0.3185 + 1)
        {kK1, "0.3", 79, false},  // 78.27 + 1
        {10, "0", 1, false},      // the extra count even at 0 V
        {kAirFlow, "0.2", 164, false},
        {72, "4", 909, false},  // injection time, no extra count
        {74, "0.5", 113, false},
        {7, "1.0", std::nullopt, false},  // no such input: the word keeps its value
        {kK1, "x1", std::nullopt, true},
        {kK1, "300", std::nullopt, true},  // no word holds it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const AxisConversion a = emuAxisWord(c.channel, c.text, '.', 3);
        EXPECT_EQ(a.word, c.word);
        EXPECT_EQ(!a.message.empty(), c.message);
    }
    EXPECT_EQ(emuAxisText(kK1, 1044, '.'), "4.00");
    EXPECT_EQ(emuAxisText(72, 2727, '.'), "12.00");  // 11.9988 to three digits
    EXPECT_EQ(emuAxisText(kAirFlow, 164, '.'), "0.20");
    EXPECT_FALSE(emuAxisText(7, 100, '.').has_value());
}

TEST(EmuLive, ColumnsFollowTheStepperAndTheChosenInput) {
    for (auto [position, column] : {std::pair{0, 0}, {14, 0}, {15, 1}, {59, 3}, {200, 11}})
        EXPECT_EQ(stepLiveColumn(static_cast<std::uint16_t>(position)), column) << position;
    EcuImage image;
    storeField(image, FieldId::EmuInputChannel, kK1);
    for (std::size_t k = 0; k < kEmuColumns; ++k)
        storeField(image, FieldId::TpsEmulatorAxis, static_cast<std::uint32_t>(100 * k), k);
    LiveFrame frame;
    for (auto [input, column] : {std::pair{50, 0}, {100, 1}, {550, 5}, {5000, 11}}) {
        frame.setWord(kK1, static_cast<std::uint16_t>(input));
        EXPECT_EQ(tpsLiveColumn(frame, image), column) << input;
    }
    EXPECT_EQ(emuKeyStep(107), 5);
    EXPECT_EQ(emuKeyStep(189), -5);
}

TEST_F(EmuFixture, InputChangeSendsTheChannelByteThenEveryAxisWord) {
    setAxisTexts({"0", "0.3", "0.6", "0.9", "1.2", "1.5", "1.8", "2.1", "2.4", "2.7", "3", "4"});
    EXPECT_TRUE(maps.inputChosen(1).message.empty());  // "AIR FLOW"
    EXPECT_EQ(readField(image, FieldId::EmuInputChannel), kAirFlow);
    std::vector<std::string> expected{"pause 1", "byte 20", "pause 10"};
    for (int w = 26; w <= 37; ++w)
        expected.insert(expected.end(), {"pause 1", "word " + std::to_string(w), "pause 10"});
    EXPECT_EQ(sender.sent, expected);
    EXPECT_EQ(axis(12), 3277);  // trunc(4 x 819.2 + 1)

    sender.sent.clear();
    tps().setText(5, 0, "1,2");
    EXPECT_FALSE(maps.inputChosen(2).message.empty());
    EXPECT_EQ(readField(image, FieldId::EmuInputChannel), kAirFlow);
    EXPECT_TRUE(sender.sent.empty());
}

TEST_F(EmuFixture, ValueButtonsStopAtPlusAndMinusHundred) {
    struct Case {
        int before;
        int step;
        int after;
    };
    for (const Case c : {Case{-100, -1, -100}, {98, 5, 100}, {-98, 5, -93}, {100, 1, 100}}) {
        tps().setText(4, 2, std::to_string(c.before));
        sender.sent.clear();
        EXPECT_EQ(maps.stepCells(EmuGrid::Tps, {4, 2, 4, 2}, c.step).cellsWritten, 1);
        EXPECT_EQ(tps().text(4, 2), std::to_string(c.after));
        EXPECT_EQ(static_cast<std::int8_t>(image.byte(88 + 3)), c.after);
        EXPECT_EQ(sender.sent, std::vector<std::string>{"byte 91"});
    }
    // Only percentage cells are stepped: row 0 and column 0 of a wider selection stay.
    EXPECT_EQ(maps.stepCells(EmuGrid::Step, {0, 0, 2, 2}, 1).cellsWritten, 4);
    EXPECT_EQ(image.byte(27), 1);
    EXPECT_EQ(image.byte(40), 1);
    EXPECT_EQ(step().text(1, 0), "14");
}

TEST_F(EmuFixture, Mode3SignsFollowTheDirectionAndTheWriteOutSendsEverything) {
    storeField(image, FieldId::DnaSignal1Falling, 0);  // channel 1 rising
    storeField(image, FieldId::DnaSignal2Falling, 1);
    maps.showTpsTable(11, 2);
    maps.showStepTable();
    const PresetShown shown = maps.presetChosen(3);
    EXPECT_EQ(row(step(), 1), (std::vector<std::string>{"0", "-2", "-5", "-10", "-15", "-15", "-20",
                                                        "-20", "-20", "-20", "-20", "-20"}));
    EXPECT_EQ(row(step(), 2), (std::vector<std::string>{"0", "2", "5", "10", "15", "15", "20", "20",
                                                        "20", "20", "20", "20"}));
    EXPECT_EQ(static_cast<std::int8_t>(image.byte(27 + 6)), -20);
    EXPECT_EQ(image.byte(39 + 6), 20);
    EXPECT_EQ(readField(image, FieldId::StepEmulatorOn), 1u);
    EXPECT_EQ(readField(image, FieldId::TpsEmulatorOn), 0u);
    EXPECT_EQ(shown.stepEmulatorItem, 1);
    EXPECT_EQ(shown.tpsEmulatorItem, 0);
    EXPECT_FALSE(shown.inputItem.has_value());
    EXPECT_EQ(count("byte "), 48);
    EXPECT_EQ(axisWordsSent(), 12);
    EXPECT_EQ(sender.sent[0], "pause 5");
    EXPECT_EQ(sender.sent[1], "word 273");
    // The refresh knows the preset again.
    EXPECT_EQ(maps.dnaTypeShown().kind, DnaTypeShown::Kind::Item);
    EXPECT_EQ(maps.dnaTypeShown().item, 3);
}

TEST_F(EmuFixture, DynamicPresetForcesTheK1InputAndConvertsTheAxisAsItsVolts) {
    storeField(image, FieldId::EmuInputChannel, kAirFlow);
    setAxisTexts({"0", "0.3", "0.6", "0.9", "1.2", "1.5", "1.8", "2.1", "2.4", "2.7", "3", "4"});
    const PresetShown shown = maps.presetChosen(6);  // "DYNAMIC-1"
    EXPECT_EQ(readField(image, FieldId::EmuInputChannel), kK1);
    EXPECT_EQ(shown.inputItem, kInputItemK1);
    EXPECT_EQ(sender.sent.front(), "byte 20");
    EXPECT_EQ(axis(12), 1044);
    EXPECT_EQ(axis(2), 79);
    EXPECT_EQ(readField(image, FieldId::TpsEmulatorOn), 1u);
    EXPECT_EQ(readField(image, FieldId::StepEmulatorOn), 0u);
    // Both channels rise in a cleared image.
    EXPECT_EQ(tps().text(7, 1), "-15");
    EXPECT_EQ(maps.dnaTypeShown().item, 6);

    // Both maps on: neither preset, "CUSTOM".
    storeField(image, FieldId::StepEmulatorOn, 1);
    EXPECT_EQ(maps.dnaTypeShown().kind, DnaTypeShown::Kind::Custom);
    // "OFF" clears all four rows.
    maps.presetChosen(0);
    EXPECT_EQ(tps().text(7, 1), "0");
    EXPECT_EQ(image.byte(76 + 6), 0);
    EXPECT_EQ(maps.dnaTypeShown().kind, DnaTypeShown::Kind::Unchanged);
}

TEST_F(EmuFixture, SetBuildsTheAxisFromTheMeasuredRange) {
    SetOutcome narrow = maps.setPressed(1.2, 2.1, 3);
    EXPECT_EQ(narrow.message, kMsgSignalRangeTooSmall);
    EXPECT_DOUBLE_EQ(narrow.minimum, 1.2);
    EXPECT_TRUE(sender.sent.empty());

    storeField(image, FieldId::EmuInputChannel, kK1);
    const SetOutcome set = maps.setPressed(1.0, 4.0, 3);
    EXPECT_TRUE(set.message.empty());
    EXPECT_EQ(row(tps(), 0), (std::vector<std::string>{"1", "1.25", "1.3", "1.6", "2", "2.375",
                                                       "2.725", "3", "3.25", "3.5", "3.75", "4"}));
    EXPECT_EQ(axis(1), 261);  // trunc(1 x 819.2 x 0.3185 + 1)
    EXPECT_EQ(set.preset.stepEmulatorItem, 1);
    // Without measuring the editors are limited to 0..5 V: a falling axis from 5 V.
    EXPECT_EQ(maps.setPressed(20.0, -1.0, -1).maximum, 0.0);
    EXPECT_EQ(tps().text(1, 0), "5");
}

TEST_F(EmuFixture, AxisEditingSavesTheAxisWhenLeft) {
    const AxisEditLayout on = maps.axisEditChanged(true);
    EXPECT_EQ(on.fixedRows, 0);
    EXPECT_FALSE(on.valueButtonsEnabled);
    EXPECT_TRUE(maps.axisCellEditable(1, 0));
    EXPECT_FALSE(maps.axisCellEditable(0, 0));
    EXPECT_FALSE(maps.axisCellEditable(3, 1));
    // The grid editor edits in place only the throttle grid's axis; only that grid takes keys.
    EXPECT_TRUE(maps.model(EmuGrid::Tps).editableInPlace(1, 0));
    EXPECT_FALSE(maps.model(EmuGrid::Step).editableInPlace(1, 0));
    EXPECT_EQ(maps.model(EmuGrid::Tps).keyStep(kKeyMinusMain, false), -5);
    EXPECT_FALSE(maps.model(EmuGrid::Step).keyStep(kKeyPlus, false));
    storeField(image, FieldId::EmuInputChannel, kK1);
    setAxisTexts({"0", "0.3", "0.6", "0.9", "1.2", "1.5", "1.8", "2.1", "2.4", "2.7", "3", "4"});
    const AxisEditLayout off = maps.axisEditChanged(false);
    EXPECT_TRUE(off.valueButtonsEnabled);
    EXPECT_FALSE(maps.axisCellEditable(1, 0));
    EXPECT_EQ(sender.sent.size(), 24u);
    EXPECT_EQ(sender.sent[22], "word 37");
    EXPECT_EQ(sender.sent[23], "pause 10");
    EXPECT_EQ(axis(12), 1044);
}

TEST_F(EmuFixture, RefreshShowsSignedTablesAndTheAxisInItsUnit) {
    storeField(image, FieldId::EmuInputChannel, kK1);
    storeField(image, FieldId::TpsEmulatorAxis, 79, 1);
    storeField(image, FieldId::TpsEmulatorAxis, 1044, 11);
    image.setByte(76, 0xF1);  // -15
    image.setByte(39, 30);
    const EmuRangeShown range = maps.showTpsTable(5, 2);
    maps.showStepTable();
    EXPECT_EQ(tps().text(0, 0), "Var");
    EXPECT_EQ(tps().text(1, 1), "-15");
    EXPECT_EQ(tps().text(2, 0), "0.30");
    EXPECT_EQ(range.maximum, 4.0);
    EXPECT_EQ(step().text(0, 0), "Step");
    EXPECT_EQ(step().text(12, 0), "200");
    EXPECT_EQ(step().text(1, 2), "30");
    EXPECT_FALSE(maps.showTpsTable(4, 2).maximum.has_value());
    // An input the list does not offer leaves the axis texts as they are.
    storeField(image, FieldId::EmuInputChannel, 7);
    tps().setText(2, 0, "kept");
    maps.showTpsTable(11, 2);
    EXPECT_EQ(tps().text(2, 0), "kept");
}

TEST_F(EmuFixture, LiveColumnIsHighlightedAndValuesColoured) {
    step().setText(2, 1, "50");
    step().setText(3, 1, "");
    LiveFrame frame;
    frame.setWord(3, 15);  // step live column 1: grid column 2
    EXPECT_TRUE(maps.updateLiveColumns(frame));
    EXPECT_EQ(maps.liveColumn(EmuGrid::Step), 1);
    const MapCellLook head = maps.cellLook(EmuGrid::Step, 2, 0, false);
    EXPECT_EQ(head.fill, (Rgb{139, 217, 233}));
    EXPECT_TRUE(head.drawText);
    EXPECT_EQ(head.textColour, (Rgb{255, 0, 0}));
    EXPECT_EQ(maps.cellLook(EmuGrid::Step, 2, 1, false).fill, (Rgb{0, 255, 0}));
    const MapCellLook empty = maps.cellLook(EmuGrid::Step, 3, 1, false);
    EXPECT_EQ(empty.text, "0");
    EXPECT_EQ(empty.fill, (Rgb{255, 255, 255}));
    step().setText(3, 1, "50");
    EXPECT_EQ(maps.cellLook(EmuGrid::Step, 3, 1, false).fill, MapCellColour(20));
    EXPECT_FALSE(maps.cellLook(EmuGrid::Step, 3, 1, true).fill.has_value());
    EXPECT_FALSE(maps.cellLook(EmuGrid::Step, 3, 0, false).fill.has_value());
    EXPECT_FALSE(maps.cellLook(EmuGrid::Step, 3, 0, false).drawText) << "the grid's own heading";
}

TEST_F(EmuFixture, ResetTablesClearsBothMapsOverAK1Axis) {
    image.setByte(30, 9);
    storeField(image, FieldId::StepEmulatorOn, 1);
    const PresetShown shown = maps.resetTables();
    EXPECT_EQ(shown.inputItem, kInputItemK1);
    EXPECT_EQ(readField(image, FieldId::EmuInputChannel), kK1);
    EXPECT_EQ(readField(image, FieldId::StepEmulatorOn), 0u);
    EXPECT_EQ(image.byte(30), 0);
    EXPECT_EQ(row(tps(), 0), (std::vector<std::string>{"0", "0.3", "0.6", "0.9", "1.2", "1.5",
                                                       "1.8", "2.1", "2.4", "2.7", "3", "3.3"}));
    EXPECT_EQ(axis(2), 79);
    EXPECT_EQ(count("byte "), 1 + 48);  // the channel, then the four rows
    EXPECT_EQ(count("pause 2"), 12);
}

}  // namespace
