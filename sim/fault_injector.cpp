#include "fault_injector.h"

namespace kaldor::sim {
namespace {

constexpr std::uint8_t kStrayByte = 0x55;

bool hits(unsigned every, std::size_t n) {
    return every != 0 && n % every == 0;
}

}  // namespace

bool FaultInjector::ignoresWrite(const CommandFrame& frame) {
    if (!isByteWrite(frame[0]) && !isWordWrite(frame[0])) {
        return false;
    }
    return hits(m_options.ignoreWriteEvery, ++m_writeCount);
}

bool FaultInjector::silentAt(std::size_t frameCount) const {
    return m_options.silentAfter && frameCount > *m_options.silentAfter;
}

bool FaultInjector::hangsUpAt(std::size_t frameCount) const {
    return m_options.hangUpAfter && frameCount >= *m_options.hangUpAfter;
}

bool FaultInjector::hangsUpAfterWrites() const {
    return m_options.hangUpAfterWrites && m_writeCount >= *m_options.hangUpAfterWrites;
}

bool FaultInjector::spoil(std::vector<std::uint8_t>& reply) {
    const FaultOptions& f = m_options;
    const bool block = reply[0] == kBlockHeader;
    const std::size_t number = ++m_replyCount;
    const std::size_t blockNumber = block ? ++m_blockReplyCount : 0;
    if (hits(f.dropEvery, number)) {
        return false;
    }
    if (hits(f.corruptEvery, number)) {
        const bool checksummed = reply[0] == kBlockHeader || reply[0] == kLiveHeader;
        std::uint8_t& target = checksummed ? reply[reply.size() - 2] : reply.back();
        target = static_cast<std::uint8_t>(target + 1);
    }
    if (block && hits(f.wrongSubCodeEvery, blockNumber)) {
        reply[1] = reply[1] == kReadPage ? kReadErrors : kReadPage;
    }
    if (hits(f.strayEvery, number)) {
        reply.insert(reply.begin(), kStrayByte);
    }
    return true;
}

}  // namespace kaldor::sim
