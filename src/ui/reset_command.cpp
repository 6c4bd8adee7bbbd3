#include "ui/reset_command.h"

#include <QAction>

#include "live/live_display.h"
#include "service/broken_write.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment_page.h"
#include "ui/pages/emu_page.h"
#include "ui/pages/main_map_panel.h"
#include "ui/refused_write.h"
#include "ui/session.h"

namespace kaldor {

ResetCommand::ResetCommand(MainWindow& window, ControllerSession& session)
    : m_window(window),
      m_session(session),
      m_reset(session.transfer, session.state, session.image, session.prompts, &session.history) {
    m_reset.setEmulatorTablesReset([&window] { window.emuPage().resetEmulatorTables(); });
    m_reset.setAxisSave([&window] { window.adjustmentPage().mainMap().saveAxes(); });
}

void ResetCommand::RESET1Click() {
    const QAction* item = m_window.menu().RESET1;
    const std::string caption = item != nullptr ? item->text().toStdString() : std::string();
    const std::optional<WriteRun> written = m_reset.run(caption, recordedWorkTimes(m_session.frame),
                                                        m_session.progress, m_session.timer);
    if (!written)
        return;
    if (written->refused()) {
        reportRefusedWrite(m_window, m_session, brokenWriteMessage(*written, kAdviceResetAgain),
                           true);
        return;
    }
    if (m_verifyAfterReset)
        m_verifyAfterReset();
}

}  // namespace kaldor
