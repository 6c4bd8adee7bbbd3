#include "ui/log_viewer/log_viewer_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "model/prompts.h"
#include "ui/log_viewer/scatter_window.h"
#include "ui/log_viewer/trace_view.h"
#include "ui/ui_build.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

constexpr int kPollMs = 40;
constexpr int kProgressSteps = 1000;
constexpr int kTableWidth = 470;
constexpr WindowText kColumnTitles[] = {WindowText::ColumnChannel, WindowText::ColumnValue,
                                        WindowText::ColumnUnit,    WindowText::ColumnMinimum,
                                        WindowText::ColumnMaximum, WindowText::ColumnMean};

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text,
                         const QString& description = {}) {
    auto* button = named<QPushButton>(parent, name, text);
    button->setAccessibleName(text);
    button->setAccessibleDescription(description);
    return button;
}

// The set-up the values are converted with, as the language says it: the recording's set-up
// names the connected controller, the factory defaults or a file.
QString setupText(const SetupTexts& texts, const RecordingSetup& setup) {
    const std::string& description = setup.description;
    for (const WindowText known : {WindowText::SetupConnected, WindowText::SetupFactory})
        if (description == windowTextEnglish(known))
            return uiText(texts, known);
    const std::string_view of = windowTextEnglish(WindowText::SetupOfFile);
    const std::string_view prefix = of.substr(0, of.find("%1"));
    if (description.compare(0, prefix.size(), prefix) == 0)
        return uiText(texts, WindowText::SetupOfFile)
            .arg(QString::fromStdString(description.substr(prefix.size())));
    return QString::fromStdString(description);
}

}  // namespace

