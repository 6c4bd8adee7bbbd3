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

}  // namespace kaldor
