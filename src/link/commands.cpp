#include "link/commands.h"

namespace kaldor {
namespace {
std::uint8_t hi(unsigned v) {
    return static_cast<std::uint8_t>((v >> 8) & 0xFF);
}
std::uint8_t lo(unsigned v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
}  // namespace

const CommandTiming& commandTiming(Command command) {
    return kCommandTable[static_cast<std::size_t>(command)];
}

CommandFrame frameFor(Command command, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    return buildFrame(commandTiming(command).code, b1, b2, b3);
}

CommandFrame writeWordFrame(std::size_t wordIndex, std::uint16_t value) {
    const auto cmd = static_cast<std::uint8_t>(0xD1 + ((wordIndex >> 8) & 0x0F));
    return buildFrame(cmd, lo(static_cast<unsigned>(wordIndex)), hi(value), lo(value));
}

CommandFrame writeByteFrame(std::size_t byteOffset, std::uint8_t value) {
    const auto cmd = static_cast<std::uint8_t>(0xC1 + ((byteOffset >> 8) & 0x0F));
    return buildFrame(cmd, lo(static_cast<unsigned>(byteOffset)), 0, value);
}

CommandFrame converterDataFrame(std::size_t address, std::uint16_t value) {
    // The command byte carries the ninth address bit.
    const std::uint8_t cmd = address < 256 ? 0xE1 : 0xE2;
    return buildFrame(cmd, lo(static_cast<unsigned>(address)), hi(value), lo(value));
}

bool CommandSet::send(Command command, const CommandFrame& frame) {
    static_assert(kCommandTable.size() == static_cast<std::size_t>(Command::CmdEraseErrors) + 1);
    const CommandTiming& t = commandTiming(command);
    m_transmit = frame;
    if (t.pauseBeforeMs > 0)
        m_link.pause(t.pauseBeforeMs);
    if (t.drainBefore)
        m_link.drain();
    if (!m_link.send(m_transmit.data(), m_transmit.size())) {
        m_lastRefusedWasRequest = command == Command::CmdReadLive ||
                                  command == Command::CmdReadPage ||
                                  command == Command::CmdReadErrors;
        return false;
    }
    ++m_framesTaken;
    if (t.pauseAfterMs > 0)
        m_link.pause(t.pauseAfterMs);
    return true;
}

void CommandSet::identify() {
    // The reply window tells whether anything answered.
    (void)send(Command::CmdIdentify, frameFor(Command::CmdIdentify));
}

void CommandSet::confirm() {
    (void)send(Command::CmdConfirm, frameFor(Command::CmdConfirm));
}

bool CommandSet::readBlock(Command command, const CommandFrame& frame, std::uint8_t subcode,
                           std::uint8_t* destination) {
    if (!send(command, frame))
        return false;
    const std::size_t length = commandTiming(command).replyLength;
    const bool window = m_link.receiveWindow(length);
    const auto& buffer = m_link.replyBuffer();
    if (validateReply(ReplyKind::Block, buffer.data(), buffer.size(), window, subcode) !=
        ReplyStatus::Ok)
        return false;
    reversePayload(buffer.data() + 2, kBlockSize, destination);
    return true;
}

bool CommandSet::readPage(std::uint16_t address, std::uint8_t* destination) {
    return readBlock(Command::CmdReadPage,
                     frameFor(Command::CmdReadPage, kSubcodeParameters, hi(address), lo(address)),
                     kSubcodeParameters, destination);
}

bool CommandSet::readErrors(int half, std::uint8_t* destination) {
    const std::uint8_t at = half == 0 ? 0x00 : 0x80;
    return readBlock(Command::CmdReadErrors,
                     frameFor(Command::CmdReadErrors, kSubcodeErrors, at, at), kSubcodeErrors,
                     destination);
}

void CommandSet::requestLive() {
    (void)send(Command::CmdReadLive, frameFor(Command::CmdReadLive, kSubcodeLive));
}

bool CommandSet::collectLive(std::uint8_t* destination) {
    const bool window = m_link.receiveWindow(commandTiming(Command::CmdReadLive).replyLength);
    const auto& buffer = m_link.replyBuffer();
    if (validateReply(ReplyKind::Live, buffer.data(), buffer.size(), window) != ReplyStatus::Ok)
        return false;
    reversePayload(buffer.data() + 2, kLiveSize, destination);
    return true;
}

bool CommandSet::commit(std::uint16_t value) {
    return send(Command::CmdCommit, frameFor(Command::CmdCommit, 0, hi(value), lo(value)));
}

bool CommandSet::writeByte(std::size_t byteOffset, std::uint8_t value) {
    return send(Command::CmdWriteByte, writeByteFrame(byteOffset, value));
}

bool CommandSet::writeWord(std::size_t wordIndex, std::uint16_t value) {
    return send(Command::CmdWriteWord, writeWordFrame(wordIndex, value));
}

bool CommandSet::converterAddress(std::uint16_t address) {
    return send(Command::CmdConverterAddress,
                frameFor(Command::CmdConverterAddress, 0, hi(address), lo(address)));
}

bool CommandSet::converterData(std::size_t address, std::uint16_t value) {
    return send(Command::CmdConverterData, converterDataFrame(address, value));
}

void CommandSet::simple(Command command) {
    (void)send(command, frameFor(command));
}

}  // namespace kaldor
