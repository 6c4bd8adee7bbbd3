#pragma once
// "undo" and "redo" of the options1 menu (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z) over the session's edit
// history: the writes of the step go out again with the earlier (or later) bytes, then every
// control shows the image. Refused, with the reason in the status line, while no controller is
// connected or it is locked. The items name the step they take back whenever the menu opens.
// Whatever replaces the controller's memory as a whole clears the history and says so.
#include <string>

#include "files/text_ids.h"
#include "model/edit_history.h"
#include "service/setup_description.h"

namespace kaldor {

class ControlsRefresh;
class MainWindow;
struct ControllerSession;

// What the status line says, in the window's language.
inline constexpr WindowText kUndoClearedConnection = WindowText::UndoClearedConnection;
inline constexpr WindowText kUndoClearedLoad = WindowText::UndoClearedLoad;
inline constexpr WindowText kUndoClearedMap = WindowText::UndoClearedMap;
inline constexpr WindowText kUndoClearedReset = WindowText::UndoClearedReset;
inline constexpr WindowText kUndoClearedRestore = WindowText::UndoClearedRestore;
inline constexpr WindowText kUndoNotConnected = WindowText::UndoNotConnected;
inline constexpr WindowText kUndoLocked = WindowText::UndoLocked;
inline constexpr WindowText kNothingToUndo = WindowText::NothingToUndo;
inline constexpr WindowText kNothingToRedo = WindowText::NothingToRedo;

// Empties the history and, when it held steps, says why in the window's status line.
void clearEditHistory(ControllerSession& session, MainWindow& window, WindowText why);
// "undo: +5 on MainMap, 40 cells" in the language of `texts`; plain "undo" without a step.
[[nodiscard]] std::string stepText(const SetupTexts& texts, bool undo, const EditStep* step);

class UndoCommands {
public:
    UndoCommands(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh);

    void undo1Click() { takeBack(true); }
    void redo1Click() { takeBack(false); }
    // The items' captions: "undo: +5 on MainMap, 40 cells", or "undo" with nothing to take back.
    void updateMenuTexts();

private:
    void takeBack(bool undo);
    void say(WindowText text);
    void say(const std::string& text);

    MainWindow& m_window;
    ControllerSession& m_session;
    ControlsRefresh& m_refresh;
};

}  // namespace kaldor
