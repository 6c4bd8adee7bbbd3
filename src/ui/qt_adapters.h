#pragma once
// The window's side of the core's small interfaces: message boxes, progress bars and the
// polling timer as the long operations of the core see them.
#include <QPointer>
#include <QProgressBar>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "model/prompts.h"

namespace kaldor {

// Message boxes are modal, captioned with the application's title unless they carry a title of
// their own; file questions are the file dialogs; the PIN questions are answered by the PIN
// dialogs, which the window logic plugs in.
class QtPrompts final : public Prompts {
public:
    using PinQuestion = std::function<std::optional<PinDigits>()>;
    using OkCancelQuestion = std::function<Answer(const OkCancelBox&)>;
    using FileQuestionSink = std::function<std::optional<FileAnswer>(const FileQuestion&)>;

    explicit QtPrompts(QWidget* parent) : m_parent(parent) {}
    void message(const std::string& text) override;
    Answer askOkCancel(const OkCancelBox& box) override;
    std::optional<FileAnswer> askOpenFile(const FileQuestion& question) override;
    std::optional<FileAnswer> askSaveFile(const FileQuestion& question) override;
    std::optional<int> askNumber(const std::string& question, int initial) override;
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
    // Likewise the OK/Cancel boxes and the open and save dialogs.
    void setOkCancelSink(OkCancelQuestion sink) { m_okCancelSink = std::move(sink); }
    void setNumberSink(std::function<std::optional<int>(const std::string&, int)> sink) {
        m_numberSink = std::move(sink);
    }
    void setFileSinks(FileQuestionSink open, FileQuestionSink save) {
        m_openSink = std::move(open);
        m_saveSink = std::move(save);
    }

    // The filter list of a file dialog: "text (pattern)", or the bare pattern when the text is
    // the pattern itself.
    [[nodiscard]] static QStringList nameFilters(const FileQuestion& question);

private:
    std::optional<FileAnswer> askFile(const FileQuestion& question, bool save);

    QPointer<QWidget> m_parent;
    PinQuestion m_askPin;
    PinQuestion m_askNewPin;
    std::function<void(const std::string&)> m_sink;
    OkCancelQuestion m_okCancelSink;
    FileQuestionSink m_openSink;
    std::function<std::optional<int>(const std::string&, int)> m_numberSink;
    FileQuestionSink m_saveSink;
};

// A progress bar that repaints at every step: long transfers run on the user-interface thread
// and give the event loop no chance to paint in between.
class ProgressBarSink final : public ProgressSink {
public:
    // A bar that empties when done shows its end for a moment and then goes back to its
    // start, so a full bar never looks like work still running.
    explicit ProgressBarSink(QProgressBar* bar, bool emptiesWhenDone = false)
        : m_bar(bar), m_emptiesWhenDone(emptiesWhenDone) {}
    static constexpr int kEndShownMs = 700;
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    int position() const override;
    int maximum() const override;

private:
    QPointer<QProgressBar> m_bar;
    bool m_emptiesWhenDone = false;
};

class QtTimerSwitch final : public TimerSwitch {
public:
    explicit QtTimerSwitch(QTimer* timer) : m_timer(timer) {}
    void setTimerEnabled(bool enabled) override;

private:
    QPointer<QTimer> m_timer;
};

}  // namespace kaldor
