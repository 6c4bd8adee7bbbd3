#pragma once
// The core's questions answered by Qt: modal message boxes and the PIN dialogs.
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

}  // namespace kaldor
