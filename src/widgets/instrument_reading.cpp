// How an instrument is named and read: its given name, the label it is the buddy of, its caption
// or fallback name, with the unit it is read with; a gauge's value with the decimals and scale
// given for reading, a lamp's words or caption, a live text's text.
#include <QLabel>
#include <QVariant>

#include <algorithm>
#include <cmath>

#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"
#include "widgets/instrument_accessibility.h"
#include "widgets/instrument_reading.h"
#include "widgets/live_label.h"
#include "widgets/number_format.h"

namespace instrument_accessibility {
namespace {

constexpr char kUnitProperty[] = "kaldorSpokenUnit";
constexpr char kDecimalsProperty[] = "kaldorSpokenDecimals";
constexpr char kScaleProperty[] = "kaldorSpokenScale";
constexpr char kFallbackNameProperty[] = "kaldorFallbackName";

struct LampWords {
    QString on = QStringLiteral("on");
    QString off = QStringLiteral("off");
};
LampWords& lampWords() {
    static LampWords words;
    return words;
}

QString captionOf(const QWidget* widget) {
    if (const auto* bar = qobject_cast<const AbBar*>(widget))
        return bar->caption();
    if (const auto* meter = qobject_cast<const AbRoundMeter*>(widget))
        return meter->caption();
    if (const auto* led = qobject_cast<const AbLED*>(widget))
        return led->caption();
    return {};
}

QString fallbackName(const QWidget* widget) {
    return widget->property(kFallbackNameProperty).toString();
}

// The unit a gauge is read with: the one given for reading, else its own unit text.
QString spokenUnit(const QWidget* widget) {
    const QString given = unit(widget);
    if (!given.isEmpty())
        return given;
    if (const auto* bar = qobject_cast<const AbBar*>(widget))
        return bar->unitText().trimmed();
    if (const auto* meter = qobject_cast<const AbRoundMeter*>(widget))
        return meter->unitText().trimmed();
    return {};
}

// A lamp named by something other than its caption (its label, a given name) reads as the
// caption it shows; one named by its caption reads as on or off.
bool lampReadsCaption(const AbLED* led) {
    return !led->caption().isEmpty() &&
           (!led->accessibleName().isEmpty() || !buddyText(led).isEmpty());
}

}  // namespace

QString buddyText(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (parent == nullptr)
        return {};
    for (const QObject* child : parent->children()) {
        const auto* label = qobject_cast<const QLabel*>(child);
        if (label == nullptr || label->buddy() != widget)
            continue;
        QString text = label->text();
        text.remove(QLatin1Char('&'));
        text = text.trimmed();
        while (text.endsWith(QLatin1Char(':')))
            text.chop(1);
        return text.trimmed();
    }
    return {};
}

std::optional<GaugeReading> gaugeReading(const QWidget* widget) {
    if (const auto* bar = qobject_cast<const AbBar*>(widget))
        return GaugeReading{bar->shownValue(), std::min(bar->minimum(), bar->maximum()),
                            std::max(bar->minimum(), bar->maximum()),
                            formatNumber(bar->shownValue(), bar->format())};
    if (const auto* meter = qobject_cast<const AbRoundMeter*>(widget))
        return GaugeReading{meter->shownValue(), std::min(meter->minimum(), meter->maximum()),
                            std::max(meter->minimum(), meter->maximum()),
                            formatNumber(meter->shownValue(), meter->format())};
    return std::nullopt;
}

void setReading(QWidget* instrument, const QString& unitText, int decimals, double scale) {
    setUnit(instrument, unitText);
    instrument->setProperty(kDecimalsProperty, decimals);
    instrument->setProperty(kScaleProperty, scale);
}

void setFallbackName(QWidget* instrument, const QString& name) {
    instrument->setProperty(kFallbackNameProperty, name);
}

void setLampWords(const QString& on, const QString& off) {
    lampWords() = LampWords{on, off};
}

void setUnit(QWidget* instrument, const QString& unitText) {
    instrument->setProperty(kUnitProperty, unitText);
}

QString unit(const QWidget* instrument) {
    return instrument->property(kUnitProperty).toString();
}

QString nameOf(const QWidget* instrument) {
    if (!instrument->accessibleName().isEmpty())
        return instrument->accessibleName();
    QString name = buddyText(instrument);
    if (name.isEmpty())
        name = captionOf(instrument);
    if (name.isEmpty())
        name = fallbackName(instrument);
    if (const auto* live = qobject_cast<const LiveLabel*>(instrument); live && name.isEmpty())
        return live->text();
    const QString unitText = spokenUnit(instrument);
    if (!unitText.isEmpty() && !name.contains(unitText, Qt::CaseInsensitive))
        name += name.isEmpty() ? unitText : QStringLiteral(" (") + unitText + QLatin1Char(')');
    return name;
}

QString valueTextOf(const QWidget* instrument) {
    if (const auto* led = qobject_cast<const AbLED*>(instrument)) {
        if (lampReadsCaption(led))
            return led->caption();
        return led->isLit() ? lampWords().on : lampWords().off;
    }
    if (const auto* live = qobject_cast<const LiveLabel*>(instrument))
        return live->text();
    const std::optional<GaugeReading> reading = gaugeReading(instrument);
    if (!reading)
        return {};
    const QString unitText = spokenUnit(instrument);
    // The value with the decimals and unit of the quantity it shows, where one is given.
    bool given = false;
    const int decimals = instrument->property(kDecimalsProperty).toInt(&given);
    if (given && decimals >= 0) {
        const double power = std::pow(10.0, decimals);
        double value =
            std::round(reading->shown * instrument->property(kScaleProperty).toDouble() * power) /
            power;
        if (value == 0)
            value = 0;  // no "-0"
        const QString number = QString::number(value, 'f', decimals);
        return unitText.isEmpty() ? number : number + QLatin1Char(' ') + unitText;
    }
    // Otherwise as it shows: its number and unit as drawn.
    if (const auto* bar = qobject_cast<const AbBar*>(instrument))
        return bar->valueText().trimmed();
    return unitText.isEmpty() ? reading->number : reading->number + QLatin1Char(' ') + unitText;
}

}  // namespace instrument_accessibility
