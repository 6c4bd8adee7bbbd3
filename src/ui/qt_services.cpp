#include "ui/qt_services.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace kaldor {

void QtPrompts::message(const std::string& text) {
    if (m_sink) {
        m_sink(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, m_parent);
    box.exec();
}

void QtProgress::setMaximum(int maximum) {
    if (m_bar) m_bar->setMaximum(maximum);
}

void QtProgress::setPosition(int position) {
    if (!m_bar) return;
    m_bar->setValue(std::min(position, m_bar->maximum()));
    // The window is blocked while the transfer runs: paint the step now.
    m_bar->repaint();
}

void QtTimerSwitch::setTimerEnabled(bool enabled) {
    if (!m_timer) return;
    if (enabled)
        m_timer->start();
    else
        m_timer->stop();
}

}  // namespace kaldor
