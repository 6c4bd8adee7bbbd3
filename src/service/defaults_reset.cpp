#include "service/defaults_reset.h"

#include "service/history_recorder.h"

namespace kaldor {

bool ControllerReset::run(const std::string& caption, const WorkTimes& workTimes, ProgressSink& bar,
                          TimerSwitch& timer) {
    if (m_prompts.askOkCancel({"", caption, true}) != Answer::Ok)
        return false;
    if (m_history)
        m_history->record(historyBefore(kHistoryReset));
    timer.setTimerEnabled(false);
    m_transfer.pause(kSettleMs);
    // The PIN the controller holds, not the image's copy: the refresh clears that once the PIN
    // has been asked, and writing it back would remove the installer's protection.
    applyControllerDefaults(m_image, workTimes, heldControllerPin(m_state));
    if (m_state.hardwareRevision == kEmulatorTablesHardware && m_emulatorTables)
        m_emulatorTables();
    m_transfer.writeAll(kNoConnectionMessage, bar);
    bar.setPosition(bar.maximum());
    if (m_axisSave)
        m_axisSave();
    timer.setTimerEnabled(true);
    return true;
}

}  // namespace kaldor
