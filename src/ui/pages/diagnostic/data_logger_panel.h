#pragma once
// The "DataLogger" tab of the diagnostic page: start and stop a recording of the live records
// into "demo.log" in the working folder, and play such a file back in place of the controller.
// The tab shows the newest lines of the recording and how many playback lines are loaded, and
// offers to keep a recording the last run could not stop.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <memory>

namespace kaldor {

struct ControllerSession;
class DataLogger;
class LivePoller;

class DataLoggerPanel : public QWidget {
    Q_OBJECT

public:
    // The newest lines of the recording that the tab keeps on show.
    static constexpr int kShownLines = 200;

    explicit DataLoggerPanel(QWidget* parent = nullptr);
    ~DataLoggerPanel() override;

    // Creates the logger over "demo.log" in folder, makes it the poller's playback source and
    // log sink, and connects the buttons through the session's gate.
    void attach(ControllerSession& session, LivePoller& poller, const QString& folder);
    [[nodiscard]] DataLogger& logger() const { return *m_logger; }
    // Asks whether to keep a recording the last run left unfinished as "demo.log".
    void offerInterruptedRecording();

    void Button13Click();  // "ButtonLogStart"
    void Button14Click();  // "ButtonLogSTOP"
    void Button15Click();  // "ButtonPlayDemo"
    void Button16Click();  // "ButtonDemoStop"

    QPushButton* Button13 = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
    QPushButton* Button16 = nullptr;
    QPlainTextEdit* MemoLog = nullptr;
    QLabel* LabelDemoLines = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Brings the shown lines up to the logger's newest; only while the tab is on screen.
    void showNewLogLines();
    void showLineCount();

    ControllerSession* m_session = nullptr;
    std::unique_ptr<DataLogger> m_logger;
    std::size_t m_shownLines = 0;  // how many of the logged lines have been taken
};

}  // namespace kaldor
