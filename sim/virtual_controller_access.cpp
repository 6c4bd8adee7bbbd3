// What tests and the program read from the controller, and add to it, while it serves: every
// accessor takes the lock, so any thread may call it.
#include "virtual_controller.h"

#include <algorithm>

namespace kaldor::sim {

std::string VirtualController::deviceName() const {
    return m_device;
}

bool VirtualController::hungUp() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hungUp;
}

std::uint8_t VirtualController::readByte(std::size_t address) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.readByte(address);
}

std::uint16_t VirtualController::readWord(std::size_t index) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.readWord(index);
}

ParameterImage VirtualController::image() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    ParameterImage image{};
    std::copy(m_core.memory().begin(), m_core.memory().begin() + kImageSize, image.begin());
    return image;
}

std::array<std::uint8_t, kConverterSize> VirtualController::converterMemory() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.converterMemory();
}

std::vector<std::uint16_t> VirtualController::errorCodes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.errorCodes();
}

FuelMode VirtualController::fuelMode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.reportedMode();
}

FuelMode VirtualController::selectedMode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.selectedMode();
}

std::size_t VirtualController::commandCount(std::uint8_t cmd) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.commandCount(cmd);
}

LiveRecord VirtualController::liveRecord() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_core.liveRecord();
}

void VirtualController::addError(std::uint16_t code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_core.addError(code);
}

std::vector<ReceivedFrame> VirtualController::receivedFrames() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_frames.begin(), m_frames.end()};
}

std::vector<LiveRecord> VirtualController::sentLiveRecords() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_sentLive.begin(), m_sentLive.end()};
}

std::size_t VirtualController::frameCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frameCount;
}

bool VirtualController::waitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_frameArrived.wait_for(lock, timeout, [&] {
        return m_frameCount >= count || m_hungUp;
    }) && m_frameCount >= count;
}

}  // namespace kaldor::sim
