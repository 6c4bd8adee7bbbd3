// The controller's side of the serial protocol: command codes, reply layouts and the checksum.
// Written from the wire format alone; the program's own link code is deliberately not used, so
// that the two sides check each other.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kaldor::sim {

inline constexpr std::uint8_t kChecksumKey = 0xAA;
inline constexpr std::uint8_t kTrailer = 0xF2;
inline constexpr std::size_t kCommandLength = 6;

// Command codes as the PC sends them in byte 0.
inline constexpr std::uint8_t kCmdIdentify = 0x01;
inline constexpr std::uint8_t kCmdConfirm = 0x02;
inline constexpr std::uint8_t kCmdRead = 0xAA;  // b1 selects page, error memory or live record
inline constexpr std::uint8_t kCmdCommit = 0x45;
inline constexpr std::uint8_t kCmdModePropane = 0x51;
inline constexpr std::uint8_t kCmdModeAuto = 0x52;
inline constexpr std::uint8_t kCmdModeDiesel = 0x53;
inline constexpr std::uint8_t kCmdEraseDiesel = 0x5B;
inline constexpr std::uint8_t kCmdEraseDieselGas = 0x5C;
inline constexpr std::uint8_t kCmdDeleteDiesel = 0x5D;
inline constexpr std::uint8_t kCmdDeleteGas = 0x5E;
inline constexpr std::uint8_t kCmdEraseErrors = 0x61;
// Byte writes use 0xC1..0xD0 and word writes 0xD1..0xE0: the low nibble carries address bits 8-11.
inline constexpr std::uint8_t kCmdWriteByteFirst = 0xC1;
inline constexpr std::uint8_t kCmdWriteWordFirst = 0xD1;
inline constexpr unsigned kWriteCodeCount = 16;
inline constexpr std::uint8_t kCmdConverterDataLow = 0xE1;
inline constexpr std::uint8_t kCmdConverterDataHigh = 0xE2;
inline constexpr std::uint8_t kCmdConverterAddress = 0xEA;

// Sub-codes in b1 of kCmdRead, echoed in byte 1 of the reply.
inline constexpr std::uint8_t kReadPage = 0x01;
inline constexpr std::uint8_t kReadErrors = 0x02;
inline constexpr std::uint8_t kReadLive = 0x05;

inline constexpr std::uint8_t kIdentHeader = 0x49;    // 'I'
inline constexpr std::uint8_t kConfirmHeader = 0x43;  // 'C'
inline constexpr std::uint8_t kBlockHeader = 0x48;    // 'H'
inline constexpr std::uint8_t kLiveHeader = 0x56;     // 'V'

inline constexpr std::size_t kIdentReplyLength = 5;
inline constexpr std::size_t kConfirmReplyLength = 4;
inline constexpr std::size_t kBlockPayload = 128;
inline constexpr std::size_t kBlockReplyLength = kBlockPayload + 4;
inline constexpr std::size_t kLiveWords = 96;
inline constexpr std::size_t kLivePayload = kLiveWords * 2;
inline constexpr std::size_t kLiveReplyLength = kLivePayload + 4;

inline constexpr std::size_t kMemorySize = 4096;
inline constexpr std::size_t kImageSize = 768;
inline constexpr std::size_t kErrorBlockSize = 256;
inline constexpr std::size_t kErrorSlots = 32;
inline constexpr std::size_t kConverterSize = 1024;
inline constexpr std::size_t kCalibrationWords = 320;

using CommandFrame = std::array<std::uint8_t, kCommandLength>;

[[nodiscard]] constexpr std::uint8_t commandChecksum(std::uint8_t cmd, std::uint8_t b1,
                                                     std::uint8_t b2, std::uint8_t b3) {
    return static_cast<std::uint8_t>(cmd + b1 + b2 + b3 + kChecksumKey);
}

[[nodiscard]] constexpr CommandFrame makeCommand(std::uint8_t cmd, std::uint8_t b1 = 0,
                                                 std::uint8_t b2 = 0, std::uint8_t b3 = 0) {
    return {cmd, b1, b2, b3, commandChecksum(cmd, b1, b2, b3), kTrailer};
}

[[nodiscard]] constexpr bool isValidCommand(const CommandFrame& f) {
    return f[5] == kTrailer && f[4] == commandChecksum(f[0], f[1], f[2], f[3]);
}

[[nodiscard]] constexpr bool isByteWrite(std::uint8_t cmd) {
    return cmd >= kCmdWriteByteFirst && cmd < kCmdWriteByteFirst + kWriteCodeCount;
}

[[nodiscard]] constexpr bool isWordWrite(std::uint8_t cmd) {
    return cmd >= kCmdWriteWordFirst && cmd < kCmdWriteWordFirst + kWriteCodeCount;
}

// Block and live replies carry (0xAA + sum of payload) mod 256 after the payload.
[[nodiscard]] std::uint8_t payloadChecksum(const std::uint8_t* payload, std::size_t count);

// Builds a block or live reply: header, sub-code, the block sent highest offset first, checksum,
// trailer. `block` holds the data in memory order; the reversal happens here.
[[nodiscard]] std::vector<std::uint8_t> makeBlockReply(std::uint8_t header, std::uint8_t subCode,
                                                       const std::uint8_t* block,
                                                       std::size_t count);

}  // namespace kaldor::sim
