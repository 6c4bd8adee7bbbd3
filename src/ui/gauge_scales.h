#pragma once
// Ranges, number patterns and unit texts of the live gauges, shared by the side panel and the
// readings page so that a pair of gauges showing the same quantity cannot drift apart.
#include <QString>
#include <QWidget>

#include <array>
#include <string_view>

#include "live/live_signals.h"
#include "widgets/instrument_accessibility.h"

namespace kaldor {

// A gauge is read aloud as the live signal it shows, with the signal's unit and decimals; a gauge
// drawn in other units than the signal's (the round meter's thousands of rpm) says how many of the
// signal's units one of its own is.
struct GaugeScale {
    const char* name;
    double minimum;
    double maximum;
    const char* format;
    const char* unitText;  // UTF-8
    LiveSignal spoken;
    double spokenScale = 1;
};

inline constexpr std::array<GaugeScale, 24> kGaugeScales{{
    {"AbBarPasRpm", 0.0, 9999.0, "##0", " ", LiveSignal::EngineSpeed},
    {"Ab270MeterRPM", 0.0, 6.0, "##0.0", "RPMx1000", LiveSignal::EngineSpeed, 1000},
    {"Ab180MeterDIFP", 0.001, 3.0, "##0.00", "P[Bar]", LiveSignal::PressureDifference},
    {"Ab180MeterPasDifP", 0.001, 3.0, "##0.00", "P[Bar]", LiveSignal::PressureDifference},
    {"AbBarPasDifP", 0.0, 3.0, "##0.00", " ", LiveSignal::PressureDifference},
    {"AbBarPasVacum", 0.0, 3.0, "##0.00", " ", LiveSignal::ManifoldPressure},
    {"AbBarPasAbs", 0.0, 3.0, "##0.00", " ", LiveSignal::GasPressure},
    {"AbBarPasTg", -40.0, 150.0, "##00", "\u00B0C", LiveSignal::PropaneTemperature},
    {"AbBarPasTr", -40.0, 150.0, "##00", "\u00B0C", LiveSignal::ReducerTemperature},
    {"AbBarOdTg", -40.0, 150.0, "##00", "\u00B0C", LiveSignal::PropaneTemperature},
    {"AbBarOdTR", -40.0, 150.0, "##00", "\u00B0C", LiveSignal::ReducerTemperature},
    {"AbBarPasAir", 0.0, 5.0, "##0.0", "V", LiveSignal::AirFlow},
    {"AbBarLambda", 0.0, 5.0, "##0.0", "V", LiveSignal::AirFlow},
    {"AbBarPasRail", 0.0, 5.0, "##0.0", "V", LiveSignal::RailPressure},
    {"AbBarRail", 0.0, 5.0, "##0.0", "V", LiveSignal::RailPressure},
    {"AbBarEGT", 0.0, 5.0, "##0.0", "V", LiveSignal::ExhaustSignal},
    {"AbBarPasTps", 0.0, 12.0, "##0.0", "V", LiveSignal::Throttle},
    {"AbBarTPS", 0.0, 14.0, "##0.0", "V", LiveSignal::Throttle},
    {"AbBarEGT1", 0.0, 1100.0, "##0", "\u00B0C", LiveSignal::ExhaustTemperature},
    {"AbBarPasLevel", 0.0, 5.0, "##0.00", " ", LiveSignal::TankLevel},
    {"AbBarOdRez", 0.0, 5.0, "##0.00", " ", LiveSignal::TankLevel},
    {"AbBarStep", 0.0, 250.0, "##0", " ", LiveSignal::StepperPosition},
    {"AbBarPasStep", 0.0, 250.0, "##0", " ", LiveSignal::StepperPosition},
    {"AbBarPasStepProc", 0.0, 100.0, "##0", " %", LiveSignal::StepperOpening},
}};

// The scale of the gauge with that name, or nullptr.
[[nodiscard]] const GaugeScale* findGaugeScale(std::string_view name);

// Creates a gauge (a bar or a round meter), names it and gives it its range, pattern and unit
// text from the table above, and the reading assistive technology gives of it.
template <class Gauge>
Gauge* namedGauge(QWidget* parent, const char* name) {
    auto* gauge = new Gauge(parent);
    gauge->setObjectName(QString::fromLatin1(name));
    if (const GaugeScale* entry = findGaugeScale(name)) {
        gauge->setRange(entry->minimum, entry->maximum);
        gauge->setFormat(QString::fromLatin1(entry->format));
        gauge->setUnitText(QString::fromUtf8(entry->unitText));
        const LiveSignalDef& signal = liveSignalDef(entry->spoken);
        instrument_accessibility::setReading(gauge, QString::fromUtf8(signal.unit), signal.decimals,
                                             entry->spokenScale);
    }
    return gauge;
}

}  // namespace kaldor
