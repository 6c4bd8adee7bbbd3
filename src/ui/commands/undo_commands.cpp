#include "ui/commands/undo_commands.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

#include "ui/main_window.h"
#include "ui/refresh.h"
#include "ui/session.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

void showInStatusLine(MainWindow& window, const std::string& text) {
    window.statusBar()->showMessage(QString::fromStdString(text));
}

}  // namespace

void clearEditHistory(ControllerSession& session, MainWindow& window, WindowText why) {
    const bool held = session.edits.canUndo() || session.edits.canRedo();
    session.edits.clear();
    // Said only when steps were dropped, so an empty history never hides another message.
    if (held)
        showInStatusLine(window, windowText(session.setupTexts, why));
}

std::string stepText(const SetupTexts& texts, bool undo, const EditStep* step) {
    std::string text = windowText(texts, undo ? WindowText::Undo : WindowText::Redo);
    if (step == nullptr)
        return text;
    const std::vector<std::string>& fields = step->fields;
    const std::string names = fields.empty()       ? windowText(texts, WindowText::Memory)
                              : fields.size() == 1 ? fields.front()
                              : fields.size() == 2 ? uiText(texts, WindowText::TwoNames)
                                                         .arg(QString::fromStdString(fields[0]),
                                                              QString::fromStdString(fields[1]))
                                                         .toStdString()
                                                   : namesText(texts, fields, 1);
    std::string what = names;
    if (!step->tool.empty())
        what = uiText(texts, WindowText::StepOnFields)
                   .arg(QString::fromStdString(translatedEnglish(texts, step->tool)),
                        QString::fromStdString(names))
                   .toStdString();
    if (step->cells > 0)
        what += ", " + countText(texts, WindowText::OneCell, WindowText::Cells,
                                 static_cast<std::size_t>(step->cells));
    return text + ": " + what;
}

UndoCommands::UndoCommands(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh)
    : m_window(window), m_session(session), m_refresh(refresh) {
    QObject::connect(m_window.menu().options1, &QMenu::aboutToShow, &m_window,
                     [this] { updateMenuTexts(); });
}

void UndoCommands::updateMenuTexts() {
    const EditHistory& edits = m_session.edits;
    m_window.menu().undo1->setText(
        QString::fromStdString(stepText(m_session.setupTexts, true, edits.undoStep())));
    m_window.menu().redo1->setText(
        QString::fromStdString(stepText(m_session.setupTexts, false, edits.redoStep())));
}

void UndoCommands::say(WindowText text) {
    showInStatusLine(m_window, windowText(m_session.setupTexts, text));
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
    const std::string what =
        stepText(m_session.setupTexts, undo, undo ? edits.undoStep() : edits.redoStep());
    if (undo)
        (void)edits.undo(m_session.image, m_session.transfer);
    else
        (void)edits.redo(m_session.image, m_session.transfer);
    m_refresh.RefreshControls();
    updateMenuTexts();
    say(what);
}

}  // namespace kaldor
