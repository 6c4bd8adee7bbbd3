// The announcements of changed values: a change marks its instrument, and one timer sends the
// marked ones to the accessibility bus (or the tests' sink) with their latest values, at most
// once per kAnnounceIntervalMs; nothing happens while no assistive technology listens.
#include <QAccessible>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <vector>

#include "widgets/instrument_accessibility.h"

namespace instrument_accessibility {
namespace {

AnnouncementSink& sink() {
    static AnnouncementSink instance;
    return instance;
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
