#include "ui/pages/diagnostic/data_logger_panel.h"

#include "live/data_logger.h"
#include "live/live_poller.h"
#include "ui/session.h"
#include "ui/ui_build.h"

#include <QFile>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <deque>
#include <string>

namespace kaldor {

namespace {

struct LoggerButton {
    const char* name;
    const char* caption;
};

constexpr LoggerButton kButtons[] = {
    {"Button13", "ButtonLogStart"},
    {"Button14", "ButtonLogSTOP"},
    {"Button15", "ButtonPlayDemo"},
    {"Button16", "ButtonDemoStop"},
};

}  // namespace

// Lines the tab shows must be lines the logger keeps.
static_assert(DataLoggerPanel::kShownLines <= DataLogger::kRecentLines);

DataLoggerPanel::DataLoggerPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DataLoggerPanel"));
    QPushButton** const buttons[] = {&Button13, &Button14, &Button15, &Button16};
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        *buttons[i] = named<QPushButton>(this, kButtons[i].name);
        (*buttons[i])->setText(QString::fromLatin1(kButtons[i].caption));
        row->addWidget(*buttons[i]);
    }
    row->addStretch(1);

    MemoLog = named<QPlainTextEdit>(this, "MemoLog");
    MemoLog->setReadOnly(true);
    MemoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoLog->setMaximumBlockCount(kShownLines);
    MemoLog->setFont(QFont(QStringLiteral("Monospace")));
    LabelDemoLines = namedLabel(this, "LabelDemoLines", QString());

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    column->addWidget(MemoLog, 1);
    column->addWidget(LabelDemoLines);
    showLineCount();
}

DataLoggerPanel::~DataLoggerPanel() = default;

void DataLoggerPanel::attach(ControllerSession& session, LivePoller& poller,
                             const QString& folder) {
    m_session = &session;
    m_logger = std::make_unique<DataLogger>(QFile::encodeName(folder).toStdString());
    m_logger->attach(poller);
    session.gate.onClick(Button13, [this] { Button13Click(); });
    session.gate.onClick(Button14, [this] { Button14Click(); });
    session.gate.onClick(Button15, [this] { Button15Click(); });
    session.gate.onClick(Button16, [this] { Button16Click(); });
    // The record has been logged by the time the display runs.
    session.live.add(LiveStage::Display, [this](const LiveRecord&) { showNewLogLines(); });
    showLineCount();
}

void DataLoggerPanel::offerInterruptedRecording() {
    if (const auto failure = m_logger->offerInterruptedRecording(m_session->prompts))
        m_session->prompts.message(*failure);
}

void DataLoggerPanel::Button13Click() {
    if (const auto failure = m_logger->StartLogging())
        m_session->prompts.message(*failure);
}

void DataLoggerPanel::Button14Click() {
    // The recording stays when "demo.log" cannot be written, so the next stop tries again.
    if (const auto failure = m_logger->StopLogging())
        m_session->prompts.message(*failure);
}

void DataLoggerPanel::Button15Click() {
    const PlaybackLoad load = m_logger->PlayDemo();
    showLineCount();
    if (load.message)
        m_session->prompts.message(*load.message);
}

void DataLoggerPanel::Button16Click() {
    m_logger->StopDemo();
}

void DataLoggerPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showNewLogLines();
}

void DataLoggerPanel::showNewLogLines() {
    if (!m_logger || !isVisible())
        return;
    const std::size_t logged = m_logger->loggedLines();
    if (m_shownLines >= logged)
        return;
    // After a long time off screen only the newest lines are there to take.
    const std::deque<std::string>& recent = m_logger->recentLines();
    const std::size_t fresh = std::min(logged - m_shownLines, recent.size());
    QString text;
    for (std::size_t i = recent.size() - fresh; i < recent.size(); ++i) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QString::fromLatin1(recent[i].data(), static_cast<int>(recent[i].size()));
    }
    MemoLog->appendPlainText(text);
    m_shownLines = logged;
}

void DataLoggerPanel::showLineCount() {
    const std::size_t lines = m_logger ? m_logger->lineCount() : 0;
    LabelDemoLines->setText(QStringLiteral("%1: %2 lines loaded for playback")
                                .arg(QString::fromLatin1(DataLogger::kFileName))
                                .arg(lines));
}

}  // namespace kaldor
