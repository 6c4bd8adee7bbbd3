#include "live/live_poller.h"

namespace kaldor {

// The live reply's payload lands whole in the record.
static_assert(LiveFrame::kBytes == CommandSet::kLiveSize);

LivePoller::LivePoller(CommandSet& commands, ConnectionState& state, LiveFrame& frame,
                       CalibrationBlock& block)
    : m_commands(commands), m_state(state), m_frame(frame), m_block(block) {}

void LivePoller::TimerTick() {
    if (!m_state.connected && !m_demo && m_notConnected)
        m_notConnected();
    if (!m_state.linkReady && !m_demo)
        return;
    if (!m_requestPhase) {
        m_commands.requestLive();
        m_requestPhase = true;
        return;
    }
    ReceiveLive();
    m_requestPhase = false;
    for (const auto& sink : m_sinks)
        sink();
}

bool LivePoller::ReceiveLive() {
    if (m_demo)
        return m_playback && m_playback(m_frame);
    const bool valid = m_commands.collectLive(m_frame.bytes().data());
    if (valid)
        m_block.takeSlice(m_frame);
    // A lost record is logged again as the previous one.
    if (m_logging && m_log)
        m_log(m_frame);
    return valid;
}

}  // namespace kaldor
