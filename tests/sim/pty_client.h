// The program's end of the pseudo-terminal, reduced to plain POSIX calls, so the virtual
// controller is tested without any of the program's own serial code.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol.h"

namespace kaldor::sim::test {

using Bytes = std::vector<std::uint8_t>;

// Generous: the machine may be loaded; replies normally come within milliseconds.
inline constexpr std::chrono::milliseconds kReplyTimeout{3000};
// How long a test listens before it concludes that nothing is coming.
inline constexpr std::chrono::milliseconds kSilence{300};

inline std::string hex(const Bytes& bytes) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i == 0 ? "%02X" : " %02X", bytes[i]);
        out += buf;
    }
    return out;
}

class PtyClient {
public:
    explicit PtyClient(const std::string& device) {
        m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd >= 0) {
            termios tio{};
            ::tcgetattr(m_fd, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~PtyClient() { close(); }
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    void close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    void send(const Bytes& bytes) const {
        [[maybe_unused]] const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
    }
    void send(const CommandFrame& frame) const { send(Bytes(frame.begin(), frame.end())); }

    // Reads until `count` bytes have come or `timeout` has passed; returns what came.
    [[nodiscard]] Bytes read(std::size_t count,
                             std::chrono::milliseconds timeout = kReplyTimeout) const {
        Bytes out;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (out.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                break;
            }
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            if ((p.revents & POLLIN) == 0) {
                break;  // hung up
            }
            std::uint8_t buffer[512];
            const std::size_t want = std::min(sizeof buffer, count - out.size());
            const ssize_t n = ::read(m_fd, buffer, want);
            if (n <= 0) {
                break;
            }
            out.insert(out.end(), buffer, buffer + n);
        }
        return out;
    }

    [[nodiscard]] Bytes exchange(const CommandFrame& frame, std::size_t replyLength) const {
        send(frame);
        return read(replyLength);
    }

    // Whatever arrives within `quiet`; used to show that nothing (more) comes.
    [[nodiscard]] Bytes drain(std::chrono::milliseconds quiet = kSilence) const {
        return read(4096, quiet);
    }

private:
    int m_fd = -1;
};

// Computed here rather than taken from the controller, so a wrong checksum there shows.
inline std::uint8_t expectedChecksum(const Bytes& reply) {
    unsigned sum = 0xAA;
    for (std::size_t i = 2; i + 2 < reply.size(); ++i) {
        sum += reply[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

// The block a reply carries, back in memory order, or nothing when the reply does not check out.
inline Bytes unpackBlock(const Bytes& reply, std::uint8_t header, std::uint8_t subCode) {
    const std::size_t n = reply.size();
    if (n < 4 || reply[0] != header || reply[1] != subCode || reply[n - 1] != kTrailer ||
        reply[n - 2] != expectedChecksum(reply)) {
        return {};
    }
    return Bytes(reply.rbegin() + 2, reply.rend() - 2);
}

inline std::uint16_t wordAt(const Bytes& block, std::size_t index) {
    return static_cast<std::uint16_t>(block.at(2 * index) | (block.at(2 * index + 1) << 8));
}

}  // namespace kaldor::sim::test
