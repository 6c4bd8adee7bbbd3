#include "controller_core.h"

#include <algorithm>

namespace kaldor::sim {
namespace {

// Memory beyond the parameter image reads as erased EEPROM.
constexpr std::uint8_t kErasedByte = 0xFF;

// The codes the error source raises in turn: pressure, rpm, temperature, supply and injector
// faults, the kinds a kit in service records.
constexpr std::uint16_t kRaisedErrors[] = {7, 15, 1, 8, 3, 21, 12, 29, 16, 9};

constexpr std::size_t kCountWord = 32;
constexpr std::size_t kSliceWords = 6;
constexpr std::size_t kSliceWord = 12;
constexpr std::size_t kSlicePositionWord = 18;
constexpr std::size_t kErrorCounterWord = 50;
constexpr std::size_t kDieselTimeWord = 6;
constexpr std::size_t kGasTimeWord = 8;

std::uint32_t imageLong(const ParameterImage& image, std::size_t wordIndex) {
    return static_cast<std::uint32_t>(loadWord(image, wordIndex)) |
           (static_cast<std::uint32_t>(loadWord(image, wordIndex + 1)) << 16);
}

}  // namespace

ControllerCore::ControllerCore(const CoreSettings& settings)
    : m_settings(settings),
      m_engine(imageLong(settings.image, kDieselTimeWord),
               imageLong(settings.image, kGasTimeWord)) {
    std::fill(m_memory.begin(), m_memory.end(), kErasedByte);
    std::copy(settings.image.begin(), settings.image.end(), m_memory.begin());
    for (const std::uint16_t code : settings.errors) {
        addError(code);
    }
    m_engine.selectMode(settings.mode);
    m_nextErrorTime = settings.errorEverySeconds;
}

void ControllerCore::advanceTo(double seconds) {
    m_engine.advanceTo(seconds, settingsFromImage(m_memory.data(), kImageSize));
    const double every = m_settings.errorEverySeconds;
    if (!(every > 0.0)) {
        return;
    }
    // More than a full memory of new errors at once would only push each other out.
    for (std::size_t added = 0; seconds >= m_nextErrorTime && added < kErrorSlots; ++added) {
        addError(kRaisedErrors[m_nextErrorKind]);
        m_nextErrorKind = (m_nextErrorKind + 1) % std::size(kRaisedErrors);
        m_nextErrorTime += every;
    }
    if (seconds >= m_nextErrorTime) {
        m_nextErrorTime = seconds + every;
    }
}

std::uint8_t ControllerCore::readByte(std::size_t address) const {
    return address < kMemorySize ? m_memory[address] : 0;
}

std::uint16_t ControllerCore::readWord(std::size_t index) const {
    if (index >= kMemorySize / 2) {
        return 0;
    }
    return static_cast<std::uint16_t>(readByte(2 * index) | (readByte(2 * index + 1) << 8));
}

void ControllerCore::writeMemory(std::size_t address, std::uint8_t value) {
    if (address < kMemorySize) {
        m_memory[address] = value;
    }
}

void ControllerCore::addError(std::uint16_t code) {
    if (m_errors.size() >= kErrorSlots) {
        m_errors.erase(m_errors.begin());
    }
    m_errors.push_back(code);
    ++m_errorCounter;
}

std::array<std::uint8_t, kErrorBlockSize> ControllerCore::errorBlock() const {
    std::array<std::uint8_t, kErrorBlockSize> block{};
    for (std::size_t i = 0; i < m_errors.size() && i < kErrorSlots; ++i) {
        block[2 * i] = static_cast<std::uint8_t>(m_errors[i] & 0xFF);
        block[2 * i + 1] = static_cast<std::uint8_t>(m_errors[i] >> 8);
    }
    block[2 * kCountWord] = static_cast<std::uint8_t>(m_errors.size());
    return block;
}

LiveRecord ControllerCore::liveRecord() const {
    LiveRecord record = m_engine.record(settingsFromImage(m_memory.data(), kImageSize));
    const CalibrationData& calibration = m_engine.calibration();
    for (std::size_t i = 0; i < kSliceWords; ++i) {
        const std::size_t byte = 2 * (m_slicePosition + i);
        record[kSliceWord + i] =
            static_cast<std::uint16_t>(calibration[byte] | (calibration[byte + 1] << 8));
    }
    record[kSlicePositionWord] = static_cast<std::uint16_t>(m_slicePosition + kSliceWords);
    record[kErrorCounterWord] = m_errorCounter;
    return record;
}

std::vector<std::uint8_t> ControllerCore::liveReply() {
    const LiveRecord record = liveRecord();
    std::array<std::uint8_t, kLivePayload> bytes{};
    for (std::size_t i = 0; i < kLiveWords; ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(record[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(record[i] >> 8);
    }
    // Slices step by six words; the last one is pulled back so that it ends at word 319.
    if (m_slicePosition + kSliceWords >= kCalibrationWords) {
        m_slicePosition = 0;
    } else {
        m_slicePosition = std::min(m_slicePosition + kSliceWords, kCalibrationWords - kSliceWords);
    }
    return makeBlockReply(kLiveHeader, kReadLive, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> ControllerCore::read(const CommandFrame& frame) {
    switch (frame[1]) {
        case kReadPage: {
            const std::size_t address = (static_cast<std::size_t>(frame[2]) << 8) | frame[3];
            std::array<std::uint8_t, kBlockPayload> page{};
            for (std::size_t i = 0; i < page.size(); ++i) {
                page[i] = readByte(address + i);
            }
            return makeBlockReply(kBlockHeader, kReadPage, page.data(), page.size());
        }
        case kReadErrors: {
            // b3 picks the half: 0x00 for bytes 0-127, 0x80 for bytes 128-255.
            const auto block = errorBlock();
            std::array<std::uint8_t, kBlockPayload> half{};
            for (std::size_t i = 0; i < half.size(); ++i) {
                const std::size_t at = frame[3] + i;
                half[i] = at < block.size() ? block[at] : 0;
            }
            return makeBlockReply(kBlockHeader, kReadErrors, half.data(), half.size());
        }
        case kReadLive:
            return liveReply();
        default:
            return {};
    }
}

std::vector<std::uint8_t> ControllerCore::handle(const CommandFrame& frame) {
    const std::uint8_t cmd = frame[0];
    ++m_commandCounts[cmd];
    const std::uint16_t argument = static_cast<std::uint16_t>((frame[2] << 8) | frame[3]);
    if (isByteWrite(cmd)) {
        writeMemory((static_cast<std::size_t>(cmd - kCmdWriteByteFirst) << 8) | frame[1], frame[3]);
        return {};
    }
    if (isWordWrite(cmd)) {
        const std::size_t index =
            (static_cast<std::size_t>(cmd - kCmdWriteWordFirst) << 8) | frame[1];
        writeMemory(2 * index, frame[3]);
        writeMemory(2 * index + 1, frame[2]);
        return {};
    }
    switch (cmd) {
        case kCmdIdentify:
            return {kIdentHeader, m_settings.hardwareRevision, m_settings.softwareRevision, 0x00,
                    kTrailer};
        case kCmdConfirm:
            return {kConfirmHeader, m_settings.confirmStatus, 0x00, kTrailer};
        case kCmdRead:
            return read(frame);
        case kCmdCommit:
            m_lastCommitValue = argument;
            return {};
        case kCmdModePropane:
            m_engine.selectMode(FuelMode::Propane);
            return {};
        case kCmdModeAuto:
            m_engine.selectMode(FuelMode::Auto);
            return {};
        case kCmdModeDiesel:
            m_engine.selectMode(FuelMode::Diesel);
            return {};
        case kCmdEraseErrors:
            m_errors.clear();
            ++m_errorCounter;
            return {};
        case kCmdDeleteDiesel:
            m_engine.deleteDieselData();
            return {};
        case kCmdDeleteGas:
            m_engine.deleteGasData();
            return {};
        case kCmdConverterAddress:
            m_converterAddress = argument;
            return {};
        case kCmdConverterDataLow:
        case kCmdConverterDataHigh: {
            // The frame carries its own 9-bit address; the preceding address frame names the
            // same word, so either would do.
            const std::size_t word = (cmd == kCmdConverterDataHigh ? 256u : 0u) | frame[1];
            m_converter[2 * word] = frame[2];
            m_converter[2 * word + 1] = frame[3];
            return {};
        }
        default:
            return {};  // erase commands and unknown codes are only counted
    }
}

}  // namespace kaldor::sim
