#pragma once
// The log viewer: one window per recording, titled with the file's name. The file is read on
// a thread of its own while the window shows the progress (cancel closes the window); a file
// that is not a recording is refused with a message and the window closes. Then the traces,
// the channel table (choose a channel by its check box; its value at the cursor as the live
// pages show it, its unit, and the minimum, maximum and mean over the visible range), the
// set-up the values are converted with, and the commands: fit, zoom, save picture, export range
// as CSV, reload (a recording still being written shows what has been added since).
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "live/log_view.h"
#include "live/recording.h"
#include "live/recording_setup.h"
#include "live/status_texts.h"
#include "service/setup_description.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace kaldor {

class Prompts;
class TraceView;

class LogViewerWindow : public QWidget {
    Q_OBJECT
public:
    // The table's columns.
    enum Column {
        ChannelColumn,
        ValueColumn,
        UnitColumn,
        MinimumColumn,
        MaximumColumn,
        MeanColumn
    };

    // `prompts` answers the message boxes and file dialogs and outlives the window; `folder` is
    // where the dialogs start.
    LogViewerWindow(const QString& path, RecordingSetup setup, Prompts& prompts,
                    const StatusTexts& texts = {}, const QString& folder = {},
                    QWidget* parent = nullptr);
    ~LogViewerWindow() override;

    // While the data logger runs, its file on disk is the one of its last stop: the lines it
    // has logged since are in the recording file this names (nothing when it is not logging into
    // this file). Reading starts again from this source.
    using LoggedLines = std::function<std::optional<std::string>()>;
    void readLoggedLinesFrom(LoggedLines lines);

    // The language of its texts, the channel names and the fuel modes: at once on everything
    // the window shows.
    void setTexts(const SetupTexts& texts, const StatusTexts& status);

    [[nodiscard]] bool loaded() const { return m_view != nullptr; }
    [[nodiscard]] LogView* view() const { return m_view.get(); }
    [[nodiscard]] TraceView* traceView() const { return m_traces; }
    // The row of a channel in the table, or -1.
    [[nodiscard]] int rowOf(LiveSignal id) const;
    // The cursor moved: the readout shows the new record.
    void showCursor();

signals:
    // The file was refused or the read cancelled; the window closes.
    void refused();

private:
    void build();
    void showTexts();
    [[nodiscard]] QString text(WindowText text) const;
    void startReading();
    void pollReading();
    void readFinished(RecordingRead read);
    void fillTable();
    void showStatistics();
    void showSetup();
    void channelToggled(int row);
    void savePicture();
    void exportRange();
    void chooseSetupFile();
    void useDefaultSetup();
    void setCommandsEnabled(bool enabled);

    QString m_path;
    RecordingSetup m_setup;
    Prompts& m_prompts;
    StatusTexts m_texts;
    SetupTexts m_language;
    QString m_folder;
    LoggedLines m_loggedLines;
    bool m_fromLogger = false;
    std::unique_ptr<RecordingReadTask> m_read;
    std::unique_ptr<LogView> m_view;
    bool m_filling = false;

    TraceView* m_traces = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_setupLabel = nullptr;
    QLabel* m_cursorLabel = nullptr;
    QLabel* m_rangeLabel = nullptr;
    QLabel* m_noteLabel = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_setupFile = nullptr;
    QPushButton* m_setupDefaults = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
    QPushButton* m_fit = nullptr;
    QPushButton* m_savePicture = nullptr;
    QPushButton* m_exportRange = nullptr;
    QPushButton* m_reload = nullptr;
    QPushButton* m_scatter = nullptr;  // "scatter plot...": ScatterWindow over the visible range
    QTimer* m_poll = nullptr;
};

}  // namespace kaldor
