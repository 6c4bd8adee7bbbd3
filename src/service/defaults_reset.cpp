#include "service/defaults_reset.h"

#include "service/history_recorder.h"
#include "service/settle_pause.h"

namespace kaldor {

bool ControllerReset::begin(const std::string& caption, const WorkTimes& workTimes,
                            TimerSwitch& timer) {
    m_phase = Phase::Idle;
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
            if (m_state.hardwareRevision == kEmulatorTablesHardware)
                return Stop::ResetEmulatorTables;
            [[fallthrough]];
        case Phase::TablesReset:
            m_transfer.writeWords(kNoConnectionMessage, bar);
            m_phase = Phase::WordsWritten;
            return Stop::ShowImage;
        case Phase::WordsWritten:
            m_transfer.writeValidMarker(bar);
            m_phase = Phase::Committed;
            return Stop::SaveMainMapAxes;
        case Phase::Committed:
            timer.setTimerEnabled(true);
            m_phase = Phase::Idle;
            return std::nullopt;
        case Phase::Idle:
            break;
    }
    return std::nullopt;
}

}  // namespace kaldor
