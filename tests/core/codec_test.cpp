#include <gtest/gtest.h>

#include <cmath>

#include "model/codec.h"
#include "model/units.h"

using namespace kaldor;

namespace {

// One shown value through a field's codec: the raw value stored, and what is shown for it.
struct CodecCase {
    const char* what;
    FieldId field;
    double shown;
    std::uint32_t raw;
    double shownAgain;
};

TEST(Codec, StoresAndShowsEveryEncodingWithItsConstants) {
    const CodecCase cases[] = {
        {"switch-on temperature item 15", FieldId::OnTemperature, 15, 35, 15},
        {"EGT maximum item 50", FieldId::EgtMaxLevel, 50, 4050, 50},
        {"on delay 2.5 s", FieldId::OnDelay, 2.5, 250, 2.5},
        {"main offset -2 ms", FieldId::MainOffset, -2, 65082, RawToInjTime(-454)},
        {"enrichment -25 %", FieldId::MainEnrichment, -25, 750, -25},
        {"rpm threshold 4.1 V", FieldId::RpmSignalThreshold, 4.1, 524, RpmThresholdFromRaw(524)},
        {"minimum pressure 1.2 bar", FieldId::MinSystemPressure, 1.2, 1199, 1.199},
        {"level point 4.89 V", FieldId::LevelPointE, 4.89, 4005, 4.8861},
        {"invert sensor ticked", FieldId::LevelSensorNormal, 1, 0, 1},
        {"mapping spread item 2", FieldId::MappingSpread, 2, 30, 2},
        {"duty item 0", FieldId::FreqEmuDuty, 0, 1, 0},
        {"input channel TDi2", FieldId::EmuInputChannel, 5, 74, 5},
        {"TPS volts 1.0", FieldId::DnaMinTps, 1.0, 260, 260 * 3.14 * 0.00122},
        {"switch-on rpm 1210 (type 0)", FieldId::OnRpmPeriod, 1210, 23041, 1200},
        {"cut-off level 1.0 V in TPS mode 0", FieldId::TpsCutOffLevel, 1.0, 260,
         260 * 3.14 * 0.00122},
    };
    for (const CodecCase& c : cases) {
        EcuImage image;
        ASSERT_TRUE(storeShown(image, c.field, c.shown)) << c.what;
        EXPECT_EQ(readField(image, c.field), c.raw) << c.what;
        const std::optional<double> shown = shownValue(image, c.field);
        ASSERT_TRUE(shown.has_value()) << c.what;
        EXPECT_NEAR(*shown, c.shownAgain, 1e-9) << c.what;
    }
}

TEST(Codec, ModeAndTypeDependentFieldsFollowTheImage) {
    EcuImage image;
    storeField(image, FieldId::TpsCutOffMode, 3);  // air-flow modes store plain volts
    ASSERT_TRUE(storeShown(image, FieldId::TpsCutOffLevel, 1.0));
    EXPECT_EQ(readField(image, FieldId::TpsCutOffLevel), 819u);
    storeField(image, FieldId::TpsCutOffMode, 6);  // no unit: neither stored nor shown
    EXPECT_FALSE(storeShown(image, FieldId::TpsCutOffLevel, 2.0));
    EXPECT_EQ(readField(image, FieldId::TpsCutOffLevel), 819u);
    EXPECT_FALSE(shownValue(image, FieldId::TpsCutOffLevel).has_value());

    storeField(image, FieldId::RpmSignalType, 3);  // 1200 rpm with four pulses a cycle
    ASSERT_TRUE(storeShown(image, FieldId::OnRpmPeriod, 1200));
    EXPECT_EQ(readField(image, FieldId::OnRpmPeriod), 5760u);
    storeField(image, FieldId::RpmSignalType, 0);  // a slow engine's period is clamped
    ASSERT_TRUE(storeShown(image, FieldId::CruiseRpmPeriod, 0));
    EXPECT_EQ(readField(image, FieldId::CruiseRpmPeriod), 65535u);
}

TEST(Codec, ListsShowNoItemForValuesTheyDoNotOffer) {
    EcuImage image;
    storeField(image, FieldId::OnTemperature, 236);  // a signed -20
    EXPECT_EQ(shownValue(image, FieldId::OnTemperature), -1.0);
    storeField(image, FieldId::EmuInputChannel, 7);
    EXPECT_FALSE(shownValue(image, FieldId::EmuInputChannel).has_value());
    // Between two items is no item: the defaults' 16 where the items step by 10.
    storeField(image, FieldId::MappingTpsDelta, 16);
    EXPECT_EQ(shownValue(image, FieldId::MappingTpsDelta), -1.0);
    storeField(image, FieldId::EgtMaxLevel, 100);
    EXPECT_EQ(shownValue(image, FieldId::EgtMaxLevel), -1.0);
    EXPECT_FALSE(storeShown(image, FieldId::GasTempSensorType, -1));
    EXPECT_FALSE(storeShown(image, FieldId::EmuInputChannel, 6));
    EXPECT_EQ(readField(image, FieldId::EmuInputChannel), 7u);
}

}  // namespace
