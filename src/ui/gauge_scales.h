#pragma once
// Ranges, number patterns and unit texts of the live gauges, shared by the side panel and the
// readings page so that a pair of gauges showing the same quantity cannot drift apart.
#include <QString>
#include <QWidget>

#include <array>
#include <string_view>

namespace kaldor {

struct GaugeScale {
    const char* name;
    double minimum;
    double maximum;
    const char* format;
    const char* unitText;  // UTF-8
};

inline constexpr std::array<GaugeScale, 24> kGaugeScales{{
    {"AbBarPasRpm", 0.0, 9999.0, "##0", " "},
    {"Ab270MeterRPM", 0.0, 6.0, "##0.0", "RPMx1000"},
    {"Ab180MeterDIFP", 0.001, 3.0, "##0.00", "P[Bar]"},
    {"Ab180MeterPasDifP", 0.001, 3.0, "##0.00", "P[Bar]"},
    {"AbBarPasDifP", 0.0, 3.0, "##0.00", " "},
    {"AbBarPasVacum", 0.0, 3.0, "##0.00", " "},
    {"AbBarPasAbs", 0.0, 3.0, "##0.00", " "},
    {"AbBarPasTg", -40.0, 150.0, "##00", "\u00B0C"},
    {"AbBarPasTr", -40.0, 150.0, "##00", "\u00B0C"},
    {"AbBarOdTg", -40.0, 150.0, "##00", "\u00B0C"},
    {"AbBarOdTR", -40.0, 150.0, "##00", "\u00B0C"},
    {"AbBarPasAir", 0.0, 5.0, "##0.0", "V"},
    {"AbBarLambda", 0.0, 5.0, "##0.0", "V"},
    {"AbBarPasRail", 0.0, 5.0, "##0.0", "V"},
    {"AbBarRail", 0.0, 5.0, "##0.0", "V"},
    {"AbBarEGT", 0.0, 5.0, "##0.0", "V"},
    {"AbBarPasTps", 0.0, 12.0, "##0.0", "V"},
    {"AbBarTPS", 0.0, 14.0, "##0.0", "V"},
    {"AbBarEGT1", 0.0, 1100.0, "##0", "\u00B0C"},
    {"AbBarPasLevel", 0.0, 5.0, "##0.00", " "},
    {"AbBarOdRez", 0.0, 5.0, "##0.00", " "},
    {"AbBarStep", 0.0, 250.0, "##0", " "},
    {"AbBarPasStep", 0.0, 250.0, "##0", " "},
    {"AbBarPasStepProc", 0.0, 100.0, "##0", " %"},
}};

// The scale of the gauge with that name, or nullptr.
[[nodiscard]] const GaugeScale* findGaugeScale(std::string_view name);

// Creates a gauge (a bar or a round meter), names it and gives it its range, pattern and unit
// text from the table above.
template <class Gauge>
Gauge* namedGauge(QWidget* parent, const char* name) {
    auto* gauge = new Gauge(parent);
    gauge->setObjectName(QString::fromLatin1(name));
    if (const GaugeScale* entry = findGaugeScale(name)) {
        gauge->setRange(entry->minimum, entry->maximum);
        gauge->setFormat(QString::fromLatin1(entry->format));
        gauge->setUnitText(QString::fromUtf8(entry->unitText));
    }
    return gauge;
}

}  // namespace kaldor
