#pragma once
// The polling step run on every tick of the 50 ms timer: one tick requests a live record, the
// next collects it and hands it on, so one record arrives every 100 ms.
#include <functional>
#include <vector>

#include "link/commands.h"
#include "live/live_frame.h"
#include "model/connection_state.h"

namespace kaldor {

class LivePoller {
public:
    LivePoller(CommandSet& commands, ConnectionState& state, LiveFrame& frame,
               CalibrationBlock& block);

    // Shows that no controller is connected; run on every tick while neither a controller nor
    // a playback feeds records.
    void setNotConnectedSink(std::function<void()> sink) { m_notConnected = std::move(sink); }
    // Demo playback: the next recorded record into the frame, false when there is none.
    void setPlaybackSource(std::function<bool(LiveFrame&)> source) {
        m_playback = std::move(source);
    }
    // While logging runs: every collected record, the previous one again when a reply was lost.
    void setLogSink(std::function<void(const LiveFrame&)> sink) { m_log = std::move(sink); }
    // Run after every collect tick, in the order added.
    void addRecordSink(std::function<void()> sink) { m_sinks.push_back(std::move(sink)); }

    void TimerTick();
    // Fills the frame from the controller or from playback; true when it was renewed.
    bool ReceiveLive();

    void setDemoPlayback(bool on) { m_demo = on; }
    [[nodiscard]] bool demoPlayback() const { return m_demo; }
    void setLogging(bool on) { m_logging = on; }
    [[nodiscard]] bool logging() const { return m_logging; }
    [[nodiscard]] bool requestPhase() const { return m_requestPhase; }
    void resetRequestPhase() { m_requestPhase = false; }

private:
    CommandSet& m_commands;
    ConnectionState& m_state;
    LiveFrame& m_frame;
    CalibrationBlock& m_block;
    std::function<void()> m_notConnected;
    std::function<bool(LiveFrame&)> m_playback;
    std::function<void(const LiveFrame&)> m_log;
    std::vector<std::function<void()>> m_sinks;
    bool m_requestPhase = false;
    bool m_demo = false;
    bool m_logging = false;
};

}  // namespace kaldor
