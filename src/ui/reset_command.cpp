#include "ui/reset_command.h"

#include <QAction>

#include "live/live_display.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment_page.h"
#include "ui/pages/emu_page.h"
#include "ui/pages/main_map_panel.h"
#include "ui/refresh.h"
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
    if (m_verifyAfterReset)
        m_verifyAfterReset();
}

}  // namespace kaldor
