#pragma once
// The window's side of the core's small interfaces: message boxes, progress bars and the
// polling timer as the long operations of the core see them.
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

#include "model/prompts.h"

namespace kaldor {

// A modal box with an OK button, captioned with the application's title.
class MessageBoxPrompts final : public Prompts {
public:
    explicit MessageBoxPrompts(QWidget* parent) : m_parent(parent) {}
    void message(const std::string& text) override;

private:
    QPointer<QWidget> m_parent;
};

// A progress bar that repaints at every step: long transfers run on the user-interface thread
// and give the event loop no chance to paint in between.
class ProgressBarSink final : public ProgressSink {
public:
    explicit ProgressBarSink(QProgressBar* bar) : m_bar(bar) {}
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    int position() const override;
    int maximum() const override;

private:
    QPointer<QProgressBar> m_bar;
};

class QtTimerSwitch final : public TimerSwitch {
public:
    explicit QtTimerSwitch(QTimer* timer) : m_timer(timer) {}
    void setTimerEnabled(bool enabled) override;

private:
    QPointer<QTimer> m_timer;
};

}  // namespace kaldor
