#include "ui/live_gauges.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "live/live_display.h"
#include "widgets/instrument_accessibility.h"

namespace kaldor {

namespace {

// The binding of a control being created: a lamp's feeds a lamp, a gauge's a gauge.
const GaugeBinding& bindingNamed(const char* name, bool lamp) {
    const GaugeBinding* binding = findGaugeBinding(name);
    if (binding == nullptr || (binding->feed != GaugeFeed::Value) != lamp)
        throw std::logic_error(std::string("no live signal is bound to ") + name);
    return *binding;
}

// The row's decimals, and at least its least digits before the point: "##0.00", "##00".
QString numberPattern(const LiveSignalDef& signal) {
    QString pattern = QStringLiteral("##") + QString(signal.gauge.leastDigits, QLatin1Char('0'));
    if (signal.decimals > 0)
        pattern += QLatin1Char('.') + QString(signal.decimals, QLatin1Char('0'));
    return pattern;
}

template <class Gauge>
void drawAndRead(Gauge* gauge, const LiveSignalDef& signal, bool roundMeter) {
    const GaugeScale scale = gaugeScale(signal, roundMeter);
    gauge->setRange(scale.minimum, scale.maximum);
    gauge->setFormat(scale.pattern);
    gauge->setUnitText(scale.unitText);
    const LiveSignalDef& spoken = liveSignalDef(signal.gauge.spokenAs.value_or(signal.id));
    instrument_accessibility::setReading(gauge, QString::fromUtf8(spoken.unit), spoken.decimals,
                                         signal.gauge.spokenScale);
}

}  // namespace

const GaugeBinding* findGaugeBinding(std::string_view name) {
    for (const GaugeBinding& binding : kGaugeBindings) {
        if (name == binding.name)
            return &binding;
    }
    return nullptr;
}

GaugeScale gaugeScale(const LiveSignalDef& signal, bool roundMeter) {
    const LiveGauge& look = signal.gauge;
    const bool ownDial = roundMeter && look.dial.unitText != nullptr;
    const char* unitText =
        ownDial ? look.dial.unitText : (look.unitText != nullptr ? look.unitText : signal.unit);
    return {ownDial ? look.dial.minimum : signal.minimum, signal.maximum, numberPattern(signal),
            QString::fromUtf8(unitText)};
}

AbBar* LiveGauges::bar(QWidget* parent, const char* name) {
    const GaugeBinding& binding = bindingNamed(name, false);
    auto* bar = named<AbBar>(parent, name);
    drawAndRead(bar, liveSignalDef(binding.signal), false);
    add({&binding, bar});
    return bar;
}

void LiveGauges::addMeter(AbRoundMeter* meter, const char* name) {
    const GaugeBinding& binding = bindingNamed(name, false);
    drawAndRead(meter, liveSignalDef(binding.signal), true);
    add({&binding, nullptr, meter});
}

AbLED* LiveGauges::lamp(QWidget* parent, const char* name, const QString& caption) {
    const GaugeBinding& binding = bindingNamed(name, true);
    AbLED* lamp = namedLed(parent, name, caption);
    add({&binding, nullptr, nullptr, lamp});
    return lamp;
}

void LiveGauges::add(const Fed& fed) {
    const auto at =
        std::upper_bound(m_fed.begin(), m_fed.end(), fed,
                         [](const Fed& a, const Fed& b) { return a.binding < b.binding; });
    m_fed.insert(at, fed);
}

void LiveGauges::show(const LiveRecord& record) const {
    for (const Fed& fed : m_fed) {
        const GaugeBinding& binding = *fed.binding;
        switch (binding.feed) {
            case GaugeFeed::Value: {
                const double value = record.value(binding.signal);
                if (fed.bar != nullptr)
                    fed.bar->setValue(value);
                else
                    fed.meter->setValue(value);
                break;
            }
            case GaugeFeed::Lit:
                fed.lamp->setChecked(record.on(binding.signal));
                break;
            case GaugeFeed::Status:
                fed.lamp->setStatus(record.on(binding.signal) ? 1 : 0);
                break;
            case GaugeFeed::TankLamp:
                // A level step past the lamps leaves them as they are.
                if (const auto lit =
                        tankLevelLeds(static_cast<std::uint8_t>(record.raw(binding.signal))))
                    fed.lamp->setChecked((*lit)[binding.lamp]);
                break;
        }
    }
}

}  // namespace kaldor
