#include <gtest/gtest.h>

#include "maps/main_map.h"
#include "maps/map_colour.h"
#include "model/fields.h"
#include "model/fixed_text.h"
#include "model/number_text.h"

using namespace kaldor;

namespace {

TEST(MapCellColour, StaysInRangeForEveryInput) {
    struct Case {
        long value;
        Rgb colour;
    };
    const Case cases[] = {
        {0, {255, 255, 255}},
        {1, {255, 254, 254}},
        {250, {255, 5, 5}},
        {255, {255, 0, 0}},
        {300, {255, 0, 0}},
        {-1, {253, 253, 255}},
        {-127, {1, 1, 255}},
        {-128, {0, 0, 255}},
        {-1000, {0, 0, 255}},
        {2147483647L, {255, 0, 0}},
        {-2147483647L - 1, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        const Rgb got = MapCellColour(c.value);
        EXPECT_EQ(got, c.colour) << c.value << " gave " << int(got.red) << "," << int(got.green)
                                 << "," << int(got.blue);
    }
}

TEST(MainMapLayout, FirstCellIsTheHighByteOfWord83) {
    EXPECT_EQ(mainMapByteOffset(1, 1), 167u);
    EXPECT_EQ(mainMapByteOffset(8, 16), 294u);
    EXPECT_EQ(mainMapByteOffset(3, 2), 167u + 8 + 2);
    EcuImage image;
    image.setWord(83, 0x2A00);
    EXPECT_EQ(mainMapCell(image, 1, 1), 0x2A);
    EXPECT_FALSE(isMainMapCell(0, 5));
    EXPECT_FALSE(isMainMapCell(3, 0));
    EXPECT_FALSE(isMainMapCell(9, 1));
}

struct OperatingPointFixture : ::testing::Test {
    EcuImage image;
    LiveFrame frame;
    void SetUp() override {
        for (std::size_t r = 0; r < 16; ++r)
            storeField(image, FieldId::MainMapRowAxis, 800 + 100 * r, r);  // R0 800 .. R15 2300
    }
    void columns(std::array<std::uint16_t, 8> c) {
        for (std::size_t i = 0; i < 8; ++i)
            storeField(image, FieldId::MainMapColumnAxis, c[i], i);
    }
    int column(unsigned type, std::size_t word, std::uint16_t v) {
        storeField(image, FieldId::MainMapType, type);
        frame = LiveFrame{};
        frame.setWord(word, v);
        return operatingColumn(frame, image);
    }
    int row(unsigned type, std::size_t word, std::uint16_t v) {
        storeField(image, FieldId::MainMapType, type);
        frame = LiveFrame{};
        frame.setWord(word, v);
        return operatingRow(frame, image);
    }
};

TEST_F(OperatingPointFixture, EngineSpeedColumnsComparePeriods) {
    columns({40000, 30000, 20000, 15000, 12000, 10000, 8000, 6000});
    EXPECT_EQ(column(1, 21, 40000), 0);  // at the first column's speed or slower
    EXPECT_EQ(column(1, 21, 65000), 0);
    EXPECT_EQ(column(1, 21, 39999), 1);
    EXPECT_EQ(column(1, 21, 6000), 7);
    EXPECT_EQ(column(1, 21, 5999), 7);  // faster than the last column
    EXPECT_EQ(column(4, 21, 12000), 4);
    EXPECT_EQ(column(0, 21, 12000), 0);
    EXPECT_EQ(column(9, 21, 12000), 0);  // a type the lists do not know
}

TEST_F(OperatingPointFixture, ThrottleAndAirFlowColumnsNeverCompareTheFirstAxisValue) {
    columns({500, 200, 300, 400, 500, 600, 700, 800});
    EXPECT_EQ(column(2, 4, 199), 0);
    EXPECT_EQ(column(2, 4, 200), 1);
    EXPECT_EQ(column(2, 4, 650), 5);
    EXPECT_EQ(column(2, 4, 65535), 7);
    EXPECT_EQ(column(3, 5, 300), 2);
    EXPECT_EQ(column(3, 4, 300), 0);  // the air-flow map reads word 5 only
}

TEST_F(OperatingPointFixture, RowsHighlightTheRowAfterTheLastReachedValue) {
    EXPECT_EQ(row(1, 79, 799), 0);
    EXPECT_EQ(row(1, 79, 800), 1);
    EXPECT_EQ(row(1, 79, 899), 1);
    EXPECT_EQ(row(0, 79, 2200), 15);  // R14
    EXPECT_EQ(row(3, 79, 65535), 15);
    EXPECT_EQ(row(4, 79, 65535), 0);  // the throttle rows read word 4
    EXPECT_EQ(row(4, 4, 1000), 3);
}

TEST_F(OperatingPointFixture, RepaintsOnlyWhenTheCellChanges) {
    storeField(image, FieldId::MainMapType, 0);
    MapOperatingPoint point;
    EXPECT_TRUE(point.isHighlighted(2, 2));
    frame.setWord(79, 950);
    EXPECT_FALSE(UpdateOperatingPoint(point, frame, image, false));  // no controller, no demo
    EXPECT_EQ(point.y, 1);
    frame.setWord(79, 1000);
    EXPECT_TRUE(UpdateOperatingPoint(point, frame, image, true));  // x 1 -> 0
    EXPECT_FALSE(UpdateOperatingPoint(point, frame, image, true));
    EXPECT_TRUE(point.isHighlighted(1, 4));  // 1000 reaches R2
    frame.setWord(79, 1050);
    EXPECT_FALSE(UpdateOperatingPoint(point, frame, image, true));
}

TEST(MainMapCellLook, ColoursMapCellsAndTheOperatingPoint) {
    MapOperatingPoint point;  // highlights grid cell (2, 2)
    MapCellLook look = mainMapCellLook(3, 4, "", false, point);
    EXPECT_EQ(look.text, "0");
    EXPECT_EQ(look.fill, (Rgb{255, 255, 255}));
    look = mainMapCellLook(3, 4, "100", true, point);
    EXPECT_FALSE(look.fill.has_value());  // the grid's selection colour
    EXPECT_TRUE(look.drawText);
    look = mainMapCellLook(2, 2, "100", true, point);
    EXPECT_EQ(look.fill, kOperatingPointColour);
    look = mainMapCellLook(0, 3, "1.20", false, point);
    EXPECT_FALSE(look.fill.has_value());
    EXPECT_FALSE(look.drawText);
}

TEST(NumberText, ParsesWithTheHandedSeparatorOnly) {
    EXPECT_EQ(parseInteger(" -12"), -12);
    EXPECT_FALSE(parseInteger("12 ").has_value());
    EXPECT_FALSE(parseInteger("2147483648").has_value());
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseNumber(" 0,95 ", ','), 0.95L);
    EXPECT_FALSE(parseNumber("0.95", ',').has_value());
    EXPECT_FALSE(parseNumber("1.2.3", '.').has_value());
    EXPECT_FALSE(parseNumber("inf", '.').has_value());
    EXPECT_EQ(parseNumber("1e2", '.'), 100.0L);
    EXPECT_EQ(fixedText(0.996008, 2, ','), "1,00");
    EXPECT_EQ(fixedText(-0.001, 2, '.'), "0.00");
    EXPECT_EQ(generalText(0.8, '.'), "0.8");
    EXPECT_EQ(generalText(1.0, '.'), "1");
    EXPECT_EQ(notAnIntegerMessage("x"), "'x' is not a valid integer value");
}

}  // namespace
