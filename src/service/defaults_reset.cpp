#include "service/defaults_reset.h"

#include "service/history_recorder.h"

namespace kaldor {

std::optional<WriteRun> ControllerReset::run(const std::string& caption, const WorkTimes& workTimes,
                                             ProgressSink& bar, TimerSwitch& timer) {
    if (m_prompts.askOkCancel({"", caption, true}) != Answer::Ok)
        return std::nullopt;
    if (m_history)
        m_history->record(historyBefore(kHistoryReset));
    timer.setTimerEnabled(false);
    m_transfer.pause(kSettleMs);
    // The PIN the controller holds, not the image's copy: the refresh clears that once the PIN
    // has been asked, and writing it back would remove the installer's protection.
    applyControllerDefaults(m_image, workTimes, heldControllerPin(m_state));
    // The emulator tables go first and count as the first frames of the reset; how many there
    // would have been is known only once they all went.
    WriteRun tables;
    if (m_state.hardwareRevision == kEmulatorTablesHardware && m_emulatorTables) {
        const bool wasConnected = m_state.connected;
        const std::size_t before = m_transfer.framesTaken();
        m_emulatorTables();
        tables.sent = m_transfer.framesTaken() - before;
        tables.planned = tables.sent;
        if (wasConnected && !m_state.connected && m_state.writeRefused) {
            tables.end = WriteRun::End::Refused;
            tables.planned = 0;
            timer.setTimerEnabled(true);
            return tables;
        }
    }
    WriteRun written = m_transfer.writeAll(kNoConnectionMessage, bar);
    if (written.end != WriteRun::End::NotConnected) {
        written.sent += tables.sent;
        written.planned += tables.planned;
    }
    if (written.refused()) {
        timer.setTimerEnabled(true);
        return written;
    }
    bar.setPosition(bar.maximum());
    if (m_axisSave)
        m_axisSave();
    timer.setTimerEnabled(true);
    return written;
}

}  // namespace kaldor
