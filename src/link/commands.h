#pragma once
// The controller's command set: every request with its argument bytes and the pauses and drain
// that surround it. One command and its reply complete before the next command is built.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "link/frame.h"
#include "link/serial_link.h"

namespace kaldor {

enum class Command {
    CmdIdentify,
    CmdConfirm,
    CmdReadLive,
    CmdReadPage,
    CmdReadErrors,
    CmdCommit,
    CmdWriteByte,
    CmdWriteWord,
    CmdConverterAddress,
    CmdConverterData,
    CmdEraseDiesel,
    CmdEraseDieselGas,
    CmdDeleteDiesel,
    CmdDeleteGas,
    CmdModePropane,
    CmdModeAuto,
    CmdModeDiesel,
    CmdEraseErrors,
};

struct CommandTiming {
    Command command;
    std::string_view name;
    std::uint8_t code;  // base command byte (some commands add address bits to it)
    int pauseBeforeMs;  // pause before the drain
    bool drainBefore;
    int pauseAfterMs;
    std::size_t replyLength;  // 0: no reply expected
};

inline constexpr std::array<CommandTiming, 18> kCommandTable{{
    {Command::CmdIdentify, "CmdIdentify", 0x01, 0, true, 0, replyLayout(ReplyKind::Ident).length},
    {Command::CmdConfirm, "CmdConfirm", 0x02, 0, true, 0, replyLayout(ReplyKind::Confirm).length},
    {Command::CmdReadLive, "CmdReadLive", 0xAA, 0, true, 0, replyLayout(ReplyKind::Live).length},
    {Command::CmdReadPage, "CmdReadPage", 0xAA, 100, true, 150,
     replyLayout(ReplyKind::Block).length},
    {Command::CmdReadErrors, "CmdReadErrors", 0xAA, 100, true, 150,
     replyLayout(ReplyKind::Block).length},
    {Command::CmdCommit, "CmdCommit", 0x45, 0, true, 35, 0},
    {Command::CmdWriteByte, "CmdWriteByte", 0xC1, 2, true, 4, 0},
    {Command::CmdWriteWord, "CmdWriteWord", 0xD1, 2, true, 4, 0},
    {Command::CmdConverterAddress, "CmdConverterAddress", 0xEA, 0, false, 10, 0},
    {Command::CmdConverterData, "CmdConverterData", 0xE1, 0, false, 20, 0},
    {Command::CmdEraseDiesel, "CmdEraseDiesel", 0x5B, 2, true, 4, 0},
    {Command::CmdEraseDieselGas, "CmdEraseDieselGas", 0x5C, 2, true, 4, 0},
    {Command::CmdDeleteDiesel, "CmdDeleteDiesel", 0x5D, 5, true, 5, 0},
    {Command::CmdDeleteGas, "CmdDeleteGas", 0x5E, 5, true, 5, 0},
    {Command::CmdModePropane, "CmdModePropane", 0x51, 0, true, 4, 0},
    {Command::CmdModeAuto, "CmdModeAuto", 0x52, 0, true, 4, 0},
    {Command::CmdModeDiesel, "CmdModeDiesel", 0x53, 0, true, 4, 0},
    {Command::CmdEraseErrors, "CmdEraseErrors", 0x61, 0, true, 4, 0},
}};

[[nodiscard]] const CommandTiming& commandTiming(Command command);

// The command frames of the table; a 16-bit argument goes high byte in b2, low byte in b3.
[[nodiscard]] CommandFrame frameFor(Command command, std::uint8_t b1 = 0, std::uint8_t b2 = 0,
                                    std::uint8_t b3 = 0);
[[nodiscard]] CommandFrame writeWordFrame(std::size_t wordIndex, std::uint16_t value);
[[nodiscard]] CommandFrame writeByteFrame(std::size_t byteOffset, std::uint8_t value);
[[nodiscard]] CommandFrame converterDataFrame(std::size_t address, std::uint16_t value);

class CommandSet {
public:
    static constexpr std::size_t kBlockSize = kBlockPayloadLength;
    static constexpr std::size_t kLiveSize = kLivePayloadLength;

    explicit CommandSet(SerialLink& link) : m_link(link) {}

    // Pause, drain, send and pause as the table says; a failed send is not reported.
    void send(Command command, const CommandFrame& frame);

    void identify();
    void confirm();
    // Reads the 128 bytes at `address` of the parameter memory into `destination`; a rejected
    // reply leaves the destination untouched.
    [[nodiscard]] bool readPage(std::uint16_t address, std::uint8_t* destination);
    // Half 0 (bytes 0-127) or 1 (bytes 128-255) of the error memory.
    [[nodiscard]] bool readErrors(int half, std::uint8_t* destination);
    void requestLive();
    // Collects the live reply requested one tick earlier.
    [[nodiscard]] bool collectLive(std::uint8_t* destination);
    void commit(std::uint16_t value);
    void writeByte(std::size_t byteOffset, std::uint8_t value);
    void writeWord(std::size_t wordIndex, std::uint16_t value);
    void converterAddress(std::uint16_t address);
    void converterData(std::size_t address, std::uint16_t value);
    void simple(Command command);  // the argument-less commands (modes, erase, delete)

    [[nodiscard]] SerialLink& link() { return m_link; }

private:
    [[nodiscard]] bool readBlock(Command command, const CommandFrame& frame, std::uint8_t subcode,
                                 std::uint8_t* destination);

    SerialLink& m_link;
    CommandFrame m_transmit{};  // the single transmit buffer
};

}  // namespace kaldor
