#pragma once
// The one serial port to the controller. The cable's interface is half-duplex and switched by
// RTS: RTS is high only while a frame goes out, so the controller's reply is not lost.
#include <array>
#include <cstddef>
#include <cstdint>

#include "link/serial_port.h"
#include "model/connection_state.h"

namespace kaldor {

class SerialLink {
public:
    static constexpr std::size_t kReplyBufferSize = 1024;
    static constexpr std::size_t kChunkSize = 1024;
    static constexpr int kWindowPolls = 21;
    static constexpr int kWindowPollPauseMs = 2;
    using ReplyBuffer = std::array<std::uint8_t, kReplyBufferSize>;

    SerialLink(SerialPort& port, PauseClock& clock, ConnectionState& state);

    [[nodiscard]] bool open(int portNumber);
    [[nodiscard]] PortOpenResult lastOpenResult() const { return m_port.lastOpenResult(); }
    // Clears the connected flag and closes the port if it is open.
    void close();
    // False when the port refused the bytes. A connected link then ends the connection: the
    // port is closed, polling stops (link ready cleared) and `writeRefused` is set, so nothing
    // more goes out until the installer scans again.
    [[nodiscard]] bool send(const std::uint8_t* bytes, std::size_t count);
    void drain();
    [[nodiscard]] std::size_t readQueued(std::uint8_t* destination, std::size_t maximum);
    // Collects a reply of n bytes into the reply buffer from offset 0: 21 polls 2 ms apart. The
    // count runs one poll late, so bytes read in the 21st poll are stored but not counted.
    [[nodiscard]] bool receiveWindow(std::size_t n);
    void pause(int milliseconds);

    [[nodiscard]] const ReplyBuffer& replyBuffer() const { return m_reply; }
    [[nodiscard]] bool windowSucceeded() const { return m_windowOk; }
    [[nodiscard]] std::size_t collected() const { return m_collected; }
    [[nodiscard]] bool portOpen() const { return m_portOpen; }
    [[nodiscard]] int lastPortNumber() const { return m_lastPort; }

private:
    SerialPort& m_port;
    PauseClock& m_clock;
    ConnectionState& m_state;
    bool m_portOpen = false;
    int m_lastPort = 0;
    ReplyBuffer m_reply{};  // never cleared: bytes past a reply are left from earlier ones
    std::array<std::uint8_t, kChunkSize> m_chunk{};
    bool m_windowOk = false;
    std::size_t m_collected = 0;
};

}  // namespace kaldor
