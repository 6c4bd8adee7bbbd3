#pragma once
// "undo" and "redo" of the options1 menu (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z) over the session's edit
// history: the writes of the step go out again with the earlier (or later) bytes, then every
// control shows the image. Refused, with the reason in the status line, while no controller is
// connected or it is locked. The items name the step they take back whenever the menu opens.
// Whatever replaces the controller's memory as a whole clears the history and says so.
#include <string>

namespace kaldor {

class ControlsRefresh;
class MainWindow;
struct ControllerSession;

inline constexpr const char* kUndoClearedConnection = "undo history cleared: new connection";
inline constexpr const char* kUndoClearedLoad = "undo history cleared: configuration loaded";
inline constexpr const char* kUndoClearedMap = "undo history cleared: map loaded";
inline constexpr const char* kUndoClearedReset = "undo history cleared: controller reset";
inline constexpr const char* kUndoClearedRestore = "undo history cleared: history entry restored";
inline constexpr const char* kUndoNotConnected = "undo and redo need a connected controller";
inline constexpr const char* kUndoLocked =
    "undo and redo are refused while the controller is locked";
inline constexpr const char* kNothingToUndo = "nothing to undo";
inline constexpr const char* kNothingToRedo = "nothing to redo";

// Empties the history and, when it held steps, says why in the window's status line.
void clearEditHistory(ControllerSession& session, MainWindow& window, const char* why);

class UndoCommands {
public:
    UndoCommands(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh);

    void undo1Click() { takeBack(true); }
    void redo1Click() { takeBack(false); }
    // The items' captions: "undo: +5 on MainMap, 40 cells", or "undo" with nothing to take back.
    void updateMenuTexts();

private:
    void takeBack(bool undo);
    void say(const std::string& text);

    MainWindow& m_window;
    ControllerSession& m_session;
    ControlsRefresh& m_refresh;
};

}  // namespace kaldor
