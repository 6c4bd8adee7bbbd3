#include <gtest/gtest.h>

#include <array>
#include <set>

#include "model/codec.h"
#include "model/controller_defaults.h"
#include "model/controller_parts.h"
#include "model/units.h"

using namespace kaldor;

namespace {

struct Expect {
    char kind;  // 'B' byte offset, 'W' word index
    std::uint16_t at;
    std::uint16_t value;
};

// The factory settings, location by location, written out apart from the tables they check.
std::vector<Expect> expectedDefaults() {
    std::vector<Expect> e{
        {'W', 6, 0x5678}, {'W', 7, 0x1234},  {'W', 8, 0xDEF0}, {'W', 9, 0x9ABC},  // work times
        {'B', 20, 0},     {'B', 21, 236},    {'B', 22, 236},   {'B', 23, 35},     {'B', 24, 35},
        {'B', 25, 10},    {'B', 125, 0},     {'B', 126, 4},    {'B', 127, 4},     {'B', 128, 3},
        {'B', 129, 6},    {'B', 130, 0},     {'B', 131, 0},    {'B', 132, 4},     {'B', 133, 4},
        {'W', 67, 120},   {'B', 136, 0},     {'B', 137, 216},  {'B', 138, 1},     {'B', 139, 1},
        {'B', 140, 10},   {'B', 141, 0},     {'B', 142, 1},    {'B', 143, 1},     {'B', 144, 0},
        {'B', 145, 15},   {'B', 146, 255},   {'B', 147, 5},    {'B', 148, 1},     {'B', 149, 0},
        {'B', 150, 0},    {'B', 151, 50},    {'W', 76, 128},   {'W', 77, 1100},   {'W', 78, 27649},
        {'B', 158, 3},    {'W', 157, 0},     {'W', 158, 0},    {'W', 161, 130},   {'W', 162, 65496},
        {'W', 168, 10},   {'W', 169, 200},   {'W', 170, 1000}, {'W', 171, 227},   {'W', 172, 19},
        {'W', 173, 909},  {'W', 174, 20},    {'W', 175, 100},  {'W', 176, 600},   {'W', 177, 2500},
        {'W', 178, 1024}, {'W', 179, 1024},  {'W', 180, 113},  {'W', 181, 23041}, {'W', 182, 0},
        {'W', 183, 0},    {'W', 184, 1200},  {'W', 185, 100},  {'W', 186, 1010},  {'W', 187, 98},
        {'W', 188, 180},  {'W', 189, 245},   {'W', 190, 286},  {'W', 191, 25},    {'W', 193, 11363},
        {'W', 194, 0},    {'W', 195, 11363}, {'W', 196, 50},   {'W', 197, 400},   {'W', 198, 318},
        {'W', 199, 1500}, {'W', 201, 2727},  {'W', 202, 454},  {'W', 203, 23041}, {'W', 204, 681},
        {'W', 205, 50},   {'W', 206, 16},    {'W', 207, 40},   {'W', 208, 5},     {'W', 209, 4000},
        {'W', 210, 5},    {'W', 211, 4090},  {'W', 212, 400},  {'W', 213, 3500},  {'W', 216, 1782},
        {'W', 219, 40},   {'W', 221, 20},    {'W', 234, 400},  {'W', 235, 2500},  {'W', 238, 10},
        {'W', 269, 0},    {'B', 540, 0x18},  {'B', 541, 0x10}, {'B', 542, 0},     {'B', 543, 0xB0},
        {'B', 544, 0},    {'B', 545, 0},     {'B', 546, 0},    {'B', 547, 0},     {'B', 548, 0x0F},
        {'B', 549, 0x08}, {'B', 550, 0},     {'B', 551, 0},    {'B', 552, 0x39},  {'W', 357, 3},
        {'W', 359, 454},  {'W', 360, 100},   {'W', 361, 40},   {'W', 362, 2000},  {'W', 363, 1024},
        {'W', 364, 1},    {'W', 367, 20},    {'W', 368, 50},   {'W', 369, 80},    {'W', 370, 0},
        {'W', 371, 10},   {'W', 372, 15},    {'W', 373, 20},
    };
    const std::uint8_t cruise[24] = {0,  0,  5,  10, 15, 20, 22, 24, 26, 28, 30, 35,
                                     40, 45, 50, 55, 60, 65, 70, 70, 68, 65, 60, 55};
    for (std::uint16_t i = 0; i < 24; ++i)
        e.push_back({'B', static_cast<std::uint16_t>(100 + i), cruise[i]});
    const std::uint8_t map[16][8] = {
        {0, 10, 15, 12, 12, 12, 13, 10},  {0, 10, 15, 20, 21, 20, 15, 10},
        {0, 15, 15, 22, 25, 22, 20, 10},  {0, 20, 25, 35, 30, 24, 21, 10},
        {15, 25, 40, 45, 34, 28, 23, 10}, {25, 38, 50, 45, 35, 30, 23, 10},
        {30, 45, 68, 70, 60, 45, 23, 10}, {40, 50, 72, 85, 60, 45, 24, 10},
        {45, 75, 85, 99, 85, 60, 28, 10}, {38, 49, 75, 80, 65, 50, 27, 10},
        {30, 44, 65, 70, 58, 40, 23, 10}, {25, 40, 60, 65, 60, 45, 22, 10},
        {22, 33, 45, 56, 55, 34, 22, 10}, {18, 22, 30, 33, 35, 32, 21, 10},
        {15, 20, 22, 23, 21, 20, 20, 10}, {10, 10, 10, 10, 10, 10, 10, 10},
    };
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c <= 8; ++c)
            e.push_back(
                {'B', static_cast<std::uint16_t>(167 + 8 * (r - 1) + (c - 1)), map[r - 1][c - 1]});
    const std::uint32_t rpm[8] = {800, 1100, 1500, 2000, 2500, 2800, 3000, 3500};
    for (std::uint16_t i = 0; i < 8; ++i)
        e.push_back({'W', static_cast<std::uint16_t>(245 + i),
                     static_cast<std::uint16_t>(RpmToPeriod(rpm[i], 0))});
    const long double bar[16] = {0.9L, 1.05L, 1.1L, 1.15L, 1.2L, 1.25L, 1.3L, 1.35L,
                                 1.4L, 1.5L,  1.6L, 1.7L,  1.8L, 1.9L,  2.0L, 2.1L};
    for (std::uint16_t i = 0; i < 16; ++i)
        e.push_back({'W', static_cast<std::uint16_t>(253 + i),
                     static_cast<std::uint16_t>(AxisBarToMillibar(bar[i]))});
    for (std::uint16_t w = 277; w <= 356; ++w)
        e.push_back({'W', w, 0});
    return e;
}

