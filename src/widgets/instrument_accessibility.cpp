#include "widgets/instrument_accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <optional>
#include <vector>

#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"
#include "widgets/live_label.h"
#include "widgets/number_format.h"

namespace instrument_accessibility {
namespace {

constexpr char kUnitProperty[] = "kaldorSpokenUnit";

AnnouncementSink& sink() {
    static AnnouncementSink instance;
    return instance;
}

// The text of the label this widget is the buddy of, without its mnemonic and a trailing colon
// ("STATUS:" names the status lamp "STATUS").
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

QString captionOf(const QWidget* widget) {
    if (const auto* bar = qobject_cast<const AbBar*>(widget))
        return bar->caption();
    if (const auto* meter = qobject_cast<const AbRoundMeter*>(widget))
        return meter->caption();
    if (const auto* led = qobject_cast<const AbLED*>(widget))
        return led->caption();
    return {};
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

struct GaugeReading {
    double shown = 0;
    double minimum = 0;
    double maximum = 0;
    QString number;
};

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

// A lamp named by something other than its caption (its label, a given name) reads as the
// caption it shows; one named by its caption reads as on or off.
bool lampReadsCaption(const AbLED* led) {
    return !led->caption().isEmpty() &&
           (!led->accessibleName().isEmpty() || !buddyText(led).isEmpty());
}

// Bars, round meters and lamps: read-only values.
class InstrumentAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    InstrumentAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name)
            return nameOf(widget());
        if (type == QAccessible::Value)
            return valueTextOf(widget());
        return QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        if (const auto* led = qobject_cast<const AbLED*>(widget())) {
            s.checkable = true;
            s.checked = led->isLit();
        }
        return s;
    }

    QVariant currentValue() const override {
        if (const auto* led = qobject_cast<const AbLED*>(widget()))
            return led->isLit() ? 1 : 0;
        const std::optional<GaugeReading> reading = gaugeReading(widget());
        return reading ? QVariant(reading->shown) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override {
        if (qobject_cast<const AbLED*>(widget()) != nullptr)
            return 1;
        const std::optional<GaugeReading> reading = gaugeReading(widget());
        return reading ? QVariant(reading->maximum) : QVariant();
    }
    QVariant minimumValue() const override {
        if (qobject_cast<const AbLED*>(widget()) != nullptr)
            return 0;
        const std::optional<GaugeReading> reading = gaugeReading(widget());
        return reading ? QVariant(reading->minimum) : QVariant();
    }
    QVariant minimumStepSize() const override { return 0; }
};

// A live text reads as what it shows, as a label does.
class LiveTextAccessible final : public QAccessibleWidget {
public:
    explicit LiveTextAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name || type == QAccessible::Value) {
            if (type == QAccessible::Name && !widget()->accessibleName().isEmpty())
                return widget()->accessibleName();
            return static_cast<const LiveLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(type);
    }
};

// A drop-down list: named by its given name or its label, valued by its current item, with its
// popup as its child and the press action opening it.
class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value)
            return list()->isEditable() ? list()->lineEdit()->text() : list()->currentText();
        if (type == QAccessible::Name) {
            if (!list()->accessibleName().isEmpty())
                return list()->accessibleName();
            const QString buddy = buddyText(list());
            if (!buddy.isEmpty())
                return buddy;
        }
        return QAccessibleWidget::text(type);
    }

    int childCount() const override { return list()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(list()->view());
        if (index == 1 && list()->isEditable())
            return QAccessible::queryAccessibleInterface(list()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr)
            return -1;
        if (child->object() == list()->view())
            return 0;
        if (list()->isEditable() && child->object() == list()->lineEdit())
            return 1;
        return -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("AbBar") || className == QLatin1String("AbRoundMeter"))
        return new InstrumentAccessible(widget, QAccessible::ProgressBar);
    if (className == QLatin1String("AbLED"))
        return new InstrumentAccessible(widget, QAccessible::Indicator);
    if (className == QLatin1String("LiveLabel"))
        return new LiveTextAccessible(widget);
    if (className == QLatin1String("QComboBox"))
        return new ListAccessible(widget);
    return nullptr;
}

// The instruments marked since the last batch; one timer announces them together.
class Announcer final : public QObject {
public:
    explicit Announcer(QObject* parent) : QObject(parent) {
        m_timer.setSingleShot(true);
        m_timer.setInterval(kAnnounceIntervalMs);
        connect(&m_timer, &QTimer::timeout, this, &Announcer::announce);
    }

    void mark(QWidget* instrument) {
        for (const QPointer<QWidget>& pending : m_pending)
            if (pending == instrument)
                return;
        m_pending.emplace_back(instrument);
        // Started by the first change after a batch, so no instrument is announced twice within
        // one interval.
        if (!m_timer.isActive())
            m_timer.start();
    }

private:
    void announce() {
        const std::vector<QPointer<QWidget>> batch = std::move(m_pending);
        m_pending.clear();
        for (const QPointer<QWidget>& instrument : batch) {
            if (instrument.isNull())
                continue;
            if (sink()) {
                sink()(instrument.data(), valueTextOf(instrument.data()));
                continue;
            }
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(instrument.data());
            QAccessibleValueInterface* value = iface != nullptr ? iface->valueInterface() : nullptr;
            QAccessibleValueChangeEvent event(
                instrument.data(),
                value != nullptr ? value->currentValue() : QVariant(valueTextOf(instrument)));
            QAccessible::updateAccessibility(&event);
        }
    }

    QTimer m_timer;
    std::vector<QPointer<QWidget>> m_pending;
};

Announcer* announcer() {
    static QPointer<Announcer> instance;
    if (instance.isNull() && qApp != nullptr)
        instance = new Announcer(qApp);
    return instance.data();
}

}  // namespace

void install() {
    // installFactory ignores a factory installed before.
    QAccessible::installFactory(factory);
}

void nameByLabel(QComboBox* list) {
    if (QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(list)) {
        if (dynamic_cast<ListAccessible*>(existing) != nullptr)
            return;
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    }
    // The cache owns it and drops it with the list.
    QAccessible::registerAccessibleInterface(new ListAccessible(list));
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
        return led->isLit() ? QStringLiteral("on") : QStringLiteral("off");
    }
    if (const auto* live = qobject_cast<const LiveLabel*>(instrument))
        return live->text();
    // A gauge reads as it shows: its number and unit as drawn.
    if (const auto* bar = qobject_cast<const AbBar*>(instrument))
        return bar->valueText().trimmed();
    const std::optional<GaugeReading> reading = gaugeReading(instrument);
    if (!reading)
        return {};
    const QString unitText = spokenUnit(instrument);
    return unitText.isEmpty() ? reading->number : reading->number + QLatin1Char(' ') + unitText;
}

void valueShown(QWidget* instrument) {
    // The check every live record pays while nobody listens.
    if (!sink() && !QAccessible::isActive())
        return;
    if (Announcer* a = announcer())
        a->mark(instrument);
}

void setAnnouncementSink(AnnouncementSink announcementSink) {
    sink() = std::move(announcementSink);
}

}  // namespace instrument_accessibility
