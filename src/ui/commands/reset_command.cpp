#include "ui/commands/reset_command.h"
#include "ui/commands/undo_commands.h"

#include <QAction>

#include "live/live_display.h"
#include "service/broken_write.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/pages/emu/emu_page.h"
#include "ui/refresh.h"
#include "ui/refused_write.h"
#include "ui/session.h"

namespace kaldor {

ResetCommand::ResetCommand(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh)
    : m_window(window),
      m_session(session),
      m_refresh(refresh),
      m_reset(session.transfer, session.state, session.image, session.prompts, &session.history) {}

void ResetCommand::RESET1Click() {
    const QAction* item = m_window.menu().RESET1;
    const std::string caption = item != nullptr ? item->text().toStdString() : std::string();
    if (!m_reset.begin(caption, recordedWorkTimes(m_session.frame), m_session.timer))
        return;
    using Stop = ControllerReset::Stop;
    while (const std::optional<Stop> stop = m_reset.next(m_session.progress, m_session.timer)) {
        switch (*stop) {
            case Stop::ResetEmulatorTables:
                m_window.emuPage().resetEmulatorTables();
                break;
            case Stop::ShowImage:
                m_refresh.RefreshControls();
                break;
            case Stop::SaveMainMapAxes:
                m_window.adjustmentPage().mainMap().saveAxes();
                break;
        }
    }
    clearEditHistory(m_session, m_window, kUndoClearedReset);
    if (m_reset.written().refused()) {
        reportRefusedWrite(m_window, m_session,
                           brokenWriteMessage(m_reset.written(), kAdviceResetAgain), true);
        return;
    }
    if (m_verifyAfterReset)
        m_verifyAfterReset();
}

}  // namespace kaldor
