#include <gtest/gtest.h>

#include "maps/main_map_editor.h"
#include "model/fields.h"
#include "model/parameter_edits.h"
#include "model/units.h"
#include "support/recording_sender.h"

using namespace kaldor;
using namespace kaldor::test;

namespace {

struct AxisFixture : ::testing::Test {
    EcuImage image;
    RecordingSender sender;
    PlainProgress progress;
    MainMapEditor editor{image, sender, progress};

    GridTexts& grid() { return editor.grid(); }
    std::uint32_t column(int c) const {
        return readField(image, FieldId::MainMapColumnAxis, static_cast<std::size_t>(c - 1));
    }
    std::uint32_t row(int r) const {
        return readField(image, FieldId::MainMapRowAxis, static_cast<std::size_t>(r - 1));
    }
    void setType(unsigned type, unsigned tpsSwitch = 0) {
        storeField(image, FieldId::MainMapType, type);
        storeField(image, FieldId::TpsSwitch, tpsSwitch);
        editor.ShowMainMap();
        sender.sent.clear();
    }
    std::vector<std::string> rowTexts() {
        std::vector<std::string> texts;
        for (int r = 1; r <= 16; ++r)
            texts.push_back(grid().text(0, r));
        return texts;
    }
    std::vector<std::string> columnTexts() {
        std::vector<std::string> texts;
        for (int c = 1; c <= 8; ++c)
            texts.push_back(grid().text(c, 0));
        return texts;
    }
};

TEST_F(AxisFixture, SaveConvertsEachAxisKind) {
    struct Case {
        unsigned type;
        bool isColumn;
        const char* text;
        std::uint32_t word;
    };
    const Case cases[] = {
        {2, true, "1.00", 260},  {2, true, "30.00", 7827}, {3, true, "0.20", 163},
        {1, false, "0.95", 950}, {4, false, "0.2", 52},    {1, true, "1200", 23041},
        {0, false, "2.8", 2800},  // the pressure-only map stores its rows too
    };
    for (const Case& c : cases) {
        setType(c.type);
        grid().setText(c.isColumn ? 4 : 0, c.isColumn ? 0 : 7, c.text);
        EXPECT_EQ(editor.saveAxes().result, AxisSaveOutcome::Result::Saved);
        EXPECT_EQ(c.isColumn ? column(4) : row(7), c.word) << "type " << c.type << " " << c.text;
    }
    // Shown again after a refresh, the stored throttle value reads as typed.
    setType(2);
    grid().setText(1, 0, "1.00");
    (void)editor.saveAxes();
    editor.ShowMainMap();
    EXPECT_EQ(grid().text(1, 0), "1.00");
}

TEST_F(AxisFixture, SaveSendsTheTwentyFourWordsTenMillisecondsApart) {
    setType(1);
    ASSERT_EQ(editor.saveAxes().result, AxisSaveOutcome::Result::Saved);
    ASSERT_EQ(sender.sent.size(), 48u);
    for (std::size_t i = 0; i < 24; ++i) {
        EXPECT_EQ(sender.sent[2 * i], "word " + std::to_string(245 + i));
        EXPECT_EQ(sender.sent[2 * i + 1], "pause 10");
    }
    EXPECT_EQ(progress.position(), 24);

    // Without a controller the axes go into the image all the same, and nothing is sent.
    sender.isConnected = false;
    sender.sent.clear();
    grid().setText(0, 1, "1.5");
    EXPECT_EQ(editor.saveAxes().result, AxisSaveOutcome::Result::NotConnected);
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_EQ(row(1), 1500u);
}

TEST_F(AxisFixture, ABadAxisTextChangesAndSendsNothing) {
    struct Case {
        unsigned type;
        int column, row;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {1, 0, 16, "1.2x", "'1.2x' is not a valid floating point value"},
        {1, 3, 0, "1500.5", "'1500.5' is not a valid integer value"},
        {3, 0, 5, "70", "Axis value '70' in row 5 is out of range"},
        {1, 8, 0, "0", "Axis value '0' in column 8 is out of range"},  // 200 rpm: 138248 ticks
        {2, 2, 0, "-1", "Axis value '-1' in column 2 is out of range"},
    };
    for (const Case& c : cases) {
        setType(c.type);
        grid().setText(1, 0, c.type == 1 ? "900" : "3.00");  // valid, and not what is stored
        grid().setText(0, 1, "2.00");
        grid().setText(c.column, c.row, c.text);
        const EcuImage before = image;
        const AxisSaveOutcome out = editor.saveAxes();
        EXPECT_EQ(out.result, AxisSaveOutcome::Result::Refused);
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(image, before) << c.text;
        EXPECT_TRUE(sender.sent.empty());
    }
}

TEST_F(AxisFixture, ShowMainMapWritesEveryTextOfTheType) {
    MainMapEditor comma{image, sender, progress, ','};
    storeField(image, FieldId::MainMapColumnAxis, 260, 0);
    storeField(image, FieldId::MainMapRowAxis, 950, 0);
    storeField(image, FieldId::MainMapRowAxis, 52, 1);
    storeField(image, FieldId::MainMap, 42, 127);
    storeField(image, FieldId::MainMapType, 2);
    MainMapLayout layout = comma.ShowMainMap();
    EXPECT_EQ(comma.grid().text(0, 0), "bar/tps");
    EXPECT_EQ(comma.grid().text(1, 0), "1,00");
    EXPECT_EQ(comma.grid().text(0, 1), "0,95");
    EXPECT_EQ(comma.grid().text(8, 16), "42");
    EXPECT_EQ(layout.colCount, 9);
    EXPECT_TRUE(layout.tpsTypShown);

    storeField(image, FieldId::TpsSwitch, 1);
    EXPECT_EQ(comma.ShowMainMap().colCount, 3);
    storeField(image, FieldId::MainMapType, 4);
    layout = comma.ShowMainMap();
    EXPECT_EQ(comma.grid().text(0, 2), "0,20");  // throttle rows: 52 counts
    EXPECT_FALSE(layout.tpsTypShown);
    EXPECT_EQ(layout.tpsTypItem, 1);

    storeField(image, FieldId::MainMapType, 1);
    storeField(image, FieldId::MainMapColumnAxis, 23041, 2);
    comma.ShowMainMap();
    EXPECT_EQ(comma.grid().text(3, 0), "1200");
    EXPECT_EQ(comma.grid().text(0, 2), "0,052");

    storeField(image, FieldId::MainMapType, 0);
    layout = comma.ShowMainMap();
    EXPECT_EQ(comma.grid().text(1, 0), " ");
    EXPECT_EQ(comma.grid().text(3, 0), "1200");  // row 0 stays but for cell (1, 0)
    EXPECT_EQ(layout.colCount, 2);

    storeField(image, FieldId::MainMapType, 7);
    EXPECT_EQ(comma.ShowMainMap().mapType, -1);
}

TEST_F(AxisFixture, MapTypeChangePutsDefaultsAndSavesThem) {
    setType(3);
    const EcuImage inForce = image;
    const MapTypeOutcome refused = editor.mapTypeChosen(4, 1);
    EXPECT_EQ(refused.refusal, "ECU OPTION N/A");
    EXPECT_TRUE(sender.sent.empty()) << "refused before anything is sent";
    EXPECT_EQ(image, inForce);
    EXPECT_EQ(refused.layout.mapType, 3);
    EXPECT_EQ(grid().text(0, 0), "bar/maf");

    editor.mapTypeChosen(2, 1);
    EXPECT_EQ(sender.sent.front(), "word 364");
    EXPECT_EQ(column(1), 52u);  // 0.20 V
    EXPECT_EQ(row(16), 2300u);

    const MapTypeOutcome accepted = editor.mapTypeChosen(4, 2);
    EXPECT_TRUE(accepted.refusal.empty());
    EXPECT_FALSE(accepted.layout.tpsTypShown);
    EXPECT_EQ(columnTexts(), (std::vector<std::string>{"500", "1000", "1500", "2000", "2500",
                                                       "3000", "3500", "4000"}));
    EXPECT_EQ(grid().text(0, 1), "0.2");
    EXPECT_EQ(grid().text(0, 5), "1");
    EXPECT_EQ(grid().text(0, 16), "3.2");

    editor.mapTypeChosen(0, 2);
    EXPECT_EQ(grid().text(1, 0), " ");
    EXPECT_EQ(editor.layout().colCount, 2);
    EXPECT_EQ(row(1), 800u);

    // Without a controller the new type's axes go into the image with it; only the type's word
    // goes out (to no controller).
    sender.isConnected = false;
    sender.sent.clear();
    EXPECT_EQ(editor.mapTypeChosen(3, 2).save.result, AxisSaveOutcome::Result::NotConnected);
    EXPECT_EQ(sender.sent, std::vector<std::string>{"word 364"});
    EXPECT_EQ(column(1), 163u);  // 0.20 V of air flow
    EXPECT_EQ(row(1), 800u);
    EXPECT_FALSE(editor.mapTypeChosen(-1, 2).changed);
}

TEST_F(AxisFixture, ThrottleSwitchKeepsThreeColumnsAndStoresTheHiddenOnes) {
    setType(2);
    const MapTypeOutcome out = editor.tpsKindChosen(1);
    EXPECT_EQ(sender.sent.front(), "word 271");
    EXPECT_EQ(readField(image, FieldId::TpsSwitch), 1u);
    EXPECT_EQ(out.layout.colCount, 3);
    EXPECT_EQ(columnTexts(), (std::vector<std::string>{"2.50", "2.60", "30.00", "30.00", "30.00",
                                                       "30.00", "30.00", "30.00"}));
    EXPECT_EQ(column(8), 7827u);
    EXPECT_EQ(rowTexts()[3], "1.10");
    EXPECT_EQ(row(2), 950u);
    EXPECT_EQ(row(16), 2300u);
}

TEST_F(AxisFixture, AxisPresetsWriteTextsOnly) {
    setType(3);
    EXPECT_TRUE(editor.columnPresetChosen(4));  // the label reads 0.1-1.2
    EXPECT_EQ(columnTexts(), (std::vector<std::string>{"0.10", "0.80", "1.50", "2.00", "2.40",
                                                       "3.00", "3.80", "4.60"}));
    setType(2, 1);
    EXPECT_TRUE(editor.columnPresetChosen(3));
    EXPECT_EQ(columnTexts()[3], "31.50");
    for (unsigned type : {0u, 4u}) {
        setType(type);
        const auto texts = columnTexts();
        EXPECT_FALSE(editor.columnPresetChosen(2));
        EXPECT_EQ(columnTexts(), texts);
    }
    EXPECT_TRUE(editor.rowPresetChosen(15));
    const auto rows = rowTexts();
    EXPECT_EQ(rows.front(), "0.850");
    EXPECT_EQ(rows[13], "0.980");
    EXPECT_EQ(rows[14], "0.980");
    EXPECT_EQ(rows.back(), "1.000");
    EXPECT_FALSE(editor.rowPresetChosen(0));
    EXPECT_FALSE(editor.rowPresetChosen(22));
    EXPECT_TRUE(sender.sent.empty());
}

TEST_F(AxisFixture, CharacteristicPointModeOpensTheAxesAndSavesOnLeaving) {
    setType(2, 1);
    const CharPointLayout on = editor.charPointModeChanged(true);
    EXPECT_EQ(on.fixedCells, 0);
    EXPECT_TRUE(on.presetsShown);
    EXPECT_TRUE(editor.axisCellEditable(0, 3));
    EXPECT_TRUE(editor.axisCellEditable(2, 0));
    EXPECT_FALSE(editor.axisCellEditable(3, 0));  // beyond the three shown columns
    EXPECT_FALSE(editor.axisCellEditable(2, 3));
    grid().setText(0, 4, "1.25");
    EXPECT_TRUE(sender.sent.empty());

    const CharPointLayout off = editor.charPointModeChanged(false);
    EXPECT_EQ(off.fixedCells, 1);
    EXPECT_FALSE(off.presetsShown);
    EXPECT_EQ(off.presetItem, 0);
    EXPECT_EQ(off.save.result, AxisSaveOutcome::Result::Saved);
    EXPECT_EQ(row(4), 1250u);
    EXPECT_FALSE(editor.axisCellEditable(0, 3));
}

TEST_F(AxisFixture, RpmAxisFollowsANewSignalTypeThroughTheCoilTypeChange) {
    setType(1);
    (void)editor.mapTypeChosen(1, 11);
    sender.sent.clear();
    ParameterEditor parameters{image, sender};
    std::string message;
    parameters.setCoilTypeFollowUp([&] { message = editor.rpmAxisAfterSignalTypeChange(1200); });
    (void)parameters.coilTypeChosen(3, 1000);
    std::vector<std::string> expected{"byte 125", "word 181"};
    for (int w = 245; w <= 252; ++w)
        expected.push_back("word " + std::to_string(w));
    expected.push_back("word 78");
    EXPECT_EQ(sender.sent, expected);
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(column(1), RpmToPeriod(700, 3));
    EXPECT_EQ(column(8), RpmToPeriod(3000, 3));
    EXPECT_EQ(readField(image, FieldId::CruiseRpmPeriod), 5760u);
    EXPECT_EQ(grid().text(1, 0), "700");

    grid().setText(3, 0, "1x00");
    sender.sent.clear();
    const std::uint32_t before = column(1);
    EXPECT_EQ(editor.rpmAxisAfterSignalTypeChange(1200), "'1x00' is not a valid integer value");
    EXPECT_EQ(column(1), before);
    EXPECT_EQ(sender.sent, std::vector<std::string>{"word 78"});
}

}  // namespace
