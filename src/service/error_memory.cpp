#include "service/error_memory.h"

#include <array>

namespace kaldor {

// Each half of the error memory is one block reply.
static_assert(ErrorBlock::kHalf == CommandSet::kBlockSize);

void ErrorMemory::discardQueued() {
    // A live reply the polling asked for just before would land in front of the first half and
    // spoil it. A line that keeps talking is not drained for ever.
    constexpr int kMaxReads = 16;
    std::array<std::uint8_t, SerialLink::kChunkSize> stale{};
    for (int i = 0; i < kMaxReads; ++i)
        if (m_commands.link().readQueued(stale.data(), stale.size()) == 0)
            break;
}

std::vector<std::string> ErrorMemory::showErrors(TimerSwitch& timer, const ErrorTexts& texts,
                                                 const std::string& noErrorsText) {
    // Polling resumes only if it ran before: a read without a controller must not start it.
    const bool wasReady = m_state.linkReady;
    m_state.linkReady = false;
    timer.setTimerEnabled(false);
    SerialLink& link = m_commands.link();
    link.pause(kSettleMs);
    link.drain();
    discardQueued();
    for (int half = 0; half < 2; ++half)
        (void)m_commands.readErrors(half, m_block.half(half));
    std::vector<std::string> rows = errorListRows(m_block, texts, noErrorsText);
    timer.setTimerEnabled(true);
    m_state.linkReady = wasReady;
    return rows;
}

void ErrorMemory::eraseErrors() {
    m_commands.simple(Command::CmdEraseErrors);
    m_commands.simple(Command::CmdModeAuto);
}

}  // namespace kaldor
