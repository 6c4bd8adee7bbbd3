#include "ui/edit_gate.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QTimer>

#include "widgets/ab_num_spin.h"

namespace kaldor {
namespace {

// Calls `action` whenever the input focus leaves the watched control for another control;
// another window taking over (a dialog, a message box) or the list's own popup does not count.
class FocusOutFilter : public QObject {
public:
    FocusOutFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_action();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

// The value a list or a check box showed when the program last set it. The user's change emits
// the control's change signal followed at once by its user signal (activated, clicked); the
// program's setter emits the change signal alone. So every change is taken as the program's
// until the user signal follows it in the same turn of the event loop.
class ShownValue : public QObject {
public:
    ShownValue(QObject* control, std::function<int()> read)
        : QObject(control), m_read(std::move(read)), m_shown(m_read()) {}

    // The control's change signal.
    void changed() {
        m_before = m_shown;
        m_shown = m_read();
        if (!m_pending) {
            m_pending = true;
            QTimer::singleShot(0, this, [this] { m_pending = false; });
        }
    }
    // The user signal: the change just made was the user's. Connected before any handler, so
    // a value a handler sets in turn is the program's again.
    void userActed() {
        if (m_pending)
            m_shown = m_before;
        m_pending = false;
    }
    [[nodiscard]] bool userChanged() const { return m_read() != m_shown; }
    void markShown() { m_shown = m_read(); }

private:
    std::function<int()> m_read;
    int m_shown;
    int m_before = 0;
    bool m_pending = false;
};

}  // namespace

void EditGate::run(const std::function<void()>& action) const {
    if (open())
        action();
}

void EditGate::onFocusLeft(QObject* control, std::function<void()> action) {
    control->installEventFilter(new FocusOutFilter(control, std::move(action)));
}

void EditGate::onEdit(QComboBox* box, std::function<void(int)> handler) {
    auto* shown = new ShownValue(box, [box] { return box->currentIndex(); });
    QObject::connect(box, qOverload<int>(&QComboBox::currentIndexChanged), shown,
                     [shown] { shown->changed(); });
    QObject::connect(box, qOverload<int>(&QComboBox::activated), shown,
                     [shown] { shown->userActed(); });
    const auto run = [this, box, handler] {
        if (open())
            handler(box->currentIndex());
    };
    QObject::connect(box, qOverload<int>(&QComboBox::activated), box, run);
    onFocusLeft(box, [this, shown, run] {
        if (!open() || !shown->userChanged())
            return;
        run();
        shown->markShown();
    });
}

void EditGate::onEdit(QCheckBox* box, std::function<void(bool)> handler) {
    auto* shown = new ShownValue(box, [box] { return box->isChecked() ? 1 : 0; });
    QObject::connect(box, &QCheckBox::toggled, shown, [shown] { shown->changed(); });
    QObject::connect(box, &QCheckBox::clicked, shown, [shown] { shown->userActed(); });
    const auto run = [this, box, handler] {
        if (open())
            handler(box->isChecked());
    };
    QObject::connect(box, &QCheckBox::clicked, box, run);
    onFocusLeft(box, [this, shown, run] {
        if (!open() || !shown->userChanged())
            return;
        run();
        shown->markShown();
    });
}

void EditGate::onEdit(AbNumSpin* spin, std::function<void(double)> handler) {
    const auto run = [this, spin, handler] {
        if (open())
            handler(spin->value());
    };
    QObject::connect(spin, &AbNumSpin::userChanged, spin, run);
    QObject::connect(spin, &AbNumSpin::focusLost, spin, [this, spin, run] {
        if (!open() || !spin->userEdited())
            return;
        run();
        spin->markShown();
    });
}

void EditGate::onChange(QComboBox* box, std::function<void(int)> handler) {
    QObject::connect(box, qOverload<int>(&QComboBox::activated), box, [this, handler](int index) {
        if (open())
            handler(index);
    });
}

void EditGate::onChange(QCheckBox* box, std::function<void(bool)> handler) {
    QObject::connect(box, &QCheckBox::clicked, box, [this, handler](bool ticked) {
        if (open())
            handler(ticked);
    });
}

void EditGate::onClick(QAbstractButton* button, std::function<void()> handler) {
    QObject::connect(button, &QAbstractButton::clicked, button, [this, handler] {
        if (open())
            handler();
    });
}

}  // namespace kaldor
