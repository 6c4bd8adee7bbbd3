#include "ui/commands/file_menu.h"
#include "ui/commands/undo_commands.h"

#include <QAction>

#include "service/broken_write.h"
#include "ui/main_window.h"
#include "ui/refresh.h"
#include "ui/refused_write.h"
#include "ui/session.h"

namespace kaldor {
namespace {

std::string captionOf(const QAction* item) {
    return item != nullptr ? item->text().toStdString() : std::string();
}

}  // namespace

FileMenu::FileMenu(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh)
    : m_window(window),
      m_session(session),
      m_refresh(refresh),
      m_transfer(std::make_unique<ConfigTransfer>(
          session.transfer, session.state, session.image, session.prompts,
          window.baseFolder().toStdString(), &session.history)) {}

void FileMenu::savetodisk1Click() {
    (void)m_transfer->saveToDisk();
}

void FileMenu::loadtoECU1Click() {
    if (!m_transfer->loadToEcu(captionOf(m_window.menu().loadtoECU1), m_session.texts.noConnection,
                               m_session.progress, m_session.timer))
        return;
    m_refresh.RefreshControls();
    const WriteRun written = m_transfer->finishLoad(m_session.progress, m_session.timer);
    clearEditHistory(m_session, m_window, kUndoClearedLoad);
    if (written.refused()) {
        reportRefusedWrite(m_window, m_session, brokenWriteMessage(written, kAdviceLoadAgain),
                           true);
        return;
    }
    if (m_verifyAfterLoad)
        m_verifyAfterLoad();
}

void FileMenu::LoadMap1Click() {
    if (!m_transfer->loadMap(captionOf(m_window.menu().LoadMap1), m_session.texts.noConnection,
                             m_session.progress, m_session.timer))
        return;
    m_refresh.RefreshControls();
    const WriteRun written = m_transfer->finishLoad(m_session.progress, m_session.timer);
    clearEditHistory(m_session, m_window, kUndoClearedMap);
    if (written.refused())
        reportRefusedWrite(m_window, m_session, brokenWriteMessage(written, kAdviceLoadAgain),
                           true);
}

}  // namespace kaldor
