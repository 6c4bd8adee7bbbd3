// The controller's inner working on simulated time, without a pty: engine, fuel mode, counters,
// error source, calibration stream, and the tables it is built from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "controller_core.h"
#include "factory_image.h"
#include "rpm_period.h"

namespace kaldor::sim {
namespace {

constexpr std::size_t kPeriodWord = 21;
constexpr std::size_t kModeWord = 39;
constexpr std::size_t kErrorCounterWord = 50;

unsigned modeOf(const LiveRecord& r) {
    return (r[kModeWord] >> 7) & 3;
}
std::uint32_t longAt(const LiveRecord& r, std::size_t w) {
    return r[w] | (static_cast<std::uint32_t>(r[w + 1]) << 16);
}

TEST(RpmPeriod, MatchesTheReferenceValues) {
    EXPECT_EQ(rpmToPeriod(1200, 0), 23041u);
    EXPECT_EQ(rpmToPeriod(1000, 4), 5529u);
    EXPECT_EQ(rpmToPeriod(3500, 0), 7899u);
    EXPECT_EQ(rpmToPeriod(0, 0), 138248u) << "0 rpm counts as 200";
    EXPECT_EQ(rpmToPeriod(1224, 0), rpmToPeriod(1200, 0)) << "down to a multiple of 25";
    EXPECT_EQ(rpmToPeriod(2900, 19), 105u);
    EXPECT_EQ(rpmToPeriod(1200, 25), 0u);
}

TEST(FactoryImage, HoldsIdentityMapAndSettings) {
    const ParameterImage image = factoryImage();
    EXPECT_EQ(loadWord(image, 242) | (loadWord(image, 243) << 16), 123456);
    EXPECT_EQ(loadWord(image, 374), 0) << "no PIN";
    EXPECT_EQ(loadWord(image, 181), 23041) << "switch-on at 1200 rpm, type 1";
    EXPECT_EQ(image[23], 35);
    EXPECT_EQ(image[167 + 8 * 8 + 3], 99) << "main map row 9, column 4";
    EXPECT_EQ(loadWord(image, 245), 34562);
    EXPECT_EQ(loadWord(image, 268), 2100);
    EXPECT_EQ(loadWord(image, 187), 98);
}

TEST(FactoryImage, PinPacksDigitsAsHex) {
    EXPECT_EQ(packPin("1234"), 0x1234);
    EXPECT_EQ(packPin("0000"), 0);
    EXPECT_EQ(packPin("9090"), 0x9090);
    EXPECT_FALSE(packPin("123"));
    EXPECT_FALSE(packPin("12345"));
    EXPECT_FALSE(packPin("12a4"));
}

TEST(Engine, AutomaticGoesToPropaneWhenWarmAndFastAndBackAtIdle) {
    ControllerCore core{CoreSettings{}};
    const double warmAt = -90.0 * std::log((78.0 - 35.0) / (78.0 - 12.0));  // about 38.6 s
    bool sawPropane = false;
    bool backToAuto = false;
    for (double t = 0.0; t <= 400.0; t += 0.1) {
        core.advanceTo(t);
        const LiveRecord r = core.liveRecord();
        if (modeOf(r) == 2) {
            sawPropane = true;
            ASSERT_GE(t, warmAt) << "propane before the switch-on temperature";
            ASSERT_LE(r[kPeriodWord], 23041) << "propane below the switch-on rpm, t=" << t;
            ASSERT_NE(r[36] & 0x0200, 0) << "tank valve open on gas";
        } else {
            ASSERT_EQ(modeOf(r), 1u) << "t=" << t;
            backToAuto = backToAuto || sawPropane;
        }
    }
    EXPECT_TRUE(sawPropane);
    EXPECT_TRUE(backToAuto) << "idle below switch-on rpm returns to diesel";
}

TEST(Engine, WorkTimesCountSimulatedSecondsOnTheFuelBurnt) {
    CoreSettings settings;
    settings.mode = FuelMode::Diesel;
    ControllerCore core{settings};
    const LiveRecord start = core.liveRecord();
    EXPECT_EQ(longAt(start, 88), 452760u) << "carried over from image words 6-7";
    core.advanceTo(100.0);
    const LiveRecord later = core.liveRecord();
    EXPECT_NEAR(static_cast<double>(longAt(later, 88) - longAt(start, 88)), 100.0, 1.0);
    EXPECT_EQ(longAt(later, 90), longAt(start, 90)) << "no propane burnt on diesel";
}

TEST(Engine, ValuesDoNotDependOnHowOftenTheyArePolled) {
    ControllerCore often{CoreSettings{}};
    ControllerCore once{CoreSettings{}};
    for (double t = 0.0; t <= 250.0; t += 0.01) {
        often.advanceTo(t);
    }
    once.advanceTo(250.0);
    const LiveRecord a = often.liveRecord();
    const LiveRecord b = once.liveRecord();
    EXPECT_NEAR(a[0], b[0], 1) << "reducer temperature";
    EXPECT_NEAR(a[79], b[79], 20) << "manifold pressure";
    EXPECT_NEAR(longAt(a, 88) + longAt(a, 90), longAt(b, 88) + longAt(b, 90), 1);
    EXPECT_EQ(modeOf(a), modeOf(b));
}

TEST(Engine, TemperaturesWarmUpAndTankLevelStepsDownOnGas) {
    CoreSettings settings;
    settings.mode = FuelMode::Propane;
    ControllerCore core{settings};
    EXPECT_EQ(static_cast<std::int16_t>(core.liveRecord()[0]), 12);
    EXPECT_EQ(core.liveRecord()[49], 4) << "full tank";
    std::int16_t lastTemp = 12;
    std::uint16_t lowest = 4;
    bool refilled = false;
    for (double t = 1.0; t <= 1000.0; t += 1.0) {
        core.advanceTo(t);
        const LiveRecord r = core.liveRecord();
        ASSERT_GE(static_cast<std::int16_t>(r[0]), lastTemp);
        lastTemp = static_cast<std::int16_t>(r[0]);
        refilled = refilled || (lowest == 0 && r[49] == 4);
        lowest = std::min(lowest, r[49]);
    }
    EXPECT_GT(lastTemp, 70);
    EXPECT_EQ(lowest, 0);
    EXPECT_TRUE(refilled);
}

TEST(Controller, ErrorSourceStoresCodesAndCountsWord50) {
    CoreSettings settings;
    settings.errorEverySeconds = 10.0;
    ControllerCore core{settings};
    core.advanceTo(35.0);
    EXPECT_EQ(core.errorCodes(), (std::vector<std::uint16_t>{7, 15, 1}));
    EXPECT_EQ(core.liveRecord()[kErrorCounterWord], 3);
    const auto block = core.errorBlock();
    EXPECT_EQ(block[64], 3) << "count in word 32";
    core.advanceTo(1e6);
    EXPECT_EQ(core.errorCodes().size(), kErrorSlots) << "memory holds 32 codes at most";
}

TEST(Controller, DeleteCommandsClearTheLearntTables) {
    ControllerCore core{CoreSettings{}};
    auto table = [&core](std::size_t firstByte) {
        const CalibrationData& data = core.engine().calibration();
        return std::vector<std::uint8_t>(data.begin() + firstByte, data.begin() + firstByte + 128);
    };
    const std::vector<std::uint8_t> empty(128, 0);
    ASSERT_NE(table(256), empty);
    ASSERT_NE(table(384), empty);
    EXPECT_TRUE(core.handle(makeCommand(kCmdDeleteDiesel)).empty());
    EXPECT_EQ(table(256), empty);
    EXPECT_NE(table(384), empty);
    EXPECT_TRUE(core.handle(makeCommand(kCmdDeleteGas)).empty());
    EXPECT_EQ(table(384), empty);
}

}  // namespace
}  // namespace kaldor::sim
