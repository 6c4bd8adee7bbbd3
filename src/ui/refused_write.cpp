#include "ui/refused_write.h"

#include <QStatusBar>

#include "link/connection_scan.h"
#include "ui/main_window.h"
#include "ui/session.h"

namespace kaldor {

void reportRefusedWrite(MainWindow& window, ControllerSession& session, const std::string& text,
                        bool inBox) {
    if (!session.state.writeRefused)
        return;
    session.state.writeRefused = false;
    window.setWindowTitle(QString::fromStdString(initialTitle()));
    window.statusBar()->showMessage(QString::fromStdString(text));
    if (inBox)
        session.prompts.message(text);
}

}  // namespace kaldor
