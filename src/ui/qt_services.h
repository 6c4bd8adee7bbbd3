#pragma once
// The core's seams answered by Qt: modal message boxes and PIN dialogs, progress bars that
// repaint as they step while a long operation blocks the window, and the polling timer switch.
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <functional>

#include "model/prompts.h"

class QWidget;

namespace kaldor {

class QtPrompts final : public Prompts {
public:
    using PinQuestion = std::function<std::optional<PinDigits>()>;

    explicit QtPrompts(QWidget* parent) : m_parent(parent) {}
    void message(const std::string& text) override;
    std::optional<PinDigits> askPin() override { return m_askPin ? m_askPin() : std::nullopt; }
    std::optional<PinDigits> askNewPin() override {
        return m_askNewPin ? m_askNewPin() : std::nullopt;
    }
    void setPinQuestions(PinQuestion askPin, PinQuestion askNewPin) {
        m_askPin = std::move(askPin);
        m_askNewPin = std::move(askNewPin);
    }
    // Tests answer message boxes without a screen: the text goes here instead of a dialog.
    void setMessageSink(std::function<void(const std::string&)> sink) { m_sink = std::move(sink); }

private:
    QWidget* m_parent;
    PinQuestion m_askPin;
    PinQuestion m_askNewPin;
    std::function<void(const std::string&)> m_sink;
};

class QtProgress final : public ProgressSink {
public:
    explicit QtProgress(QProgressBar* bar) : m_bar(bar) {}
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    int position() const override { return m_bar ? m_bar->value() : 0; }
    int maximum() const override { return m_bar ? m_bar->maximum() : 0; }

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
