#include "service/defaults_reset.h"

#include "service/history_recorder.h"
#include "service/settle_pause.h"

namespace kaldor {

bool ControllerReset::begin(const std::string& caption, const WorkTimes& workTimes,
                            TimerSwitch& timer) {
    m_phase = Phase::Idle;
    m_run = WriteRun{};
    if (m_prompts.askOkCancel({"", caption, true}) != Answer::Ok)
        return false;
    if (m_history)
        m_history->record(historyBefore(kHistoryReset));
    timer.setTimerEnabled(false);
    m_transfer.pause(kWriteSettleMs);
    // The PIN the controller holds, not the image's copy: the refresh clears that once the PIN
    // has been asked, and writing it back would remove the installer's protection.
    applyControllerDefaults(m_image, workTimes, heldControllerPin(m_state));
    m_phase = Phase::Rebuilt;
    return true;
}

std::optional<ControllerReset::Stop> ControllerReset::next(ProgressSink& bar, TimerSwitch& timer) {
    switch (m_phase) {
        case Phase::Rebuilt:
            m_phase = Phase::TablesReset;
            if (m_state.hardwareRevision == kEmulatorTablesHardware) {
                m_connectedBeforeTables = m_state.connected;
                m_framesBeforeTables = m_transfer.framesTaken();
                return Stop::ResetEmulatorTables;
            }
            [[fallthrough]];
        case Phase::TablesReset: {
            WriteRun tables;
            if (m_connectedBeforeTables) {
                tables.sent = m_transfer.framesTaken() - m_framesBeforeTables;
                tables.planned = tables.sent;
                m_connectedBeforeTables = false;
                if (!m_state.connected && m_state.writeRefused) {
                    // The port refused a frame of the tables: the words would go nowhere.
                    tables.end = WriteRun::End::Refused;
                    tables.planned = 0;
                    m_run = tables;
                    return finish(timer);
                }
            }
            m_run = m_transfer.writeWords(kNoConnectionMessage, bar);
            if (m_run.end != WriteRun::End::NotConnected) {
                m_run.sent += tables.sent;
                m_run.planned += tables.planned;
            }
            m_phase = Phase::WordsWritten;
            return Stop::ShowImage;
        }
        case Phase::WordsWritten:
            m_run = m_transfer.writeValidMarker(m_run, bar);
            if (m_run.refused())
                return finish(timer);
            m_phase = Phase::Committed;
            return Stop::SaveMainMapAxes;
        case Phase::Committed:
            return finish(timer);
        case Phase::Idle:
            break;
    }
    return std::nullopt;
}

std::optional<ControllerReset::Stop> ControllerReset::finish(TimerSwitch& timer) {
    timer.setTimerEnabled(true);
    m_phase = Phase::Idle;
    return std::nullopt;
}

}  // namespace kaldor
