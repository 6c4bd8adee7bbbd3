#include "live/readings.h"

#include <charconv>

#include "model/fields.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr double kAdcVolt = kVoltsPerCount;
constexpr double kTpsDivider = kTpsInputDivider;
constexpr double kStepPercent = 0.3937;

// Tank level step -> the five LEDs (an empty tank lights only the reserve LED).
constexpr std::array<std::array<bool, 5>, 5> kLevelLeds{{
    {true, false, false, false, false},
    {false, true, false, false, false},
    {false, true, true, false, false},
    {false, true, true, true, false},
    {false, true, true, true, true},
}};

double tpsVolts(std::uint16_t raw) {
    return AdcToTpsVolts(raw);
}

}  // namespace

std::string fixed(double value, int decimals) {
    // to_chars ignores the process locale: the window's toolkit sets the system's locale, and
    // printf would then write a decimal comma where the texts promise a point.
    char buf[400];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string s(buf, result.ec == std::errc() ? result.ptr : buf);
    if (s.find_first_not_of("-0.") == std::string::npos && s.front() == '-')
        s.erase(0, 1);
    return s;
}

StatusIndicator statusIndicatorFor(const LiveFrame& frame, const StatusTexts& texts) {
    const std::uint8_t ignition = frame.high(36);
    if ((ignition & 0x04) == 0 || (ignition & 0x08) != 0)
        return {1, true, texts.errorRpmIgnition};
    switch (fuelMode(frame)) {
        case FuelMode::Diesel:
            return {0, false, texts.diesel};
        case FuelMode::Auto:
            return {0, false, texts.autoMode};
        case FuelMode::Propane:
            return {0, false, texts.propane};
        case FuelMode::Error:
            break;
    }
    if (frame.high(48) & 0x01)
        return {1, true, texts.errorPressure};
    return {1, true, texts.error};
}

StatusIndicator notConnectedIndicator(const StatusTexts& texts) {
    return {1, true, texts.errorCom};
}

std::optional<std::array<bool, 5>> tankLevelLeds(std::uint8_t level) {
    if (level >= kLevelLeds.size())
        return std::nullopt;
    return kLevelLeds[level];
}