LogViewerWindow::LogViewerWindow(const QString& path, RecordingSetup setup, Prompts& prompts,
                                 const StatusTexts& texts, const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_path(path),
      m_setup(std::move(setup)),
      m_prompts(prompts),
      m_texts(texts),
      m_folder(folder.isEmpty() ? QFileInfo(path).absolutePath() : folder) {
    setObjectName(QStringLiteral("FormLogViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    startReading();
}

LogViewerWindow::~LogViewerWindow() = default;

void LogViewerWindow::build() {
    m_setupLabel = namedLabel(this, "LabelSetup", setupText(m_language, m_setup));
    m_setupFile = namedButton(this, "ButtonSetupFile", text(WindowText::SetupFile),
                              QStringLiteral("convert with the set-up of a configuration file"));
    m_setupDefaults = namedButton(this, "ButtonSetupDefaults", text(WindowText::SetupDefaults),
                                  QStringLiteral("convert with the factory set-up"));
    m_zoomIn = namedButton(this, "ButtonZoomIn", QStringLiteral("+"), QStringLiteral("zoom in"));
    m_zoomIn->setAccessibleName(text(WindowText::ZoomIn));
    m_zoomOut = namedButton(this, "ButtonZoomOut", QStringLiteral("-"), QStringLiteral("zoom out"));
    m_zoomOut->setAccessibleName(text(WindowText::ZoomOut));
    m_fit = namedButton(this, "ButtonFit", text(WindowText::Fit),
                        QStringLiteral("show the whole drive"));
    m_savePicture = namedButton(this, "ButtonSavePicture", text(WindowText::SavePicture),
                                QStringLiteral("write the traces as a PNG picture"));
    m_exportRange = namedButton(this, "ButtonExportRange", text(WindowText::ExportRange),
                                QStringLiteral("write the visible records as CSV"));
    m_reload = namedButton(this, "ButtonReload", text(WindowText::Reload),
                           QStringLiteral("read the file again, with what was added since"));
    m_reload->setShortcut(QKeySequence(Qt::Key_F5));
    m_scatter = namedButton(this, "ButtonScatter", text(WindowText::ScatterButton),
                            text(WindowText::ScatterButtonTip));

    auto* commands = new QHBoxLayout;
    commands->addWidget(m_setupLabel);
    commands->addWidget(m_setupFile);
    commands->addWidget(m_setupDefaults);
    commands->addStretch(1);
    for (QPushButton* b : {m_zoomIn, m_zoomOut, m_fit, m_savePicture, m_exportRange, m_reload})
        commands->addWidget(b);
    commands->addWidget(m_scatter);

    m_traces = new TraceView(this);
    m_table = named<QTableWidget>(this, "TableChannels");
    m_table->setAccessibleName(text(WindowText::ChannelsTable));
    m_table->setAccessibleDescription(
        QStringLiteral("Each channel's value at the cursor as the live pages show it, its unit, "
                       "and its minimum, maximum and mean over the visible range. Check a "
                       "channel to show its trace."));
    m_table->setColumnCount(static_cast<int>(std::size(kColumnTitles)));
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setMinimumWidth(kTableWidth);
    connect(m_table, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { channelToggled(item->row()); });

    auto* splitter = named<QSplitter>(this, "SplitterLog", Qt::Horizontal);
    splitter->addWidget(m_traces);
    splitter->addWidget(m_table);
    splitter->setStretchFactor(0, 1);

    m_cursorLabel = namedLabel(this, "LabelCursor", QString());
    m_rangeLabel = namedLabel(this, "LabelRange", QString());
    m_noteLabel = namedLabel(this, "LabelNote", QString());
    m_progress = named<QProgressBar>(this, "ProgressRead");
    m_progress->setAccessibleName(text(WindowText::Reading));
    m_progress->setRange(0, kProgressSteps);
    m_cancel = namedButton(this, "ButtonCancelRead", text(WindowText::Cancel),
                           QStringLiteral("stop reading and close the viewer"));
    auto* status = new QHBoxLayout;
    status->addWidget(m_cursorLabel);
    status->addWidget(m_rangeLabel);
    status->addWidget(m_noteLabel, 1);
    status->addWidget(m_progress);
    status->addWidget(m_cancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(commands);
    column->addWidget(splitter, 1);
    column->addLayout(status);

    // The picture first, then its table, then the commands in the order they stand.
    QWidget* order[] = {m_traces,    m_table,         m_zoomIn,      m_zoomOut,
                        m_fit,       m_savePicture,   m_exportRange, m_reload,
                        m_scatter,   m_setupFile,     m_setupDefaults, m_cancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_traces, &TraceView::cursorMoved, this, &LogViewerWindow::showCursor);
    connect(m_traces, &TraceView::viewMoved, this, &LogViewerWindow::showStatistics);
    auto act = [this](void (LogView::*move)()) {
        if (!m_view)
            return;
        ((*m_view).*move)();
        m_traces->update();
        showStatistics();
    };
    connect(m_zoomIn, &QPushButton::clicked, this, [act] { act(&LogView::zoomIn); });
    connect(m_zoomOut, &QPushButton::clicked, this, [act] { act(&LogView::zoomOut); });
    connect(m_fit, &QPushButton::clicked, this, [act] { act(&LogView::fit); });
    connect(m_savePicture, &QPushButton::clicked, this, &LogViewerWindow::savePicture);
    connect(m_exportRange, &QPushButton::clicked, this, &LogViewerWindow::exportRange);
    connect(m_reload, &QPushButton::clicked, this, &LogViewerWindow::startReading);
    connect(m_scatter, &QPushButton::clicked, this, [this] {
        if (!m_view)
            return;
        auto* scatter = new ScatterWindow(m_view->sharedRecording(), m_setup,
                                          m_view->visibleFirst(), m_view->visibleLast(), m_language,
                                          this);
        scatter->show();
    });
    connect(m_setupFile, &QPushButton::clicked, this, &LogViewerWindow::chooseSetupFile);
    connect(m_setupDefaults, &QPushButton::clicked, this, &LogViewerWindow::useDefaultSetup);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_read)
            m_read->cancel();
    });

    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &LogViewerWindow::pollReading);
    setCommandsEnabled(false);
    showTexts();
    resize(1280, 760);
}

QString LogViewerWindow::text(WindowText text) const {
    return uiText(m_language, text);
}

void LogViewerWindow::setTexts(const SetupTexts& texts, const StatusTexts& status) {
    m_language = texts;
    m_texts = status;
    showTexts();
    m_traces->setTexts(&m_language, &m_texts);
    for (ScatterWindow* scatter : findChildren<ScatterWindow*>())
        scatter->setTexts(m_language);
    if (!m_view)
        return;
    showSetup();
    fillTable();
    showCursor();
    showStatistics();
}

