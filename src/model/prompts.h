#pragma once
// How the core asks the user something. The window answers with modal Qt dialogs; tests answer
// from a script. Every call blocks until the user has answered.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kaldor {

using PinDigits = std::array<int, 4>;

enum class Answer { Ok, Cancel };

// A modal box with the buttons OK and Cancel.
struct OkCancelBox {
    std::string title;  // empty: the application's title
    std::string text;
    bool warning = false;  // the warning icon
};

// One entry of a file dialog's filter list: the text shown and the name pattern ("*.kcfg").
struct FileFilter {
    std::string text;
    std::string pattern;
};

struct FileQuestion {
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot; added by the dialog to a bare name
    std::string initialFolder;     // empty: the dialog's own choice
    std::string fileName;          // the name the dialog starts with
};

struct FileAnswer {
    std::string path;
    int filterIndex = 0;  // 0-based index in `filters` of the filter selected when confirmed
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // A modal box with an OK button.
    virtual void message(const std::string& text) = 0;
    // The four-digit PIN entry; nothing when the user did not confirm with OK.
    virtual std::optional<PinDigits> askPin() { return std::nullopt; }
    // The PIN setting dialog (entered twice); nothing when not confirmed.
    virtual std::optional<PinDigits> askNewPin() { return std::nullopt; }
    // OK and Cancel; closing the box counts as Cancel. The default answers Cancel, so a caller
    // that does not answer changes nothing.
    virtual Answer askOkCancel(const OkCancelBox& box) {
        (void)box;
        return Answer::Cancel;
    }
    // The open-file and save-file dialogs; nothing when cancelled.
    virtual std::optional<FileAnswer> askOpenFile(const FileQuestion& question) {
        (void)question;
        return std::nullopt;
    }
    virtual std::optional<FileAnswer> askSaveFile(const FileQuestion& question) {
        (void)question;
        return std::nullopt;
    }
    // A whole number (a grid tool's value or percentage), offered with `initial`; nothing when
    // cancelled.
    virtual std::optional<int> askNumber(const std::string& question, int initial) {
        (void)question;
        (void)initial;
        return std::nullopt;
    }
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
