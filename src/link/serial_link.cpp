#include "link/serial_link.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace kaldor {

void SleepClock::pause(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

SerialLink::SerialLink(SerialPort& port, PauseClock& clock, ConnectionState& state)
    : m_port(port), m_clock(clock), m_state(state) {}

bool SerialLink::open(int portNumber) {
    m_lastPort = portNumber;
    if (!m_port.open(portNumber))
        return false;
    m_portOpen = true;
    return true;
}

void SerialLink::close() {
    m_state.connected = false;
    if (!m_portOpen)
        return;
    m_port.close();
    m_portOpen = false;
}

bool SerialLink::send(const std::uint8_t* bytes, std::size_t count) {
    m_port.setRts(true);
    if (!m_port.write(bytes, count)) {
        // A port that refuses a write is gone; whatever the controller holds now, the frames
        // still to come must not be taken for sent.
        if (m_state.connected) {
            m_state.linkReady = false;
            m_state.writeRefused = true;
            close();
        }
        return false;  // the next send raises RTS again
    }
    m_port.waitTransmitEmpty();
    m_port.setRts(false);
    return true;
}

void SerialLink::drain() {
    m_port.drain();
}

std::size_t SerialLink::readQueued(std::uint8_t* destination, std::size_t maximum) {
    if (m_port.queuedCount() == 0)
        return 0;
    return std::min(m_port.readQueued(destination, maximum), maximum);
}

bool SerialLink::receiveWindow(std::size_t n) {
    m_collected = 0;
    m_windowOk = false;
    std::size_t lastRead = 0;
    for (int poll = 0; poll < kWindowPolls;) {
        m_collected += lastRead;
        pause(kWindowPollPauseMs);
        ++poll;
        lastRead = readQueued(m_chunk.data(), m_chunk.size());
        // Bytes that would land past the reply buffer are dropped.
        if (m_collected < m_reply.size()) {
            const std::size_t room = m_reply.size() - m_collected;
            std::memcpy(m_reply.data() + m_collected, m_chunk.data(), std::min(lastRead, room));
        }
        if (m_collected >= n) {
            m_windowOk = true;
            break;
        }
    }
    return m_windowOk;
}

void SerialLink::pause(int milliseconds) {
    m_clock.pause(milliseconds);
}

}  // namespace kaldor
