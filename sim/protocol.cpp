#include "protocol.h"

namespace kaldor::sim {

std::uint8_t payloadChecksum(const std::uint8_t* payload, std::size_t count) {
    std::uint8_t sum = kChecksumKey;
    for (std::size_t i = 0; i < count; ++i) {
        sum = static_cast<std::uint8_t>(sum + payload[i]);
    }
    return sum;
}

std::vector<std::uint8_t> makeBlockReply(std::uint8_t header, std::uint8_t subCode,
                                         const std::uint8_t* block, std::size_t count) {
    std::vector<std::uint8_t> reply;
    reply.reserve(count + 4);
    reply.push_back(header);
    reply.push_back(subCode);
    for (std::size_t k = 0; k < count; ++k) {
        reply.push_back(block[count - 1 - k]);
    }
    reply.push_back(payloadChecksum(reply.data() + 2, count));
    reply.push_back(kTrailer);
    return reply;
}

}  // namespace kaldor::sim
