#include "ui/log_viewer/log_viewer_window.h"

#include <QBuffer>
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

#include <algorithm>
#include <cmath>

#include "files/atomic_file.h"
#include "files/config_file.h"
#include "live/log_csv.h"
#include "model/fixed_text.h"
#include "model/prompts.h"
#include "service/config_commands.h"
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
constexpr std::string_view kPngPattern = "*.png";
constexpr std::string_view kPngExtension = "png";

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text,
                         const QString& description = {}) {
    auto* button = named<QPushButton>(parent, name, text);
    button->setAccessibleName(text);
    button->setAccessibleDescription(description);
    return button;
}

QString timeText(double seconds) {
    const auto tenths = static_cast<long long>(std::llround(seconds * 10));
    const long long s = tenths / 10;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(s / 3600)
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

QString recordTime(std::size_t record) {
    return timeText(static_cast<double>(record) * Recording::kSecondsPerRecord);
}

std::string couldNotWrite(const SetupTexts& texts, const std::string& path,
                          const std::string& reason) {
    return uiText(texts, WindowText::CouldNotWrite)
        .arg(QString::fromStdString(path), QString::fromStdString(reason))
        .toStdString();
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

// Sets a cell's text only when it changes, so a cursor step touches only what moved.
void setCell(QTableWidget* table, int row, int column, const QString& text) {
    QTableWidgetItem* item = table->item(row, column);
    if (item->text() != text)
        item->setText(text);
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

int LogViewerWindow::rowOf(LiveSignal id) const {
    if (!m_view)
        return -1;
    const auto& available = m_view->available();
    const auto it = std::find(available.begin(), available.end(), id);
    return it == available.end() ? -1 : static_cast<int>(it - available.begin());
}

void LogViewerWindow::fillTable() {
    m_filling = true;
    const auto& available = m_view->available();
    m_table->setRowCount(static_cast<int>(available.size()));
    for (int row = 0; row < static_cast<int>(available.size()); ++row) {
        const LiveSignalDef& d = liveSignalDef(available[static_cast<std::size_t>(row)]);
        for (int column = 0; column < m_table->columnCount(); ++column)
            if (m_table->item(row, column) == nullptr)
                m_table->setItem(row, column, new QTableWidgetItem);
        QTableWidgetItem* name = m_table->item(row, ChannelColumn);
        name->setText(channelName(m_language, d.id));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        name->setCheckState(m_view->shown(d.id) ? Qt::Checked : Qt::Unchecked);
        m_table->item(row, UnitColumn)->setText(QString::fromUtf8(d.unit));
    }
    m_table->resizeColumnToContents(ChannelColumn);
    m_filling = false;
}

void LogViewerWindow::showSetup() {
    const bool csv = m_view->recording().format() == RecordingFormat::Csv;
    m_setupLabel->setText(
        csv ? text(WindowText::SetupAsExported) : setupText(m_language, m_view->setup()));
}

void LogViewerWindow::showCursor() {
    if (!m_view)
        return;
    const std::size_t cursor = m_view->cursor();
    m_cursorLabel->setText(text(WindowText::Cursor)
                               .arg(recordTime(cursor))
                               .arg(cursor + 1)
                               .arg(m_view->recording().size()));
    const auto& available = m_view->available();
    for (int row = 0; row < static_cast<int>(available.size()); ++row)
        setCell(
            m_table, row, ValueColumn,
            QString::fromStdString(m_view->text(available[static_cast<std::size_t>(row)], cursor)));
    m_traces->update();
}

void LogViewerWindow::showStatistics() {
    if (!m_view)
        return;
    m_rangeLabel->setText(text(WindowText::VisibleRange)
                              .arg(recordTime(m_view->visibleFirst()))
                              .arg(recordTime(m_view->visibleLast())));
    const auto& available = m_view->available();
    for (int row = 0; row < static_cast<int>(available.size()); ++row) {
        const LiveSignal id = available[static_cast<std::size_t>(row)];
        QString minimum, maximum, mean;
        if (m_view->shown(id)) {
            const ChannelStatistics s = m_view->statistics(id);
            const int decimals = liveSignalDef(id).decimals;
            minimum = QString::fromStdString(fixedText(s.minimum, decimals));
            maximum = QString::fromStdString(fixedText(s.maximum, decimals));
            // The mean lies between the records: one decimal more than they show.
            mean = QString::fromStdString(fixedText(s.mean, decimals + 1));
        }
        setCell(m_table, row, MinimumColumn, minimum);
        setCell(m_table, row, MaximumColumn, maximum);
        setCell(m_table, row, MeanColumn, mean);
        QTableWidgetItem* name = m_table->item(row, ChannelColumn);
        const QColor colour = m_view->shown(id) ? m_traces->colourOf(id) : QColor();
        if (name->data(Qt::DecorationRole).value<QColor>() != colour) {
            m_filling = true;
            name->setData(Qt::DecorationRole, colour.isValid() ? QVariant(colour) : QVariant());
            m_filling = false;
        }
    }
}

void LogViewerWindow::channelToggled(int row) {
    if (m_filling || !m_view || row < 0)
        return;
    const LiveSignal id = m_view->available()[static_cast<std::size_t>(row)];
    const bool checked = m_table->item(row, ChannelColumn)->checkState() == Qt::Checked;
    if (checked == m_view->shown(id))
        return;
    m_view->setShown(id, checked);
    m_traces->tracesChanged();
    showStatistics();
}

void LogViewerWindow::savePicture() {
    FileQuestion q;
    q.filters = {{std::string(kPngPattern), std::string(kPngPattern)}};
    q.defaultExtension = std::string(kPngExtension);
    q.initialFolder = m_folder.toStdString();
    q.fileName =
        QFileInfo(m_path).completeBaseName().toStdString() + "." + std::string(kPngExtension);
    const std::optional<FileAnswer> answer = m_prompts.askSaveFile(q);
    if (!answer || answer->path.empty())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    m_traces->grab().toImage().save(&buffer, "PNG");
    const std::string path = withExtension(answer->path, kPngExtension);
    if (const auto reason =
            writeFileAtomically(path, std::string_view(png.constData(), png.size())))
        m_prompts.message(couldNotWrite(m_language, path, *reason));
}

void LogViewerWindow::exportRange() {
    const std::optional<FileAnswer> answer =
        m_prompts.askSaveFile(csvSaveQuestion(m_folder.toStdString()));
    if (!answer || answer->path.empty())
        return;
    const std::string csv = recordingCsv(m_view->recording(), m_view->visibleFirst(),
                                         m_view->visibleLast(), m_view->setup().context, m_texts);
    const std::string path = withExtension(answer->path, kCsvExtension);
    if (const auto reason = writeFileAtomically(path, csv))
        m_prompts.message(couldNotWrite(m_language, path, *reason));
}

void LogViewerWindow::chooseSetupFile() {
    const std::optional<FileAnswer> answer =
        m_prompts.askOpenFile(openConfigQuestion(m_folder.toStdString()));
    if (!answer || answer->path.empty())
        return;
    const SetupFromFile file = fileSetup(answer->path);
    if (!file.setup) {
        m_prompts.message(file.message);
        return;
    }
    m_view->setSetup(*file.setup);
    m_traces->tracesChanged();
    showSetup();
    showCursor();
    showStatistics();
}

void LogViewerWindow::useDefaultSetup() {
    m_view->setSetup(defaultSetup());
    m_traces->tracesChanged();
    showSetup();
    showCursor();
    showStatistics();
}

}  // namespace kaldor
