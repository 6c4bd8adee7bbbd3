// Misbehaviour on request, so that tests can watch the program cope with a bad link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol.h"

namespace kaldor::sim {

// "Every Nth" counts replies (or, for ignoreWriteEvery, write frames) from 1; 0 turns a fault off.
struct FaultOptions {
    unsigned dropEvery = 0;     // the Nth reply is not sent
    unsigned corruptEvery = 0;  // the Nth reply has a wrong checksum (no checksum: wrong trailer)
    unsigned strayEvery = 0;    // a stray 0x55 is sent in front of the Nth reply
    unsigned wrongSubCodeEvery = 0;          // the Nth block reply carries the other sub-code
    unsigned ignoreWriteEvery = 0;           // the Nth write frame is logged, its value not stored
    unsigned delayMs = 0;                    // every reply waits this long before it is sent
    std::optional<std::size_t> silentAfter;  // after this many frames, no more replies
    std::optional<std::size_t> hangUpAfter;  // after this many frames, close the pty and stop
    // After this many write frames (byte or word writes), close the pty and stop: the program's
    // next write fails as on a pulled cable.
    std::optional<std::size_t> hangUpAfterWrites;
};

// Decides which frames and replies a fault strikes. It keeps its own counts, so one injector
// serves one run of one controller, from the serving thread alone.
class FaultInjector {
public:
    explicit FaultInjector(const FaultOptions& options) : m_options(options) {}

    // Counts write frames; true for a write whose value is to be lost.
    [[nodiscard]] bool ignoresWrite(const CommandFrame& frame);
    // Whether the controller has stopped answering, or hangs up, after `frameCount` frames.
    [[nodiscard]] bool silentAt(std::size_t frameCount) const;
    [[nodiscard]] bool hangsUpAt(std::size_t frameCount) const;
    // Whether the write frames counted so far (by ignoresWrite) call for the hang-up.
    [[nodiscard]] bool hangsUpAfterWrites() const;
    // Counts the reply and spoils it as asked; false when it is not to be sent at all.
    [[nodiscard]] bool spoil(std::vector<std::uint8_t>& reply);
    [[nodiscard]] unsigned delayMs() const { return m_options.delayMs; }

private:
    FaultOptions m_options;
    std::size_t m_replyCount = 0;
    std::size_t m_blockReplyCount = 0;
    std::size_t m_writeCount = 0;
};

}  // namespace kaldor::sim
