#pragma once
// A scripted serial port and a virtual clock sharing one event log, so tests can assert the
// exact order of pauses, drains, RTS changes and frames. Bytes "arrive" at virtual times.
// No Qt: the core tests and the UI tests share it.
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/commands.h"
#include "link/serial_port.h"
#include "model/prompts.h"

namespace kaldor::test {

using Bytes = std::vector<std::uint8_t>;

inline std::string hex(const std::uint8_t* data, std::size_t n) {
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", data[i]);
        s += buf;
    }
    return s;
}
inline std::string hex(const Bytes& b) {
    return hex(b.data(), b.size());
}

// n bytes counting up from `start`, so that any misplaced byte shows.
inline Bytes counting(std::size_t n, std::uint8_t start = 0) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(start + i);
    return b;
}

struct EventLog {
    std::vector<std::string> events;
    long nowMs = 0;
    void add(std::string e) { events.push_back(std::move(e)); }
    // Only the frames written, in order.
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.rfind("write ", 0) == 0)
                out.push_back(e.substr(6));
        return out;
    }
};

class VirtualClock final : public PauseClock {
public:
    explicit VirtualClock(EventLog& log) : m_log(log) {}
    void pause(int ms) override {
        m_log.nowMs += ms;
        m_log.add("pause " + std::to_string(ms));
    }

private:
    EventLog& m_log;
};

class FakePort final : public SerialPort {
public:
    // Given the port and the frame just written, returns the reply bytes (empty: silence).
    using Responder = std::function<Bytes(int port, const Bytes& frame)>;

    explicit FakePort(EventLog& log) : m_log(log) {}

    std::set<int> existing{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    std::map<int, int> failOpens;  // port -> how many opens fail before one succeeds
    // port -> why it cannot be opened (every open fails); beside `existing`
    std::map<int, kaldor::PortOpenResult> openErrors;
    Responder responder;
    long replyDelayMs = 0;  // virtual time between the end of a frame and its reply
    bool failWrites = false;
    // Writes the port takes before it refuses every further one, as a pulled cable does.
    std::optional<std::size_t> refuseAfterWrites;
    std::size_t writesTaken = 0;
    int openPort = 0;
    std::vector<int> openAttempts;

    // Bytes become readable at `atMs` of virtual time.
    void deliver(const Bytes& bytes, long atMs) {
        for (auto b : bytes)
            m_incoming.push_back({atMs, b});
    }

    bool open(int number) override {
        openAttempts.push_back(number);
        m_log.add("open " + std::to_string(number));
        m_lastOpen = {};
        if (const auto why = openErrors.find(number); why != openErrors.end()) {
            m_lastOpen = why->second;
            return false;
        }
        if (!existing.count(number))
            return false;
        if (failOpens[number] > 0) {
            --failOpens[number];
            return false;
        }
        openPort = number;
        return true;
    }
    kaldor::PortOpenResult lastOpenResult() const override { return m_lastOpen; }
    void close() override {
        m_log.add("close");
        openPort = 0;
    }
    void setRts(bool high) override {
        rts = high;
        m_log.add(high ? "rts 1" : "rts 0");
    }
    bool write(const std::uint8_t* data, std::size_t count) override {
        Bytes frame(data, data + count);
        m_log.add("write " + hex(frame));
        if (failWrites || openPort == 0 || (refuseAfterWrites && writesTaken >= *refuseAfterWrites))
            return false;
        ++writesTaken;
        if (responder)
            deliver(responder(openPort, frame), m_log.nowMs + replyDelayMs);
        return true;
    }
    void waitTransmitEmpty() override { m_log.add("txempty"); }
    void drain() override { m_log.add("drain"); }
    std::size_t queuedCount() override {
        std::size_t n = 0;
        for (const auto& [at, b] : m_incoming)
            if (at <= m_log.nowMs)
                ++n;
        return n;
    }
    std::size_t readQueued(std::uint8_t* dst, std::size_t max) override {
        std::size_t n = 0;
        while (n < max && !m_incoming.empty() && m_incoming.front().first <= m_log.nowMs) {
            dst[n++] = m_incoming.front().second;
            m_incoming.pop_front();
        }
        return n;
    }

    bool rts = false;

private:
    EventLog& m_log;
    kaldor::PortOpenResult m_lastOpen;
    std::deque<std::pair<long, std::uint8_t>> m_incoming;
};

// A link to a scripted port in virtual time, as most core tests start.
struct ScriptedLink {
    EventLog log;
    FakePort port{log};
    VirtualClock clock{log};
    ConnectionState state;
    SerialLink link{port, clock, state};
    CommandSet commands{link};
};

// Timer1 as the core's long operations switch it: every change remembered.
struct RecordingTimer : TimerSwitch {
    std::vector<bool> changes;
    void setTimerEnabled(bool on) override { changes.push_back(on); }
};

// Message boxes answered by remembering their texts; OK/Cancel boxes and file dialogs answered
// from the script (OK, and no file chosen, unless a test says otherwise).
struct RecordingPrompts : Prompts {
    std::vector<std::string> messages;
    std::vector<OkCancelBox> boxes;
    std::vector<FileQuestion> questions;
    Answer okCancel = Answer::Ok;
    std::optional<FileAnswer> openFile;
    std::optional<FileAnswer> saveFile;

    void message(const std::string& text) override { messages.push_back(text); }
    Answer askOkCancel(const OkCancelBox& box) override {
        boxes.push_back(box);
        return okCancel;
    }
    std::optional<FileAnswer> askOpenFile(const FileQuestion& q) override {
        questions.push_back(q);
        return openFile;
    }
    std::optional<FileAnswer> askSaveFile(const FileQuestion& q) override {
        questions.push_back(q);
        return saveFile;
    }
};

}  // namespace kaldor::test
