#pragma once
// How the core asks the user something. The window answers with modal Qt dialogs; tests answer
// from a script. Every call blocks until the user has answered.
#include <array>
#include <optional>
#include <string>

namespace kaldor {

using PinDigits = std::array<int, 4>;

class Prompts {
public:
    virtual ~Prompts() = default;
    // A modal box with an OK button.
    virtual void message(const std::string& text) = 0;
    // The four-digit PIN entry; nothing when the user did not confirm with OK.
    virtual std::optional<PinDigits> askPin() { return std::nullopt; }
    // The PIN setting dialog (entered twice); nothing when not confirmed.
    virtual std::optional<PinDigits> askNewPin() { return std::nullopt; }
};

// Progress bars and the polling timer as the core's long operations see them.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    virtual int position() const = 0;
    virtual int maximum() const = 0;
    void step() { setPosition(position() + 1); }
};

class TimerSwitch {
public:
    virtual ~TimerSwitch() = default;
    virtual void setTimerEnabled(bool enabled) = 0;
};

// A progress sink that only remembers, for work without a window.
class PlainProgress final : public ProgressSink {
public:
    void setMaximum(int maximum) override { m_max = maximum; }
    void setPosition(int position) override { m_pos = position; }
    int position() const override { return m_pos; }
    int maximum() const override { return m_max; }

private:
    int m_pos = 0;
    int m_max = 100;
};

}  // namespace kaldor
