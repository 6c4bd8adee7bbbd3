#include <gtest/gtest.h>

#include "model/units.h"

using namespace kaldor;

namespace {

struct PeriodCase {
    std::uint32_t rpm;
    int type;
    std::uint32_t period;
};

TEST(RpmToPeriod, GivesTheControllersTickCounts) {
    const PeriodCase cases[] = {
        {1200, 0, 23041}, {1000, 4, 5529}, {3500, 0, 7899},
        {0, 0, 138248},    // 0 rpm is taken as 200 rpm; the period does not fit 16 bits
        {1210, 0, 23041},  // rounded down to a multiple of 25
        {2900, 19, 105},  {1200, 25, 0},  // no such type
    };
    for (const auto& c : cases)
        EXPECT_EQ(RpmToPeriod(c.rpm, c.type), c.period) << "rpm " << c.rpm << " type " << c.type;
}

TEST(RpmToPeriod, FieldStorageClampsInsteadOfWrapping) {
    EXPECT_EQ(periodForField(RpmToPeriod(0, 0)), 65535);  // 138248 would wrap to 7176
    EXPECT_EQ(periodForField(23041), 23041);
    EXPECT_EQ(periodForField(65536), 65535);
    // An rpm of 1..24 has no period; it must not be undefined behaviour.
    EXPECT_EQ(periodForField(RpmToPeriod(10, 0)), 65535);
}

TEST(PeriodToRpm, ReadsBackMultiplesOf25) {
    EXPECT_EQ(PeriodToRpm(65499, 0), 400);
    EXPECT_EQ(PeriodToRpm(65500, 0), 0);
    EXPECT_EQ(PeriodToRpm(0, 0), 1200000000);
    EXPECT_EQ(PeriodToRpm(105, 19), 2925);  // a short period comes back 25 rpm higher
    EXPECT_EQ(PeriodToRpm(1000, 30), 0);
    for (int type = 0; type < 20; ++type)
        for (std::uint32_t rpm : {500u, 1200u, 2000u, 3000u})
            EXPECT_NEAR(PeriodToRpm(RpmToPeriod(rpm, type), type), rpm, 25)
                << "rpm " << rpm << " type " << type;
    EXPECT_EQ(PeriodToRpm(RpmToPeriod(1200, 0), 0), 1200);
}

TEST(InjectionTime, StoresAtExtendedPrecisionAndShowsInSinglePrecision) {
    EXPECT_EQ(InjTimeToRaw(4), 909);
    EXPECT_EQ(InjTimeToRaw(0.5), 113);
    EXPECT_EQ(InjTimeToRaw(1.4), 318);
    EXPECT_EQ(InjTimeToRaw(50), 11363);
    EXPECT_EQ(InjTimeToRaw(-2), -454);
    EXPECT_EQ(toWordField(InjTimeToRaw(-2)), 65082);
    EXPECT_EQ(fromSignedWord(65082), -454);
    EXPECT_EQ(RawToInjTime(113), 0.49720001220703125);
}

TEST(Pressures, TruncateTowardZero) {
    EXPECT_EQ(BarToMillibar(1.1), 1100);
    EXPECT_EQ(BarToMillibar(1.5), 1500);
    EXPECT_EQ(BarToMillibar(2.8), 2799);  // 2799.99999999999982 at extended precision
    EXPECT_DOUBLE_EQ(MillibarToBar(1100), 1.1);
    EXPECT_EQ(SecondsToCentiseconds(0.5), 50);
    EXPECT_DOUBLE_EQ(CentisecondsToSeconds(50), 0.5);
}

TEST(Volts, StoreAndShowWithDifferentConstants) {
    EXPECT_EQ(VoltsToAdc(1.0), 819);
    EXPECT_EQ(VoltsToAdc(4.89), 4005);
    EXPECT_EQ(TpsVoltsToAdc(1.0), 260);  // 819.2 * 0.3185 = 260.9
    EXPECT_NEAR(AdcToVolts(98), 0.11956, 1e-12);
    EXPECT_NEAR(AdcToTpsVolts(100), 0.383080, 1e-9);
    EXPECT_EQ(RpmThresholdToRaw(4.1), 524);  // very nearly volts x 128, truncated
    EXPECT_NEAR(RpmThresholdFromRaw(512), 3.9976, 1e-4);
    EXPECT_EQ(EnrichmentToRaw(-25), 750);
    EXPECT_EQ(EnrichmentToRaw(50), 1500);
    EXPECT_EQ(PlainToRaw(25.9), 25);
    EXPECT_EQ(PlainToRaw(-3.7), -3);
}

TEST(Truncation, SaturatesOnNonFiniteInput) {
    EXPECT_EQ(truncateToInt(std::numeric_limits<long double>::quiet_NaN()), 0);
    EXPECT_EQ(truncateToInt(std::numeric_limits<long double>::infinity()),
              std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(toWordField(-100000), 0x8000);
    EXPECT_EQ(toWordField(100000), 0xFFFF);
}

}  // namespace
