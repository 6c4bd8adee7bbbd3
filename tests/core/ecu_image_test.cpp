#include <gtest/gtest.h>

#include <set>

#include "model/ecu_image.h"
#include "model/fields.h"

using namespace kaldor;

namespace {

TEST(EcuImage, WordsAreLittleEndianAndDwordsLowWordFirst) {
    EcuImage img;
    img.setWord(83, 0x1234);
    EXPECT_EQ(img.byte(166), 0x34);
    EXPECT_EQ(img.byte(167), 0x12);
    img.setDword(242, 0x00ABCDEFu);
    EXPECT_EQ(img.word(242), 0xCDEF);
    EXPECT_EQ(img.word(243), 0x00AB);
    EXPECT_EQ(img.dword(242), 0x00ABCDEFu);
}

TEST(EcuImage, OutOfRangeAccessReadsZeroAndWritesNothing) {
    EcuImage img;
    const EcuImage before = img;
    img.setByte(768, 1);
    img.setWord(384, 1);
    img.setDword(383, 1);
    img.setBits(900, 0, 1, 1);
    EXPECT_EQ(img, before);
    EXPECT_EQ(img.byte(5000), 0);
    EXPECT_EQ(img.word(384), 0);
    EXPECT_EQ(img.dword(383), 0u);
}

TEST(EcuImage, BitFieldsChangeOnlyTheirOwnBits) {
    EcuImage img;
    img.setByte(551, 0xFF);
    img.setBits(551, 3, 3, 2);  // TpsCutOffMode
    EXPECT_EQ(img.byte(551), 0xD7);
    EXPECT_EQ(img.bits(551, 3, 3), 2u);
    EXPECT_EQ(img.bits(551, 0, 3), 7u);
    img.setBits(551, 0, 3, 9);  // too wide: masked
    EXPECT_EQ(img.bits(551, 0, 3), 1u);
    EXPECT_EQ(img.bits(551, 3, 3), 2u);
}

TEST(FieldTable, LocationsMatchTheControllersMemory) {
    EXPECT_EQ(fieldCount(), static_cast<std::size_t>(FieldId::Count));
    const FieldDef* map = findField("MainMap");
    ASSERT_NE(map, nullptr);
    // Cell (row 1, column 1) is the high byte of word 83; row r column c at 167 + 8(r-1) + (c-1).
    EcuImage img;
    storeField(img, FieldId::MainMap, 0x55, 0);
    EXPECT_EQ(img.word(83), 0x5500);
    storeField(img, FieldId::MainMap, 7, 8 * 15 + 7);
    EXPECT_EQ(img.byte(294), 7);
    EXPECT_EQ(sentByteOffset(*map, 9), 176u);

    // The rpm signal type is byte 125 alone and goes out as that byte.
    const FieldDef& type = fieldDef(FieldId::RpmSignalType);
    EXPECT_EQ(type.offset, 125);
    EXPECT_EQ(type.sendAs, SendAs::Byte);

    // A bit field of word 270 goes out as the whole word.
    const FieldDef& ret = fieldDef(FieldId::AutoReturnToGas);
    EXPECT_EQ(ret.sendAs, SendAs::Word);
    EXPECT_EQ(sentWordIndex(ret), 270u);
    // Byte 460's bit fields are the exception: sent as the byte.
    EXPECT_EQ(fieldDef(FieldId::FreqFullGrid).sendAs, SendAs::Byte);
    EXPECT_EQ(sentByteOffset(fieldDef(FieldId::FreqAlgorithm)), 460u);
    // The input channel is byte 20 (word 10 low), written as the byte alone.
    EXPECT_EQ(fieldDef(FieldId::EmuInputChannel).sendAs, SendAs::Byte);
    EXPECT_EQ(sentByteOffset(fieldDef(FieldId::EmuInputChannel)), 20u);

    EXPECT_EQ(fieldDef(FieldId::ControllerPin).wordIndex(), 374u);
    EXPECT_EQ(fieldDef(FieldId::ReservedTail).byteLength(), 18u);
    EXPECT_EQ(
        fieldDef(FieldId::CorrectionMaps).offset + fieldDef(FieldId::CorrectionMaps).byteLength(),
        714u);
}

TEST(FieldTable, NamesAreUniqueAndScalarFieldsDoNotOverlap) {
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        const FieldDef& f = fieldAt(i);
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_EQ(findField(f.name), &f);
    }
    // Whole-byte ownership: no two fields claim the same bits.
    std::array<std::uint8_t, EcuImage::kSize> owned{};
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        const FieldDef& f = fieldAt(i);
        if (f.place == Place::Bits) {
            const auto mask = static_cast<std::uint8_t>(((1u << f.width) - 1u) << f.firstBit);
            EXPECT_EQ(owned[f.offset] & mask, 0) << f.name;
            owned[f.offset] |= mask;
            continue;
        }
        for (std::size_t b = f.offset; b < f.offset + f.byteLength(); ++b) {
            EXPECT_EQ(owned[b], 0) << f.name << " byte " << b;
            owned[b] = 0xFF;
        }
    }
}

TEST(FieldTable, StoreMasksToWidthAndKeepsNeighbours) {
    EcuImage img;
    img.setWord(270, 0xFFFF);
    storeField(img, FieldId::AutoReturnToGas, 0);
    EXPECT_EQ(img.word(270), 0xEFFF);
    EXPECT_EQ(readField(img, FieldId::LevelValvePowered), 1u);
    storeField(img, FieldId::ControllerSerialNumber, 0x01020304u);
    EXPECT_EQ(readField(img, FieldId::ControllerSerialNumber), 0x01020304u);
    EXPECT_EQ(readField(img, FieldId::MainMap, 128), 0u);  // past the map
}

}  // namespace
