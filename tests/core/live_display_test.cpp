#include <gtest/gtest.h>

#include "diagnostics/error_counter_watch.h"
#include "emulation/emulator_extremes.h"
#include "live/live_display.h"
#include "live/live_signals.h"
#include "model/fields.h"
#include "model/units.h"

using namespace kaldor;

namespace {

constexpr std::uint16_t kIgnitionOn = 0x0400;  // word 36 high byte bit 2

LiveFrame running(FuelMode mode) {
    LiveFrame f;
    f.setWord(36, kIgnitionOn);
    f.setWord(39, static_cast<std::uint16_t>(static_cast<unsigned>(mode) << 7));
    return f;
}

struct ReadingsFixture : ::testing::Test {
    EcuImage image;
    ConnectionState connection;
    StatusTexts texts;
    double value(const LiveFrame& f, LiveSignal id) {
        return liveValue(f, id, liveContext(image, connection));
    }
};

TEST(StatusIndicator, FollowsTheTable) {
    StatusTexts texts;
    struct Case {
        const char* name;
        LiveFrame frame;
        int status;
        bool flashing;
        std::string caption;
    };
    LiveFrame ignitionOff = running(FuelMode::Propane);
    ignitionOff.setWord(36, 0);
    LiveFrame rpmError = running(FuelMode::Diesel);
    rpmError.setWord(36, kIgnitionOn | 0x0800);
    LiveFrame pressure = running(FuelMode::Error);
    pressure.setWord(48, 0x0100);
    const Case cases[] = {
        {"diesel", running(FuelMode::Diesel), 0, false, "diesel"},
        {"auto", running(FuelMode::Auto), 0, false, "auto"},
        {"propane", running(FuelMode::Propane), 0, false, "propane"},
        {"error", running(FuelMode::Error), 1, true, "error"},
        {"pressure", pressure, 1, true, "error pres."},
        {"ignition off", ignitionOff, 1, true, "error RPM/IGN."},
        {"rpm error", rpmError, 1, true, "error RPM/IGN."},
    };
    for (const auto& c : cases) {
        const StatusIndicator s = statusIndicatorFor(c.frame, texts);
        EXPECT_EQ(s.status, c.status) << c.name;
        EXPECT_EQ(s.flashing, c.flashing) << c.name;
        EXPECT_EQ(s.caption, c.caption) << c.name;
    }
    EXPECT_EQ(notConnectedIndicator(texts).caption, "error COMx");
    texts.propane = "LPG";
    EXPECT_EQ(statusIndicatorFor(running(FuelMode::Propane), texts).caption, "LPG");
}

TEST(TankLevel, LedsPerStepAndUnchangedFromFive) {
    using L = std::array<bool, 5>;
    EXPECT_EQ(tankLevelLeds(0), (L{true, false, false, false, false}));
    EXPECT_EQ(tankLevelLeds(1), (L{false, true, false, false, false}));
    EXPECT_EQ(tankLevelLeds(2), (L{false, true, true, false, false}));
    EXPECT_EQ(tankLevelLeds(3), (L{false, true, true, true, false}));
    EXPECT_EQ(tankLevelLeds(4), (L{false, true, true, true, true}));
    EXPECT_FALSE(tankLevelLeds(5).has_value());
    EXPECT_FALSE(tankLevelLeds(255).has_value());
}

TEST_F(ReadingsFixture, WorkTimeSharesAndTexts) {
    LiveFrame f = running(FuelMode::Diesel);
    f.setWord(88, 300);
    WorkTimeShares r = workTimeShares(f, texts);
    EXPECT_EQ(r.diesel, 0);
    EXPECT_EQ(r.propane, 0);
    EXPECT_EQ(r.propaneText, "work time propane: 0 [s] 0.00 [%]");
    EXPECT_EQ(r.dieselText, "work time diesel: 300 [s]0.00 [%]");
    f.setWord(90, 100);
    f.setWord(91, 1);  // 65636 s on propane: the high word counts
    r = workTimeShares(f, texts);
    EXPECT_NEAR(r.propane, 65636 * 100.0 / 65936, 1e-9);
    EXPECT_EQ(r.propaneText, "work time propane: 65636 [s] 99.55 [%]");
}

TEST_F(ReadingsFixture, EngineSpeedFollowsTheRpmSignalType) {
    LiveFrame f = running(FuelMode::Auto);
    f.setWord(21, static_cast<std::uint16_t>(RpmToPeriod(2000, 3)));
    storeField(image, FieldId::RpmSignalType, 3);
    EXPECT_EQ(value(f, LiveSignal::EngineSpeed), 2000);
    EXPECT_DOUBLE_EQ(value(f, LiveSignal::EngineSpeedThousands), 2.0);
    storeField(image, FieldId::RpmSignalType, 0);
    EXPECT_NE(value(f, LiveSignal::EngineSpeed), 2000);
}

TEST_F(ReadingsFixture, PressureDifferenceDependsOnTheVacuumLine) {
    LiveFrame f = running(FuelMode::Propane);
    f.setWord(24, 1250);
    f.setWord(78, 2100);
    storeField(image, FieldId::RegulatorVacuumConnected, 1);
    EXPECT_DOUBLE_EQ(value(f, LiveSignal::PressureDifference), 1.25);
    storeField(image, FieldId::RegulatorVacuumConnected, 0);
    EXPECT_NEAR(value(f, LiveSignal::PressureDifference), 1.1, 1e-12);
}

TEST_F(ReadingsFixture, RailVoltageUsesTheDividerOnlyForTheDnaEmulatorOnNewControllers) {
    LiveFrame f = running(FuelMode::Diesel);
    f.setWord(9, 1000);
    connection.hardwareRevision = 2;
    connection.softwareRevision = 5;
    EXPECT_NEAR(value(f, LiveSignal::RailPressure), 1.22, 1e-12);
    storeField(image, FieldId::DnaEmulatorOn, 1);
    EXPECT_NEAR(value(f, LiveSignal::RailPressure), 1.22 * 3.14, 1e-12);
    connection.hardwareRevision = 1;
    EXPECT_NEAR(value(f, LiveSignal::RailPressure), 1.22, 1e-12);
}

TEST(ErrorCounterWatch, ChangeTriggersExactlyOneRead) {
    ErrorCounterWatch watch;
    LiveFrame f = running(FuelMode::Diesel);
    const auto changed = [&] {
        return watch.moved(static_cast<std::uint16_t>(liveRaw(f, LiveSignal::ErrorCounter)));
    };
    f.setWord(50, 3);
    EXPECT_TRUE(changed());
    EXPECT_FALSE(changed());
    f.setWord(50, 4);
    EXPECT_TRUE(changed());
    EXPECT_FALSE(changed());
}

// Whether the group is shown is the EMU page's part; here the measurement itself.
TEST_F(ReadingsFixture, EmulatorExtremesMoveOnlyWhileMeasuring) {
    EmulatorExtremes extremes;
    LiveFrame f = running(FuelMode::Diesel);
    f.setWord(9, 1000);
    f.setWord(10, 500);
    EXPECT_FALSE(liveRaw(f, LiveSignal::EmulatorMeasuring));
    EXPECT_EQ(extremes.maximum(0), -1.0);
    f.setWord(65, 0x04);
    ASSERT_TRUE(liveRaw(f, LiveSignal::EmulatorMeasuring));
    extremes.measure(value(f, LiveSignal::EmulatorChannel1),
                     value(f, LiveSignal::EmulatorChannel2));
    EXPECT_NEAR(extremes.maximum(0), 3.8308, 1e-9);
    EXPECT_NEAR(extremes.minimum(1), 1.9154, 1e-9);
    EXPECT_EQ(extremes.text(0), "K1 max: 3.831 | min: 3.831");
    extremes.reset();
    EXPECT_EQ(extremes.minimum(0), 20.0);
    EXPECT_EQ(extremes.text(1), "K2 max: -1.000 | min: 20.000");
}

// The labels around them are the EMU page's, shown only while it is.
TEST_F(ReadingsFixture, EmulatorPageTexts) {
    LiveFrame f = running(FuelMode::Diesel);
    f.setWord(19, 0xF605);  // K1 = 5, K2 = -10
    f.setWord(72, 113);
    f.setWord(86, 420);
    const LiveContext context = liveContext(image, connection);
    EXPECT_EQ(liveText(f, LiveSignal::EmulatorCorrection1, context), "5");
    EXPECT_EQ(liveText(f, LiveSignal::EmulatorCorrection2, context), "-10");
    EXPECT_EQ(liveText(f, LiveSignal::Dtps1In, context), "0.50");
    EXPECT_EQ(liveText(f, LiveSignal::OperationsPerSecond, context), "420");
}

TEST(ConsumptionEstimate, AdaptsItsFactor) {
    ConsumptionEstimate estimate;
    LiveFrame f = running(FuelMode::Propane);
    f.setWord(3, 100);
    f.setWord(79, 1500);
    estimate.update(f);
    EXPECT_DOUBLE_EQ(estimate.factor(), 10.5);
    EXPECT_NEAR(estimate.propane(), 10.5, 1e-12);
    EXPECT_NEAR(estimate.diesel(), 14.8, 1e-12);
    EXPECT_EQ(estimate.propaneText(), "10.5 l/h");
    f.setWord(3, 0);  // stepper closed: counted as not on propane
    estimate.update(f);
    EXPECT_DOUBLE_EQ(estimate.factor(), 11.0);
    EXPECT_EQ(estimate.propaneText(), "0.0 l/h");
    f.setWord(79, 100);  // below 0.5 bar boost: a negative difference, not a wrapped one
    estimate.update(f);
    EXPECT_LT(estimate.diesel(), 14.8);
}

TEST_F(ReadingsFixture, ScalesOfTheGauges) {
    LiveFrame f = running(FuelMode::Diesel);
    f.setWord(6, 2000);
    f.setWord(0, static_cast<std::uint16_t>(-15));
    f.setWord(27, 1000);
    f.setWord(80, 1000);
    f.setWord(49, 0x0205);  // low byte 5: LEDs unchanged
    const LiveRecord r{f, liveContext(image, connection)};
    EXPECT_EQ(r.text(LiveSignal::SupplyVoltage) + liveSignalDef(LiveSignal::SupplyVoltage).unit,
              "14.2V");
    EXPECT_NEAR(r.value(LiveSignal::SupplyVoltage), 14.152, 1e-9);
    EXPECT_NEAR(r.value(LiveSignal::IgnitionVoltage), 7.076, 1e-9);
    EXPECT_EQ(r.value(LiveSignal::ReducerTemperature), -15);
    EXPECT_NEAR(r.value(LiveSignal::ExhaustTemperature), 348.92, 1e-9);
    EXPECT_FALSE(tankLevelLeds(f).has_value());
    EXPECT_TRUE(r.on(LiveSignal::IgnitionOn));
}

}  // namespace
