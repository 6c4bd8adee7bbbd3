#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

#include "ui/main_window.h"

// The main window's size rule: never smaller than 800 by 600 on the outer frame, a refused size
// re-centring the window.
namespace kaldor {

QSize MainWindow::frameExtra() const {
    return frameGeometry().size() - geometry().size();
}

bool MainWindow::FormCanResize(int& newWidth, int& newHeight) {
    // Sizes are outer sizes, frame included; the window keeps its current size otherwise.
    const QSize extra = frameExtra();
    bool allowed = true;
    if (newWidth < kMinWidth) {
        newWidth = kMinWidth;
        resize(kMinWidth - extra.width(), height());
        centreOnScreen();
        allowed = false;
    }
    if (newHeight < kMinHeight) {
        newHeight = kMinHeight;
        resize(width(), kMinHeight - extra.height());
        centreOnScreen();
        allowed = false;
    }
    return allowed;
}

void MainWindow::centreOnScreen() {
    const QScreen* target = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(target->availableGeometry().center());
    move(frame.topLeft());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_applyingSizeRule) {
        return;
    }
    const QSize extra = frameExtra();
    int newWidth = event->size().width() + extra.width();
    int newHeight = event->size().height() + extra.height();
    if (newWidth >= kMinWidth && newHeight >= kMinHeight) {
        return;
    }
    // The platform has already applied the size: going back to the size before it refuses the
    // request, and the rule then corrects what was too small.
    m_applyingSizeRule = true;
    if (event->oldSize().isValid()) {
        resize(event->oldSize());
    }
    FormCanResize(newWidth, newHeight);
    m_applyingSizeRule = false;
}

}  // namespace kaldor
