#include "ui/commands/history_menu.h"
#include "ui/commands/undo_commands.h"

#include <QStatusBar>

#include "files/config_file.h"
#include "files/settings_file.h"
#include "service/broken_write.h"
#include "service/config_commands.h"
#include "service/config_transfer.h"
#include "ui/main_window.h"
#include "ui/refresh.h"
#include "ui/refused_write.h"
#include "ui/session.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

std::string revisionsText(const HistoryEntry& e) {
    return "Rev.H:" + std::to_string(e.hardwareRevision) +
           " Rev.S:" + std::to_string(e.softwareRevision);
}

std::string locations(const SetupTexts& texts, std::size_t n) {
    return countText(texts, WindowText::OneLocation, WindowText::Locations, n);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

HistoryMenu::HistoryMenu(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh,
                         ConfigTransfer& transfer)
    : m_window(window),
      m_session(session),
      m_refresh(refresh),
      m_transfer(transfer),
      m_ask([&window, &session](const DifferenceView& view) {
          return DifferenceDialog::ask(&window, view, session.setupTexts);
      }) {
    SettingsFile settings(window.settingsFilePath().toStdString(),
                          window.settingsFallbackPath().toStdString());
    settings.load();
    m_session.history.configure(readHistorySettings(settings),
                                [this](const std::string& text) { showInStatusLine(text); });
}

void HistoryMenu::showInStatusLine(const std::string& text) {
    // The status line appears with its first message; until then the pages keep the room.
    QStatusBar* line = m_window.statusBar();
    line->setObjectName(QStringLiteral("StatusBar1"));
    line->setAccessibleName(QStringLiteral("status"));
    line->showMessage(QString::fromStdString(text));
}

void HistoryMenu::history1Click() {
    HistoryDialog dialog(*this, &m_window, m_session.setupTexts);
    (void)dialog.exec();
}

std::vector<std::uint32_t> HistoryMenu::serials() {
    return m_session.history.history().serials();
}

std::optional<std::uint32_t> HistoryMenu::connectedSerial() {
    if (!m_session.state.connected)
        return std::nullopt;
    return m_session.history.serial();
}

HistoryRows HistoryMenu::rows(std::uint32_t serial) {
    const ControllerHistory history = m_session.history.history();
    HistoryListing listing = history.index(serial);
    HistoryRows rows;
    rows.notes = std::move(listing.notes);
    for (auto it = listing.entries.rbegin(); it != listing.entries.rend(); ++it) {
        std::string note;
        const std::optional<EcuImage::Bytes> bytes = history.read(serial, *it, &note);
        if (!bytes) {
            rows.notes.push_back(note);
            continue;
        }
        rows.rows.push_back({*it, historyLocalText(it->time), revisionsText(*it),
                             historyDifferenceCount(m_session.image, *bytes)});
    }
    return rows;
}

std::optional<EcuImage::Bytes> HistoryMenu::readOrTell(std::uint32_t serial,
                                                       const HistoryEntry& entry) {
    std::string note;
    std::optional<EcuImage::Bytes> bytes = m_session.history.history().read(serial, entry, &note);
    if (!bytes)
        m_session.prompts.message(note);
    return bytes;
}

void HistoryMenu::compare(std::uint32_t serial, const HistoryEntry& entry) {
    const std::optional<EcuImage::Bytes> bytes = readOrTell(serial, entry);
    if (!bytes)
        return;
    const std::string time = historyLocalText(entry.time);
    DifferenceView view;
    const SetupTexts& texts = m_session.setupTexts;
    view.title =
        uiText(texts, WindowText::HistoryCompareTitle)
            .arg(QString::number(serial), text(time), text(historyWhatText(texts, entry.what)))
            .toStdString();
    view.otherLabel = time;
    view.diff = diffImages(m_session.image, historyImage(*bytes), texts);
    view.summary = (view.diff.writableMatch()
                        ? uiText(texts, WindowText::EntryMatches).arg(text(time))
                        : uiText(texts, WindowText::EntryDiffers)
                              .arg(text(time), text(locations(texts, view.diff.entries.size()))))
                       .toStdString();
    (void)m_ask(view);
}

bool HistoryMenu::restore(std::uint32_t serial, const HistoryEntry& entry) {
    const std::string time = historyLocalText(entry.time);
    const OkCancelBox box{
        "",
        uiText(m_session.setupTexts, WindowText::RestoreQuestion)
            .arg(text(time), text(historyWhatText(m_session.setupTexts, entry.what)),
                 QString::number(serial))
            .toStdString(),
        true};
    if (m_session.prompts.askOkCancel(box) != Answer::Ok)
        return false;
    const std::optional<EcuImage::Bytes> bytes = readOrTell(serial, entry);
    if (!bytes)
        return false;
    if (!restoreHistoryEntry(entry, *bytes, m_transfer, m_session.state, m_session.history,
                             m_session.prompts, m_session.texts.noConnection, m_session.progress,
                             m_session.timer))
        return false;
    m_refresh.RefreshControls();
    const WriteRun written = m_transfer.finishLoad(m_session.progress, m_session.timer);
    clearEditHistory(m_session, m_window, kUndoClearedRestore);
    if (written.refused()) {
        reportRefusedWrite(m_window, m_session, brokenWriteMessage(written, kAdviceRestoreAgain),
                           true);
        return true;
    }
    if (m_verifyAfterRestore)
        m_verifyAfterRestore();
    return true;
}

void HistoryMenu::saveAs(std::uint32_t serial, const HistoryEntry& entry) {
    const std::optional<EcuImage::Bytes> bytes = readOrTell(serial, entry);
    if (!bytes)
        return;
    const std::string folder = m_window.configurationFolder().toStdString();
    (void)ensureFolder(folder);
    FileQuestion question = saveConfigQuestion(folder);
    question.fileName = "ECU" + std::to_string(serial) + "-" + entry.id + ".kcfg";
    const std::optional<FileAnswer> answer = m_session.prompts.askSaveFile(question);
    if (!answer || answer->path.empty())
        return;
    const std::string error =
        writeConfigFile(withConfigExtension(answer->path), historyImage(*bytes));
    if (!error.empty())
        m_session.prompts.message(error);
}

}  // namespace kaldor
