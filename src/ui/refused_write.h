#pragma once
// The window's side of a frame the port refused: the connection has already ended in the link
// (port closed, polling stopped); here the installer is told, once, and the caption becomes that
// of an unconnected program.
#include <string>

namespace kaldor {

class MainWindow;
struct ControllerSession;

// `text` in a box when `inBox` (a long operation that broke off), and in the status line. Does
// nothing unless the connection ended on a refused frame since it was last told.
void reportRefusedWrite(MainWindow& window, ControllerSession& session, const std::string& text,
                        bool inBox);

}  // namespace kaldor