void LogViewerWindow::showTexts() {
    setWindowTitle(text(WindowText::LogViewerTitle).arg(QFileInfo(m_path).fileName()));
    setAccessibleName(windowTitle());
    const std::pair<QPushButton*, WindowText> buttons[] = {
        {m_setupFile, WindowText::SetupFile},     {m_setupDefaults, WindowText::SetupDefaults},
        {m_fit, WindowText::Fit},                 {m_savePicture, WindowText::SavePicture},
        {m_exportRange, WindowText::ExportRange}, {m_reload, WindowText::Reload},
        {m_cancel, WindowText::Cancel},           {m_scatter, WindowText::ScatterButton},
    };
    for (const auto& [button, caption] : buttons) {
        button->setText(text(caption));
        button->setAccessibleName(button->text());
    }
    m_zoomIn->setAccessibleName(text(WindowText::ZoomIn));
    m_zoomOut->setAccessibleName(text(WindowText::ZoomOut));
    m_scatter->setAccessibleDescription(text(WindowText::ScatterButtonTip));
    m_table->setAccessibleName(text(WindowText::ChannelsTable));
    m_progress->setAccessibleName(text(WindowText::Reading));
    m_traces->setAccessibleName(text(WindowText::Traces));
    QStringList titles;
    for (const WindowText title : kColumnTitles)
        titles << text(title);
    m_table->setHorizontalHeaderLabels(titles);
    if (!m_view)
        m_setupLabel->setText(setupText(m_language, m_setup));
}

void LogViewerWindow::setCommandsEnabled(bool enabled) {
    for (QPushButton* b : {m_zoomIn, m_zoomOut, m_fit, m_savePicture, m_exportRange, m_reload})
        b->setEnabled(enabled);
    m_scatter->setEnabled(enabled);
    const bool csv = m_view && m_view->recording().format() == RecordingFormat::Csv;
    m_setupFile->setEnabled(enabled && !csv);
    m_setupDefaults->setEnabled(enabled && !csv);
}

void LogViewerWindow::readLoggedLinesFrom(LoggedLines lines) {
    m_loggedLines = std::move(lines);
    if (!m_view)
        startReading();
}

void LogViewerWindow::startReading() {
    RecordingReadOptions options;
    options.texts = m_texts;
    std::optional<std::string> logged = m_loggedLines ? m_loggedLines() : std::nullopt;
    m_fromLogger = logged.has_value();
    m_read = std::make_unique<RecordingReadTask>(logged ? std::move(*logged) : m_path.toStdString(),
                                                 options);
    m_progress->setValue(0);
    m_progress->show();
    m_cancel->show();
    setCommandsEnabled(false);
    m_poll->start();
}

void LogViewerWindow::pollReading() {
    if (!m_read)
        return;
    m_progress->setValue(static_cast<int>(m_read->fraction() * kProgressSteps));
    if (!m_read->done())
        return;
    m_poll->stop();
    RecordingRead read = m_read->take();
    m_read.reset();
    readFinished(std::move(read));
}

void LogViewerWindow::readFinished(RecordingRead read) {
    m_progress->hide();
    m_cancel->hide();
    if (!read.recording) {
        // A reload that fails keeps what was shown.
        if (!read.cancelled)
            m_prompts.message(read.message);
        if (m_view) {
            setCommandsEnabled(true);
            return;
        }
        emit refused();
        close();
        return;
    }
    if (m_fromLogger)
        read.message = windowText(m_language, WindowText::LoggerRunning);
    m_noteLabel->setText(QString::fromStdString(read.message));
    if (m_view) {
        m_view->setRecording(std::move(read.recording));
    } else {
        m_view = std::make_unique<LogView>(std::move(read.recording), m_setup);
        m_traces->setView(m_view.get());
    }
    m_traces->tracesChanged();
    setCommandsEnabled(true);
    showSetup();
    fillTable();
    showCursor();
    showStatistics();
    m_table->resizeColumnsToContents();
    m_traces->setFocus();
}

void LogViewerWindow::showSetup() {
    const bool csv = m_view->recording().format() == RecordingFormat::Csv;
    m_setupLabel->setText(
        csv ? text(WindowText::SetupAsExported) : setupText(m_language, m_view->setup()));
}

}  // namespace kaldor
