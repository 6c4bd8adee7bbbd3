// The controller itself, without any I/O: memory, error memory, converter memory, fuel mode and
// the engine it runs, answering one command frame at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine_model.h"
#include "factory_image.h"
#include "protocol.h"

namespace kaldor::sim {

struct CoreSettings {
    std::uint8_t hardwareRevision = 2;
    std::uint8_t softwareRevision = 11;
    std::uint8_t confirmStatus = 0;
    ParameterImage image = factoryImage();
    FuelMode mode = FuelMode::Auto;
    std::vector<std::uint16_t> errors;  // stored at power-up, oldest first
    double errorEverySeconds = 0.0;     // 0: no new errors
};

class ControllerCore {
public:
    explicit ControllerCore(const CoreSettings& settings);

    // Runs the engine and the error source up to simulated time `seconds`.
    void advanceTo(double seconds);

    // Acts on one valid command frame and returns the reply; commands without a reply give an
    // empty vector.
    [[nodiscard]] std::vector<std::uint8_t> handle(const CommandFrame& frame);
    // Counts a valid frame without acting on it: a write lost to an injected fault.
    void ignore(const CommandFrame& frame) { ++m_commandCounts[frame[0]]; }

    // Bytes outside 0..4095 read as 0.
    [[nodiscard]] std::uint8_t readByte(std::size_t address) const;
    // Word k is bytes 2k (low) and 2k+1 (high).
    [[nodiscard]] std::uint16_t readWord(std::size_t index) const;
    [[nodiscard]] const std::array<std::uint8_t, kMemorySize>& memory() const { return m_memory; }
    [[nodiscard]] const std::array<std::uint8_t, kConverterSize>& converterMemory() const {
        return m_converter;
    }
    [[nodiscard]] std::uint16_t converterAddress() const { return m_converterAddress; }

    [[nodiscard]] const std::vector<std::uint16_t>& errorCodes() const { return m_errors; }
    [[nodiscard]] std::uint16_t errorCounter() const { return m_errorCounter; }
    // Stores a new code (the oldest goes when all 32 places are taken) and counts the change.
    void addError(std::uint16_t code);
    // The 256-byte error block as the PC stores it: codes in words 0-31, count in word 32.
    [[nodiscard]] std::array<std::uint8_t, kErrorBlockSize> errorBlock() const;

    [[nodiscard]] FuelMode reportedMode() const { return m_engine.reportedMode(); }
    [[nodiscard]] FuelMode selectedMode() const { return m_engine.selectedMode(); }
    [[nodiscard]] const EngineModel& engine() const { return m_engine; }

    // How often each command code arrived in a valid frame (erase, delete, commit and the rest).
    [[nodiscard]] std::size_t commandCount(std::uint8_t cmd) const { return m_commandCounts[cmd]; }
    [[nodiscard]] std::uint16_t lastCommitValue() const { return m_lastCommitValue; }

    // The record the next live reply would carry, calibration slice included.
    [[nodiscard]] LiveRecord liveRecord() const;

private:
    [[nodiscard]] std::vector<std::uint8_t> read(const CommandFrame& frame);
    [[nodiscard]] std::vector<std::uint8_t> liveReply();
    void writeMemory(std::size_t address, std::uint8_t value);

    CoreSettings m_settings;
    std::array<std::uint8_t, kMemorySize> m_memory{};
    std::array<std::uint8_t, kConverterSize> m_converter{};
    std::uint16_t m_converterAddress = 0;
    std::vector<std::uint16_t> m_errors;
    std::uint16_t m_errorCounter = 0;
    double m_nextErrorTime = 0.0;
    std::size_t m_nextErrorKind = 0;
    std::size_t m_slicePosition = 0;
    std::array<std::size_t, 256> m_commandCounts{};
    std::uint16_t m_lastCommitValue = 0;
    EngineModel m_engine;
};

}  // namespace kaldor::sim
