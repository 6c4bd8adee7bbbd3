// Cuts the byte stream from the PC into six-byte command frames.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol.h"

namespace kaldor::sim {

// The PC sends frames back to back with no start marker, so after a stray byte or a corrupted
// frame the receiver slides one byte at a time until six bytes form a frame whose checksum and
// trailer agree. Fewer than six pending bytes wait for more input; at most five are ever held.
class FrameReceiver {
public:
    // Appends `count` bytes and adds every complete valid frame to `frames`, in order.
    void push(const std::uint8_t* data, std::size_t count, std::vector<CommandFrame>& frames);

    // Bytes dropped while searching for a frame boundary, since construction.
    [[nodiscard]] std::size_t discardedBytes() const { return m_discarded; }
    [[nodiscard]] std::size_t pendingBytes() const { return m_fill; }

private:
    CommandFrame m_window{};
    std::size_t m_fill = 0;
    std::size_t m_discarded = 0;
};

}  // namespace kaldor::sim