Readings computeReadings(const LiveFrame& f, const EcuImage& image,
                         const ConnectionState& connection, const DisplayVisibility& visible,
                         const StatusTexts& texts, DisplayState& state) {
    Readings r;
    const std::uint8_t hw = connection.hardwareRevision;
    const std::uint8_t sw = connection.softwareRevision;

    // 1. Emulator extremes move only while the controller reports measuring.
    if ((f.low(65) & 0x04) && visible.dnaGroup) {
        const double ch1 = tpsVolts(f.word(9));
        const double ch2 = tpsVolts(f.word(10));
        if (ch1 > state.channel1Max)
            state.channel1Max = ch1;
        if (ch1 < state.channel1Min)
            state.channel1Min = ch1;
        if (ch2 > state.channel2Max)
            state.channel2Max = ch2;
        if (ch2 < state.channel2Min)
            state.channel2Min = ch2;
    }

    // 3. Emulator page texts.
    if (visible.emulatorPage) {
        r.emulatorTexts = true;
        r.labelK1 = "K1: " + std::to_string(static_cast<std::int8_t>(f.low(19))) + "%";
        r.labelK2 = "K2: " + std::to_string(static_cast<std::int8_t>(f.high(19))) + "%";
        const auto ms = [&](std::size_t w) { return fixed(RawToInjTime(f.word(w)), 2) + " ms"; };
        r.labelDtps1 = "DTPS1in: " + ms(72);
        r.labelDtps2 = "DTPS2in: " + ms(74);
        r.labelDtpsOut1 = "dTpsOut1: " + ms(73);
        r.labelDtpsOut2 = "dTpsOut2: " + ms(75);
        r.labelFreq1Val = "FQ " + std::to_string(f.word(68));
        r.labelFreq1ValOut = "FQ " + std::to_string(f.word(69));
        r.labelOperations = std::to_string(f.word(86)) + " [op/s]";
    }

    // 4-7. Battery, ignition, work-time shares, cut-off and cruise.
    r.supplyVolts = f.word(6) * kAdcVolt * kSupplyInputDivider;
    r.contactVolts = f.word(27) * kAdcVolt * kSupplyInputDivider;
    r.editAkum = fixed(r.supplyVolts, 1) + "V";
    r.ignitionOn = (f.high(36) & 0x04) != 0;
    const WorkTimes workTimes = recordedWorkTimes(f);
    const std::uint32_t dieselTime = workTimes.diesel;
    const std::uint32_t propaneTime = workTimes.gas;
    if (dieselTime != 0 && propaneTime != 0) {
        const double total = static_cast<double>(dieselTime) + static_cast<double>(propaneTime);
        r.dieselShare = dieselTime * 100.0 / total;
        r.propaneShare = propaneTime * 100.0 / total;
    }
    r.cutOff = (f.low(65) & 0x10) != 0;
    r.cruise = (f.low(65) & 0x08) != 0;

    // 9. Work-time texts (the diesel one has no blank before its share).
    r.labelWtg = texts.workTime + " " + texts.propane + ": " + std::to_string(propaneTime) +
                 " [s] " + fixed(r.propaneShare, 2) + " [%]";
    r.labelWtd = texts.workTime + " " + texts.diesel + ": " + std::to_string(dieselTime) + " [s]" +
                 fixed(r.dieselShare, 2) + " [%]";

    // 12-14. Exhaust gas, power stage, engine speed.
    r.egtVolts = f.word(80) * kAdcVolt;
    r.egtCelsius = f.word(80) * kAdcVolt * kEgtSensorDegreesPerVolt;
    r.editAlter = std::to_string(f.word(8));
    r.rpm = PeriodToRpm(f.word(21), image.byte(fieldDef(FieldId::RpmSignalType).offset));
    r.rpmThousands = static_cast<double>(r.rpm) * 0.001;

    // 15. Against the manifold when the regulator's vacuum line is connected, else gas pressure
    // relative to one bar.
    if (readField(image, FieldId::RegulatorVacuumConnected))
        r.pressureDifference = f.word(24) * 0.001;
    else
        r.pressureDifference = f.word(78) * 0.001 - 1;

    // 16-18. Air flow, throttle, rail.
    r.airFlow = f.word(30) * kAdcVolt;
    r.tps = f.word(4) * kAdcVolt * kTpsDivider;
    const bool railDivided = readField(image, FieldId::DnaEmulatorOn) && sw >= 5 && hw == 2;
    r.rail = railDivided ? tpsVolts(f.word(9)) : AdcToVolts(f.word(9));

    // 19-20. Emulator input voltages and extremes.
    if ((hw == 1 && sw == 5) || (hw == 2 && sw > 5)) {
        r.emulatorVoltages = true;
        r.labelVemu1 = fixed(tpsVolts(f.word(9)), 3);
        r.labelVemu2 = fixed(tpsVolts(f.word(10)), 3);
    }
    r.labelDnaMaxMinK1 =
        "K1 max: " + fixed(state.channel1Max, 3) + " | min: " + fixed(state.channel1Min, 3);
    r.labelDnaMaxMinK2 =
        "K2 max: " + fixed(state.channel2Max, 3) + " | min: " + fixed(state.channel2Min, 3);

    // 21. Boost and absolute gas pressure.
    r.vacuum = f.word(79) * 0.001;
    r.absolutePressure = f.word(78) * 0.001;

    // 22. Consumption estimate.
    const bool onPropane = fuelMode(f) == FuelMode::Propane && f.word(3) != 0;
    if (onPropane) {
        if (state.consumptionFactor >= 7.0)
            state.consumptionFactor -= 0.5;
    } else if (state.consumptionFactor <= 12.0) {
        state.consumptionFactor += 0.5;
    }
    const double x = (static_cast<int>(f.word(79)) - 500) * 0.001 * state.consumptionFactor;
    state.dieselConsumption += x > state.dieselConsumption ? 0.2 : -0.2;
    state.propaneConsumption = onPropane ? x : 0.0;
    r.editDieselL = fixed(state.dieselConsumption, 1) + " l/h";
    r.editGazL = fixed(state.propaneConsumption, 1) + " l/h";

    // 23-25. Stepper, temperatures, tank level.
    r.step = f.word(3);
    r.stepPercent = f.word(3) * kStepPercent;
    r.propaneTemperature = f.signedWord(1);
    r.regulatorTemperature = f.signedWord(0);
    r.level = f.word(26) * kAdcVolt;

    // 26-28. Level LEDs, valves, status.
    r.levelLeds = tankLevelLeds(f.low(49));
    r.regulatorValve = (f.high(35) & 0x01) != 0;
    r.tankValve = (f.high(36) & 0x02) != 0;
    r.dieselValve = (f.high(35) & 0x04) != 0;
    r.status = statusIndicatorFor(f, texts);

    // 29. Error watch: a new counter value asks for the error memory once.
    if (f.word(50) != state.lastErrorCounter) {
        r.errorCounterChanged = true;
        state.lastErrorCounter = f.word(50);
    }
    return r;
}

}  // namespace kaldor
