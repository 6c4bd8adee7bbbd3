#include "ui/edit_gate.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>

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

}  // namespace

void EditGate::run(const std::function<void()>& action) const {
    if (open())
        action();
}

void EditGate::onFocusLeft(QObject* control, std::function<void()> action) {
    control->installEventFilter(new FocusOutFilter(control, std::move(action)));
}

void EditGate::onEdit(QComboBox* box, std::function<void(int)> handler) {
    const auto run = [this, box, handler] {
        if (open())
            handler(box->currentIndex());
    };
    QObject::connect(box, qOverload<int>(&QComboBox::activated), box, run);
    onFocusLeft(box, run);
}

void EditGate::onEdit(QCheckBox* box, std::function<void(bool)> handler) {
    const auto run = [this, box, handler] {
        if (open())
            handler(box->isChecked());
    };
    QObject::connect(box, &QCheckBox::clicked, box, run);
    onFocusLeft(box, run);
}

void EditGate::onEdit(AbNumSpin* spin, std::function<void(double)> handler) {
    const auto run = [this, spin, handler] {
        if (open())
            handler(spin->value());
    };
    QObject::connect(spin, &AbNumSpin::userChanged, spin, run);
    QObject::connect(spin, &AbNumSpin::focusLost, spin, run);
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
