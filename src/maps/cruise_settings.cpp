#include "maps/cruise_settings.h"

#include <array>

#include "live/live_signals.h"
#include "model/codec.h"
#include "model/fields.h"
#include "model/fixed_text.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr unsigned kCruiseBoost = 1;
constexpr unsigned kCruiseRpm = 2;
constexpr unsigned kCruiseBoostRpm = 3;

// How each cut-off mode learns its threshold from the signal s: refused beyond the limit,
// otherwise s + s * margin + offset on a rising signal, s - s * margin - offset on a falling one.
struct CutOffRule {
    bool airFlow;  // air-flow volts of the air-flow input, else throttle volts
    bool rising;   // refused at or above the limit, else at or below it
    double limitVolts;
    // Extended constants: a whole percentage of a whole count stays whole (1000 - 2 % is 980,
    // not 979.99...), so the threshold is the one the installer works out by hand.
    long double margin;
    const char* refusal;
    const char* report;
};
constexpr long double kCutOffOffset = 25;
// Modes 1 to 4; mode 0 (and the modes the list does not hold) learn nothing.
constexpr std::array<CutOffRule, 4> kCutOffRules{{
    {false, true, 12.0, 0.1L, kMsgTpsCutOffHigh, kMsgTpsCutOff},
    {false, false, 1.0, 0.02L, kMsgTpsCutOffLow, kMsgTpsCutOff},
    {true, true, 4.0, 0.1L, kMsgAirFlowCutOffHigh, kMsgAirFlowCutOff},
    {true, false, 0.5, 0.05L, kMsgAirFlowCutOffLow, kMsgAirFlowCutOff},
}};

double signalVolts(const CutOffRule& rule, long counts) {
    return rule.airFlow ? AdcToVolts(counts) : AdcToTpsVolts(counts);
}

void storeAndSend(EcuImage& image, FieldSender& sender, FieldId field, std::uint32_t raw) {
    storeField(image, field, raw);
    sender.sendField(field);
}

}  // namespace

CruiseSettingsShown cruiseSettingsShown(const EcuImage& image) {
    return {shownValue(image, FieldId::CruiseRpmPeriod).value_or(0),
            shownValue(image, FieldId::CruisePressure).value_or(0),
            shownValue(image, FieldId::CruiseTime).value_or(0)};
}

CruiseSettingsShown cruiseDefaultsChosen(EcuImage& image, FieldSender& sender) {
    const unsigned mode = readField(image, FieldId::CruiseMode);
    const bool rpm = mode == kCruiseRpm || mode == kCruiseBoostRpm;
    const bool boost = mode == kCruiseBoost || mode == kCruiseBoostRpm;
    if (rpm)
        storeAndSend(
            image, sender, FieldId::CruiseRpmPeriod,
            periodForField(RpmToPeriod(
                kCruiseDefaultRpm, static_cast<int>(readField(image, FieldId::RpmSignalType)))));
    if (boost)
        storeAndSend(image, sender, FieldId::CruisePressure, kCruiseDefaultMillibar);
    if (rpm || boost)
        storeAndSend(image, sender, FieldId::CruiseTime, kCruiseDefaultSeconds);
    return cruiseSettingsShown(image);
}

CutOffLearning learnCutOffLevel(EcuImage& image, FieldSender& sender, Prompts& prompts,
                                const LiveFrame& frame, char decimalPoint) {
    CutOffLearning learning;
    const unsigned mode = readField(image, FieldId::TpsCutOffMode);
    if (mode >= 1 && mode <= kCutOffRules.size()) {
        const CutOffRule& rule = kCutOffRules[mode - 1];
        const long s = static_cast<long>(
            liveRaw(frame, rule.airFlow ? LiveSignal::AirFlowInput : LiveSignal::Throttle));
        const double volts = signalVolts(rule, s);
        const bool refused = rule.rising ? volts >= rule.limitVolts : volts <= rule.limitVolts;
        if (refused) {
            learning.message = rule.refusal + fixedText(volts, 2, decimalPoint);
        } else {
            const long double x = static_cast<long double>(s);
            const long double level = rule.rising ? x + x * rule.margin + kCutOffOffset
                                                  : x - x * rule.margin - kCutOffOffset;
            storeAndSend(image, sender, FieldId::TpsCutOffLevel, toWordField(truncateToInt(level)));
            learning.stored = true;
            const long stored = static_cast<long>(readField(image, FieldId::TpsCutOffLevel));
            learning.message = rule.report + fixedText(signalVolts(rule, stored), 2, decimalPoint);
        }
        prompts.message(learning.message);
    }
    learning.levelShown = shownValue(image, FieldId::TpsCutOffLevel);
    storeAndSend(image, sender, FieldId::CutOffTime,
                 static_cast<std::uint32_t>(kCutOffTimeAfterLearning));
    return learning;
}

}  // namespace kaldor
