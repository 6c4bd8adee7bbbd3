#pragma once
// Frame codec: six-byte command frames and the four fixed-length reply kinds.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kaldor {

constexpr std::uint8_t FrameChecksumKey = 0xAA;
constexpr std::uint8_t kFrameEnd = 0xF2;

using CommandFrame = std::array<std::uint8_t, 6>;

[[nodiscard]] constexpr std::uint8_t frameChecksum(std::uint8_t cmd, std::uint8_t b1,
                                                   std::uint8_t b2, std::uint8_t b3) {
    return static_cast<std::uint8_t>((cmd + b1 + b2 + b3 + FrameChecksumKey) & 0xFF);
}

[[nodiscard]] constexpr CommandFrame buildFrame(std::uint8_t cmd, std::uint8_t b1, std::uint8_t b2,
                                                std::uint8_t b3) {
    return {cmd, b1, b2, b3, frameChecksum(cmd, b1, b2, b3), kFrameEnd};
}

enum class ReplyKind { Ident, Confirm, Block, Live };

// A parameter or error memory block and a live record as their replies carry them.
inline constexpr std::size_t kBlockPayloadLength = 128;
inline constexpr std::size_t kLivePayloadLength = 192;
// Around a payload: the header and the subcode before it, the checksum and the frame end after.
inline constexpr std::size_t kPayloadFraming = 4;

struct ReplyLayout {
    std::uint8_t header;
    std::size_t length;
    std::size_t payloadLength;  // checksummed payload from offset 2; 0 = no checksum
};

[[nodiscard]] constexpr ReplyLayout replyLayout(ReplyKind kind) {
    switch (kind) {
        case ReplyKind::Ident:
            return {0x49, 5, 0};
        case ReplyKind::Confirm:
            return {0x43, 4, 0};
        case ReplyKind::Block:
            return {0x48, kBlockPayloadLength + kPayloadFraming, kBlockPayloadLength};
        case ReplyKind::Live:
            return {0x56, kLivePayloadLength + kPayloadFraming, kLivePayloadLength};
    }
    return {0, 0, 0};
}

constexpr std::uint8_t kSubcodeParameters = 0x01;
constexpr std::uint8_t kSubcodeErrors = 0x02;
constexpr std::uint8_t kSubcodeLive = 0x05;

enum class ReplyStatus {
    Ok,
    WindowFailed,
    BadHeader,
    BadSubcode,
    BadTrailer,
    BadChecksum,
    TooShort
};

// Checks a reply collected from offset 0 of `buffer`. `subcode` is the expected byte 1 of a
// block reply (a live reply always expects 0x05; the other kinds ignore it).
[[nodiscard]] ReplyStatus validateReply(ReplyKind kind, const std::uint8_t* buffer,
                                        std::size_t size, bool windowOk, std::uint8_t subcode = 0);

// Reply checksum: 0xAA plus every payload byte, modulo 256.
[[nodiscard]] std::uint8_t payloadChecksum(const std::uint8_t* payload, std::size_t n);

// The payload travels highest offset first: wire byte k belongs at offset n-1-k.
void reversePayload(const std::uint8_t* wire, std::size_t n, std::uint8_t* destination);

}  // namespace kaldor
