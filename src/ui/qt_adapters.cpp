#include "ui/qt_adapters.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
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

std::optional<int> QtPrompts::askNumber(const std::string& question, int initial) {
    if (m_numberSink)
        return m_numberSink(question, initial);
    bool ok = false;
    const int value =
        QInputDialog::getInt(m_parent, QApplication::applicationName(),
                             QString::fromStdString(question), initial, -100000, 100000, 1, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

Answer QtPrompts::askOkCancel(const OkCancelBox& box) {
    if (m_okCancelSink)
        return m_okCancelSink(box);
    const QString title =
        box.title.empty() ? QApplication::applicationName() : QString::fromStdString(box.title);
    QMessageBox dialog(box.warning ? QMessageBox::Warning : QMessageBox::NoIcon, title,
                       QString::fromStdString(box.text), QMessageBox::Ok | QMessageBox::Cancel,
                       m_parent);
    // Closing the box by its frame or Escape counts as Cancel.
    dialog.setEscapeButton(QMessageBox::Cancel);
    return dialog.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<FileAnswer> QtPrompts::askOpenFile(const FileQuestion& question) {
    if (m_openSink)
        return m_openSink(question);
    return askFile(question, false);
}

std::optional<FileAnswer> QtPrompts::askSaveFile(const FileQuestion& question) {
    if (m_saveSink)
        return m_saveSink(question);
    return askFile(question, true);
}

QStringList QtPrompts::nameFilters(const FileQuestion& question) {
    QStringList filters;
    for (const FileFilter& f : question.filters) {
        const QString text = QString::fromStdString(f.text);
        const QString pattern = QString::fromStdString(f.pattern);
        filters << (text == pattern ? pattern : text + QStringLiteral(" (") + pattern + ')');
    }
    return filters;
}

std::optional<FileAnswer> QtPrompts::askFile(const FileQuestion& question, bool save) {
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // A name that does not exist is taken too: the load then reports that it can not read it.
    dialog.setFileMode(QFileDialog::AnyFile);
    // An existing file is overwritten without a question, as saving a set-up again is routine.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = nameFilters(question);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(question.defaultExtension));
    if (!question.initialFolder.empty())
        dialog.setDirectory(QString::fromStdString(question.initialFolder));
    if (!question.fileName.empty())
        dialog.selectFile(QString::fromStdString(question.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileAnswer answer;
    answer.path = dialog.selectedFiles().constFirst().toStdString();
    answer.filterIndex =
        std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return answer;
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
