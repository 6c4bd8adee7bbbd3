#include "link/frame.h"

namespace kaldor {

std::uint8_t payloadChecksum(const std::uint8_t* payload, std::size_t n) {
    unsigned sum = FrameChecksumKey;
    for (std::size_t i = 0; i < n; ++i)
        sum += payload[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void reversePayload(const std::uint8_t* wire, std::size_t n, std::uint8_t* destination) {
    for (std::size_t j = 0; j < n; ++j)
        destination[j] = wire[n - 1 - j];
}

ReplyStatus validateReply(ReplyKind kind, const std::uint8_t* buffer, std::size_t size,
                          bool windowOk, std::uint8_t subcode) {
    const ReplyLayout layout = replyLayout(kind);
    if (!windowOk)
        return ReplyStatus::WindowFailed;
    if (size < layout.length)
        return ReplyStatus::TooShort;
    if (buffer[0] != layout.header)
        return ReplyStatus::BadHeader;
    if (kind == ReplyKind::Block && buffer[1] != subcode)
        return ReplyStatus::BadSubcode;
    if (kind == ReplyKind::Live && buffer[1] != kSubcodeLive)
        return ReplyStatus::BadSubcode;
    if (buffer[layout.length - 1] != kFrameEnd)
        return ReplyStatus::BadTrailer;
    if (layout.payloadLength > 0 &&
        buffer[layout.length - 2] != payloadChecksum(buffer + 2, layout.payloadLength))
        return ReplyStatus::BadChecksum;
    return ReplyStatus::Ok;
}

}  // namespace kaldor
