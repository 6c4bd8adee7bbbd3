#include "ui/qt_adapters.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace kaldor {

void QtPrompts::message(const std::string& text) {
    if (m_sink) {
        m_sink(text);
        return;
    }
    QMessageBox::information(m_parent, QApplication::applicationName(),
                             QString::fromStdString(text), QMessageBox::Ok);
}

void ProgressBarSink::setMaximum(int maximum) {
    if (m_bar != nullptr) {
        m_bar->setMaximum(std::max(maximum, m_bar->minimum()));
        m_bar->repaint();
    }
}

void ProgressBarSink::setPosition(int position) {
    if (m_bar == nullptr) {
        return;
    }
    // QProgressBar resets itself on a value outside its range; the core only ever steps past
    // the end by accident, so the bar stays full instead.
    m_bar->setValue(std::clamp(position, m_bar->minimum(), m_bar->maximum()));
    m_bar->repaint();
    if (m_emptiesWhenDone && m_bar->value() == m_bar->maximum()) {
        QPointer<QProgressBar> bar = m_bar;
        QTimer::singleShot(kEndShownMs, bar, [bar] {
            // A transfer started in the meantime keeps its position.
            if (bar != nullptr && bar->value() == bar->maximum())
                bar->setValue(bar->minimum());
        });
    }
}

int ProgressBarSink::position() const {
    return m_bar != nullptr ? m_bar->value() : 0;
}

int ProgressBarSink::maximum() const {
    return m_bar != nullptr ? m_bar->maximum() : 0;
}

void QtTimerSwitch::setTimerEnabled(bool enabled) {
    if (m_timer == nullptr) {
        return;
    }
    if (enabled) {
        m_timer->start();
    } else {
        m_timer->stop();
    }
}

}  // namespace kaldor