EcuImage resetImage(std::uint8_t before, std::uint16_t pin) {
    EcuImage image;
    for (std::size_t b = 0; b < EcuImage::kSize; ++b)
        image.setByte(b, before);
    applyControllerDefaults(image, {0x12345678, 0x9ABCDEF0}, pin);
    return image;
}

TEST(ControllerDefaults, EveryLocationHoldsItsFactoryValue) {
    const EcuImage image = resetImage(0xA5, 0);
    std::set<std::size_t> listed;
    for (const Expect& x : expectedDefaults()) {
        const unsigned got = x.kind == 'B' ? image.byte(x.at) : image.word(x.at);
        EXPECT_EQ(got, x.value) << x.kind << " " << x.at;
        listed.insert(x.kind == 'B' ? x.at : 2u * x.at);
        if (x.kind == 'W')
            listed.insert(2u * x.at + 1);
    }
    EXPECT_EQ(image.bits(460, 0, 5), 5u);  // "60-normal", SQ grid
    EXPECT_EQ(image.bits(553, 0, 5), 6u);  // errors 10 and 11 watched
    // Words 0-191 that no table names are 0 (byte 51 belongs to the controller).
    for (std::size_t b = 0; b < 384; ++b) {
        if (!listed.count(b) && b != 51) {
            EXPECT_EQ(image.byte(b), 0) << "byte " << b;
        }
    }
}

