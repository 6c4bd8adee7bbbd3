#include <gtest/gtest.h>

#include <set>
#include <string>

#include "live/live_signals.h"

using namespace kaldor;

namespace {

using S = LiveSignal;

// One record as a running controller sends it, every word the table reads set apart from its
// neighbours, so a row reading the wrong word or bit shows.
LiveFrame goldenRecord() {
    const std::uint16_t words[][2] = {
        {0, 0xFFF1},  // -15 degrees
        {1, 35},      {3, 120},     {4, 800},     {5, 1200},    {6, 2000},    {8, 48205},
        {9, 1000},    {10, 500},    {19, 0xF605},  // K1 5 %, K2 -10 %
        {21, 3456},                                // 2000 rpm with signal type 3
        {24, 1250},   {26, 2000},   {27, 1000},   {30, 1700},   {31, 0x0C07}, {35, 0x0500},
        {36, 0x0600}, {39, 0x0100}, {48, 0x0100}, {49, 0x0203}, {50, 7},      {51, 0xFFC7},  // -57
        {52, 57},     {53, 0xFFF7},                                                          // -9
        {55, 123},    {56, 0xFF9C},                                                          // -100
        {57, 999},    {58, 1},      {65, 0x0014}, {68, 1234},   {69, 4321},   {72, 113},
        {73, 1000},   {74, 250},    {75, 0},      {78, 2100},   {79, 1400},   {80, 1000},
        {86, 420},    {88, 300},    {89, 0},      {90, 100},    {91, 1},
    };
    LiveFrame f;
    for (const auto& w : words)
        f.setWord(w[0], w[1]);
    return f;
}

// A hardware 2, software 5 controller with the DNA emulator on, the regulator's vacuum line
// connected and rpm signal type 3.
constexpr LiveContext kGoldenContext{3, true, true, 2, 5};

struct Golden {
    LiveSignal id;
    std::int64_t raw;
    double value;
    const char* text;
};

// What the pages show today for the golden record, bit for bit: a codec with another operand
// order or precision fails here even where its text would not. Where the nearest double to the
// decimal is not what the pages compute, the value is written as their arithmetic.
const Golden kGolden[] = {
    {S::ReducerTemperature, -15, -15, "-15"},
    {S::PropaneTemperature, 35, 35, "35"},
    {S::StepperPosition, 120, 120, "120"},
    {S::StepperOpening, 120, 47.244, "47"},
    {S::Throttle, 800, 800 * 0.00122 * 3.14, "3.1"},  // 3.0646400000000003
    {S::AirFlowInput, 1200, 1.464, "1.46"},
    {S::SupplyVoltage, 2000, 14.152, "14.2"},
    {S::PowerStage, 48205, 48205, "48205"},
    {S::RailSignal, 1000, 1.22, "1.220"},
    {S::RailPressure, 1000, 3.8308, "3.8"},
    {S::EmulatorChannel1, 1000, 3.8308, "3.831"},
    {S::EmulatorChannel2, 500, 1.9154, "1.915"},
    {S::EmulatorCorrection1, 5, 5, "5"},
    {S::EmulatorCorrection2, -10, -10, "-10"},
    {S::EngineSpeed, 3456, 2000, "2000"},
    {S::EngineSpeedThousands, 3456, 2, "2.0"},
    {S::DifferentialPressure, 1250, 1.25, "1.25"},
    {S::PressureDifference, 1250, 1.25, "1.25"},
    {S::TankLevel, 2000, 2.44, "2.44"},
    {S::IgnitionVoltage, 1000, 7.076, "7.08"},
    {S::AirFlow, 1700, 2.074, "2.1"},
    {S::ChartCode1, 7, 7, "7"},
    {S::ChartCode2, 12, 12, "12"},
    {S::RegulatorValve, 1, 1, "1"},
    {S::DieselValve, 1, 1, "1"},
    {S::TankValve, 1, 1, "1"},
    {S::IgnitionOn, 1, 1, "1"},
    {S::EngineSpeedError, 0, 0, "0"},
    {S::FuelMode, 2, 2, "2"},
    {S::PressureError, 1, 1, "1"},
    {S::TankLevelStep, 3, 3, "3"},
    {S::ErrorCounter, 7, 7, "7"},
    {S::EgtCorrection, -57, -5, "-5"},
    {S::AirFlowCorrection, 57, 5, "5"},
    {S::GasTemperatureCorrection, -9, 0, "0"},
    {S::GasPressureCorrection, 123, 12, "12"},
    {S::ReducerTemperatureCorrection, -100, -10, "-10"},
    {S::ManifoldPressureCorrection, 999, 99, "99"},
    {S::DifferentialPressureCorrection, 1, 0, "0"},
    {S::EmulatorMeasuring, 1, 1, "1"},
    {S::CruiseActive, 0, 0, "0"},
    {S::CutOffActive, 1, 1, "1"},
    {S::FrequencyIn, 1234, 1234, "1234"},
    {S::FrequencyOut, 4321, 4321, "4321"},
    // Injection times pass through single precision.
    {S::Dtps1In, 113, 0.4972f, "0.50"},
    {S::Dtps1Out, 1000, 4.4f, "4.40"},
    {S::Dtps2In, 250, 1.1f, "1.10"},
    {S::Dtps2Out, 0, 0, "0.00"},
    {S::GasPressure, 2100, 2.1, "2.10"},
    {S::ManifoldPressure, 1400, 1400 * 0.001, "1.40"},  // 1.4000000000000001
    {S::ExhaustSignal, 1000, 1.22, "1.2"},
    {S::ExhaustTemperature, 1000, 348.92, "349"},
    {S::OperationsPerSecond, 420, 420, "420"},
    {S::DieselWorkTime, 300, 300, "300"},
    {S::PropaneWorkTime, 65636, 65636, "65636"},
};

TEST(LiveSignals, EveryRowShowsTheGoldenRecordAsThePagesDo) {
    const LiveFrame f = goldenRecord();
    std::set<LiveSignal> seen;
    for (const Golden& g : kGolden) {
        const char* name = liveSignalDef(g.id).name;
        seen.insert(g.id);
        EXPECT_EQ(liveRaw(f, g.id), g.raw) << name;
        EXPECT_EQ(liveValue(f, g.id, kGoldenContext), g.value) << name;
        EXPECT_EQ(liveText(f, g.id, kGoldenContext), g.text) << name;
    }
    EXPECT_EQ(seen.size(), kLiveSignalCount) << "a row without a golden value";

    // The codecs that take the controller's set-up, in their other case.
    LiveContext other = kGoldenContext;
    other.regulatorVacuumConnected = false;
    other.hardwareRevision = 1;
    EXPECT_NEAR(liveValue(f, S::PressureDifference, other), 1.1, 1e-12) << "gas pressure - 1";
    EXPECT_DOUBLE_EQ(liveValue(f, S::RailPressure, other), 1.22);
    other.rpmSignalType = 0;
    EXPECT_NE(liveValue(f, S::EngineSpeed, other), 2000);
}

// The export's columns and the scope's items are numbered without gaps or twins, and every
// row's place lies where its raw type says.
TEST(LiveSignals, TableIsWellFormed) {
    std::set<int> csvColumns;
    std::set<int> scopeItems;
    std::set<std::string> names;
    for (const LiveSignalDef& d : liveSignals()) {
        EXPECT_EQ(&liveSignalDef(d.id), &d);
        EXPECT_TRUE(names.insert(d.name).second) << d.name;
        EXPECT_LE(d.minimum, d.maximum) << d.name;
        if (d.csv.column > 0) {
            EXPECT_TRUE(csvColumns.insert(d.csv.column).second) << d.name;
        }
        if (d.scopeItem > 0) {
            EXPECT_TRUE(scopeItems.insert(d.scopeItem).second) << d.name;
        }
    }
    EXPECT_EQ(csvColumns.size(), 15u);
    EXPECT_EQ(*csvColumns.rbegin(), 15);
    EXPECT_EQ(scopeItems.size(), 7u);
    EXPECT_EQ(*scopeItems.rbegin(), 7);
    EXPECT_EQ(liveCsvHeader(liveSignalDef(S::ExhaustTemperature)),
              "exhaust gas temperature [\xC2\xB0"
              "C]");
    EXPECT_EQ(liveCsvHeader(liveSignalDef(S::StepperPosition)), "stepper position");
}

}  // namespace
