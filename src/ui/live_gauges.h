#pragma once
// The live gauges of the side panel and the readings page. Every bar, round meter and lamp that
// shows a live signal is bound to it by its control name in one table; a bar or round meter
// takes its range, number pattern, unit text and the way it is read aloud from the signal's row
// of the live signal table (LiveGauge), so two gauges showing one quantity cannot drift apart.
// A page creates its gauges through a LiveGauges, lays them out as it likes and hands it each
// live record.
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "live/live_signals.h"
#include "ui/ui_build.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"

namespace kaldor {

// How a record reaches the control.
enum class GaugeFeed : std::uint8_t {
    Value,     // a bar or round meter: the signal's value
    Lit,       // a lamp, lit (checked) while the signal is on
    Status,    // a status lamp, status 1 while the signal is on
    TankLamp,  // one of the five lamps of the tank level step (`lamp`: 0 the emptiest)
};

struct GaugeBinding {
    const char* name;
    LiveSignal signal;
    GaugeFeed feed = GaugeFeed::Value;
    std::uint8_t lamp = 0;
};

// In the order a record reaches the controls: the side panel's, then the readings page's.
inline constexpr std::array<GaugeBinding, 41> kGaugeBindings{{
    {"AbBarEGT", LiveSignal::ExhaustSignal},
    {"AbBarEGT1", LiveSignal::ExhaustTemperature},
    {"AbBarPasRpm", LiveSignal::EngineSpeed},
    {"Ab180MeterPasDifP", LiveSignal::PressureDifference},
    {"AbBarPasDifP", LiveSignal::PressureDifference},
    {"AbBarPasAir", LiveSignal::AirFlow},
    {"AbBarPasTps", LiveSignal::Throttle},
    {"AbBarPasRail", LiveSignal::RailPressure},
    {"AbBarPasVacum", LiveSignal::ManifoldPressure},
    {"AbBarPasAbs", LiveSignal::GasPressure},
    {"AbBarPasStep", LiveSignal::StepperPosition},
    {"AbBarPasStepProc", LiveSignal::StepperOpening},
    {"AbBarPasTg", LiveSignal::PropaneTemperature},
    {"AbBarPasTr", LiveSignal::ReducerTemperature},
    {"AbBarPasLevel", LiveSignal::TankLevel},
    {"AbLedPasLev1", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 0},
    {"AbLedPasLev2", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 1},
    {"AbLedPasLev3", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 2},
    {"AbLedPasLev4", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 3},
    {"AbLedPasLev5", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 4},
    {"AbLEDReduktor", LiveSignal::RegulatorValve, GaugeFeed::Lit},
    {"AbLEDZaworEzaw", LiveSignal::TankValve, GaugeFeed::Lit},
    {"AbLEDdiesel", LiveSignal::DieselValve, GaugeFeed::Lit},

    {"AbLEDStac", LiveSignal::IgnitionOn, GaugeFeed::Status},
    {"Ab270MeterRPM", LiveSignal::EngineSpeedThousands},
    {"Ab180MeterDIFP", LiveSignal::PressureDifference},
    {"AbBarLambda", LiveSignal::AirFlow},
    {"AbBarTPS", LiveSignal::Throttle},
    {"AbBarRail", LiveSignal::RailPressure},
    {"AbBarStep", LiveSignal::StepperPosition},
    {"AbBarOdTg", LiveSignal::PropaneTemperature},
    {"AbBarOdTR", LiveSignal::ReducerTemperature},
    {"AbBarOdRez", LiveSignal::TankLevel},
    // AbLEDOdPoz0 is the reserve lamp.
    {"AbLEDOdPoz0", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 0},
    {"AbLEDOdPoz1", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 1},
    {"AbLEDOdPoz2", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 2},
    {"AbLEDOdPoz3", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 3},
    {"AbLEDOdPoz4", LiveSignal::TankLevelStep, GaugeFeed::TankLamp, 4},
    {"AbLEDRed", LiveSignal::RegulatorValve, GaugeFeed::Lit},
    {"AbLEDEzaw", LiveSignal::TankValve, GaugeFeed::Lit},
    {"AbLEDdies", LiveSignal::DieselValve, GaugeFeed::Lit},
}};
// The binding of the control with that name, or nullptr.
[[nodiscard]] const GaugeBinding* findGaugeBinding(std::string_view name);

// What a bar or round meter draws of its signal's row.
struct GaugeScale {
    double minimum;
    double maximum;
    QString pattern;
    QString unitText;
};
[[nodiscard]] GaugeScale gaugeScale(const LiveSignalDef& signal, bool roundMeter);

// One page's bound controls. Each is created by its name, which must have a binding, and is fed
// from then on; the page keeps the pointers and lays the controls out.
class LiveGauges {
public:
    AbBar* bar(QWidget* parent, const char* name);
    template <class Meter>
    Meter* meter(QWidget* parent, const char* name) {
        auto* meter = named<Meter>(parent, name);
        addMeter(meter, name);
        return meter;
    }
    AbLED* lamp(QWidget* parent, const char* name, const QString& caption = QString());

    // Every control shows the record, in the table's order.
    void show(const LiveRecord& record) const;

private:
    struct Fed {
        const GaugeBinding* binding;
        AbBar* bar = nullptr;
        AbRoundMeter* meter = nullptr;
        AbLED* lamp = nullptr;
    };
    void addMeter(AbRoundMeter* meter, const char* name);
    void add(const Fed& fed);

    std::vector<Fed> m_fed;
};

}  // namespace kaldor
