#pragma once
// The polling step run on every tick of the 50 ms timer: one tick requests a live record, the
// next collects it and hands it on, so one record arrives every 100 ms.
#include "link/commands.h"
#include "link/connection_state.h"
#include "live/live_frame.h"

namespace kaldor {

// What the polling step drives; the window fills these in.
class LiveHooks {
public:
    virtual ~LiveHooks() = default;
    virtual void showNotConnected() = 0;
    // Demo playback: the next recorded record, false when there is none.
    virtual bool nextPlaybackRecord(LiveFrame& frame) = 0;
    // Called after every collect tick, whether or not the reply was valid, while logging runs.
    virtual void appendLog(const LiveFrame& frame) = 0;
    virtual void updateDisplay() = 0;
    virtual void updateCalibrationTables() = 0;
    [[nodiscard]] virtual bool readingsPageVisible() const = 0;
    virtual void feedOscilloscope() = 0;
};

class LivePoller {
public:
    LivePoller(CommandSet& commands, ConnectionState& state, LiveFrame& frame,
               CalibrationBlock& block, LiveHooks& hooks);

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
    LiveHooks& m_hooks;
    bool m_requestPhase = false;
    bool m_demo = false;
    bool m_logging = false;
};

}  // namespace kaldor