TEST(ControllerDefaults, ControlsShowTheFactorySettings) {
    const EcuImage image = resetImage(0, 0);
    struct Shown {
        FieldId id;
        std::size_t element;
        double value;
    };
    const Shown cases[] = {
        {FieldId::RpmSignalType, 0, 0},       {FieldId::OnRpmPeriod, 0, 1200},
        {FieldId::OnTemperature, 0, 15},      {FieldId::OnDelay, 0, 2},
        {FieldId::MinSystemPressure, 0, 1.2}, {FieldId::PressureDelay, 0, 1},
        {FieldId::LevelSensorType, 0, 0},     {FieldId::LevelPointE, 0, 0.11956},
        {FieldId::LevelPoint14, 0, 0.2196},   {FieldId::LevelPoint24, 0, 0.2989},
        {FieldId::LevelPoint34, 0, 0.34892},  {FieldId::MainMapType, 0, 1},
        {FieldId::CruiseRpmPeriod, 0, 1000},  {FieldId::MappingTempOk, 0, 3},
        {FieldId::DnaMaxDTps, 0, 49.9972},
    };
    for (const Shown& s : cases)
        EXPECT_NEAR(*shownValue(image, s.id, s.element), s.value, 1e-6) << fieldDef(s.id).name;
    const std::array<std::int64_t, 8> rpm{800, 1100, 1500, 2000, 2500, 2800, 3000, 3500};
    for (std::size_t i = 0; i < rpm.size(); ++i)
        EXPECT_EQ(PeriodToRpm(readField(image, FieldId::MainMapColumnAxis, i), 0), rpm[i]);
}

TEST(ControllerDefaults, KeepsTheControllersPartsAndItsPinAndWhatItDoesNotSet) {
    EcuImage before;
    for (std::size_t b = 0; b < EcuImage::kSize; ++b)
        before.setByte(b, static_cast<std::uint8_t>(b * 7 + 3));
    before.setWord(374, 0);  // cleared by the refresh after the PIN was asked
    EcuImage image = before;
    applyControllerDefaults(image, {}, 0x1234);
    EXPECT_EQ(readField(image, FieldId::ControllerSerialNumber),
              readField(before, FieldId::ControllerSerialNumber));
    EXPECT_EQ(image.byte(51), before.byte(51));
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(image.word(375 + i), before.word(375 + i));
    EXPECT_EQ(image.word(374), 0x1234);
    for (std::uint16_t w : kNotSetWords)
        EXPECT_EQ(image.word(w), before.word(w)) << "word " << w;
    for (const BitsLocation& b : kNotSetBits)
        EXPECT_EQ(image.bits(b.offset, b.firstBit, b.width),
                  before.bits(b.offset, b.firstBit, b.width));
}

// From word 192 upward every bit is set by exactly one table, or kept; below, no two tables
// set the same bit.
TEST(ControllerDefaults, TablesCoverTheUpperImageOnceAndNeverOverlap) {
    std::array<unsigned, EcuImage::kSize> bits{};
    const auto claim = [&](std::size_t offset, unsigned first, unsigned width, const char* what) {
        const unsigned mask = ((1u << width) - 1u) << first;
        EXPECT_EQ(bits.at(offset) & mask, 0u) << what << " overlaps at byte " << offset;
        bits.at(offset) |= mask;
    };
    const auto claimField = [&](FieldId id) {
        const FieldDef& d = fieldDef(id);
        if (d.place == Place::Bits)
            return claim(d.offset, d.firstBit, d.width, d.name.data());
        for (std::size_t i = 0; i < d.byteLength(); ++i)
            claim(d.offset + i, 0, 8, d.name.data());
    };
    for (const FieldDefault& d : kFieldDefaults)
        claimField(d.id);
    for (const FieldDefault& d : kCdiDefaults)
        claimField(d.id);
    for (FieldId id : {FieldId::MainMap, FieldId::CruiseMap, FieldId::MainMapColumnAxis,
                       FieldId::MainMapRowAxis, FieldId::CorrectionMaps, FieldId::DieselWorkTime,
                       FieldId::GasWorkTime, FieldId::ControllerPin})
        claimField(id);
    for (FieldId id : kControllerParts)
        claimField(id);
    for (const ByteDefault& d : kByteDefaults)
        claim(d.offset, 0, 8, "byte default");
    for (const BitsDefault& d : kBitsDefaults)
        claim(d.offset, d.firstBit, d.width, "bits default");
    const auto claimWord = [&](std::size_t index, const char* what) {
        claim(2 * index, 0, 8, what);
        claim(2 * index + 1, 0, 8, what);
    };
    for (const WordDefault& d : kWordDefaults)
        claimWord(d.index, "word default");
    for (std::uint16_t w : kNotSetWords)
        claimWord(w, "kept word");
    for (const BitsLocation& b : kNotSetBits)
        claim(b.offset, b.firstBit, b.width, "kept bits");
    for (std::size_t b = 384; b < EcuImage::kSize; ++b)
        EXPECT_EQ(bits[b], 0xFFu) << "byte " << b << " neither set nor kept";
}

}  // namespace
