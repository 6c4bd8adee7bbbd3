#include "live/live_poller.h"

namespace kaldor {

LivePoller::LivePoller(CommandSet& commands, ConnectionState& state, LiveFrame& frame,
                       CalibrationBlock& block, LiveHooks& hooks)
    : m_commands(commands), m_state(state), m_frame(frame), m_block(block), m_hooks(hooks) {}

void LivePoller::TimerTick() {
    if (!m_state.connected && !m_demo)
        m_hooks.showNotConnected();
    if (!m_state.linkReady && !m_demo)
        return;
    if (!m_requestPhase) {
        m_commands.requestLive();
        m_requestPhase = true;
        return;
    }
    ReceiveLive();
    m_hooks.updateDisplay();
    m_hooks.updateCalibrationTables();
    m_requestPhase = false;
    if (m_hooks.readingsPageVisible())
        m_hooks.feedOscilloscope();
}

bool LivePoller::ReceiveLive() {
    if (m_demo)
        return m_hooks.nextPlaybackRecord(m_frame);
    const bool valid = m_commands.collectLive(m_frame.bytes().data());
    if (valid)
        m_block.takeSlice(m_frame);
    // A lost record is logged again as the previous one.
    if (m_logging)
        m_hooks.appendLog(m_frame);
    return valid;
}

}  // namespace kaldor
