#include "ui/undo_commands.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

#include "ui/main_window.h"
#include "ui/refresh.h"
#include "ui/session.h"

namespace kaldor {
namespace {

void showInStatusLine(MainWindow& window, const std::string& text) {
    window.statusBar()->showMessage(QString::fromStdString(text));
}

}  // namespace

void clearEditHistory(ControllerSession& session, MainWindow& window, const char* why) {
    const bool held = session.edits.canUndo() || session.edits.canRedo();
    session.edits.clear();
    // Said only when steps were dropped, so an empty history never hides another message.
    if (held)
        showInStatusLine(window, why);
}

UndoCommands::UndoCommands(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh)
    : m_window(window), m_session(session), m_refresh(refresh) {
    QObject::connect(m_window.menu().options1, &QMenu::aboutToShow, &m_window,
                     [this] { updateMenuTexts(); });
}

void UndoCommands::updateMenuTexts() {
    m_window.menu().undo1->setText(QString::fromStdString(m_session.edits.undoText()));
    m_window.menu().redo1->setText(QString::fromStdString(m_session.edits.redoText()));
}

void UndoCommands::say(const std::string& text) {
    showInStatusLine(m_window, text);
}

void UndoCommands::takeBack(bool undo) {
    EditHistory& edits = m_session.edits;
    if (!m_session.state.connected) {
        say(kUndoNotConnected);
        return;
    }
    if (m_session.gate.locked()) {
        say(kUndoLocked);
        return;
    }
    if (undo ? !edits.canUndo() : !edits.canRedo()) {
        say(undo ? kNothingToUndo : kNothingToRedo);
        return;
    }
    const std::string what = undo ? edits.undoText() : edits.redoText();
    if (undo)
        (void)edits.undo(m_session.image, m_session.transfer);
    else
        (void)edits.redo(m_session.image, m_session.transfer);
    m_refresh.RefreshControls();
    updateMenuTexts();
    say(what);
}

}  // namespace kaldor
