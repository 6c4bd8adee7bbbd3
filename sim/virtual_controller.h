// A virtual controller on a pseudo-terminal: the program under test opens the slave device as
// its serial port and talks to it exactly as to the real unit.
//
//   kaldor::sim::VirtualController::Options options;
//   options.faults.dropEvery = 3;
//   kaldor::sim::VirtualController controller(options);
//   const std::string device = controller.start();   // e.g. "/dev/pts/7"
//   ... point the program at `device`, drive it ...
//   ASSERT_TRUE(controller.waitForFrames(12, std::chrono::seconds(10)));
//   EXPECT_EQ(controller.readWord(184), 1500);
//   controller.stop();                                // also done by the destructor
//
// One background thread serves the pty; every accessor may be called from any other thread.
// The controller keeps its own end of the slave open, so the program may close and reopen the
// port at will; like a real serial port, whatever the program left unread when it closed the
// port is gone when it opens it again.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "controller_core.h"
#include "fault_injector.h"
#include "frame_receiver.h"

namespace kaldor::sim {

struct ReceivedFrame {
    std::int64_t timeMs = 0;  // since start()
    CommandFrame bytes{};
};

class VirtualController {
public:
    struct Options {
        std::uint8_t hardwareRevision = 2;
        std::uint8_t softwareRevision = 11;
        std::uint8_t confirmStatus = 0;
        std::optional<ParameterImage> image;        // default: factoryImage()
        std::optional<std::uint32_t> serialNumber;  // overrides the image's words 242-243
        std::optional<std::uint16_t> pin;           // packed (see packPin); overrides word 374
        FuelMode mode = FuelMode::Auto;
        std::vector<std::uint16_t> errors;  // error codes stored at power-up
        double errorEverySeconds = 0.0;     // simulated seconds between new errors; 0: none
        double timeScale = 1.0;             // simulated seconds per real second
        FaultOptions faults;
        std::string logPath;   // one line per received frame: "<ms> AA 05 00 00 59 F2"
        std::string linkPath;  // a symbolic link to the slave device, removed by stop()
    };

    explicit VirtualController(Options options);
    ~VirtualController();
    VirtualController(const VirtualController&) = delete;
    VirtualController& operator=(const VirtualController&) = delete;

    // Opens the pty (raw mode), creates the log and the link, starts serving and returns the
    // slave device name. Throws std::runtime_error when any of that fails.
    [[nodiscard]] std::string start();
    // Stops serving, closes the pty and the log, removes the link. Safe to call twice.
    void stop();

    [[nodiscard]] std::string deviceName() const;
    // True once the hang-up fault has closed the pty; the controller then serves no more.
    [[nodiscard]] bool hungUp() const;

    [[nodiscard]] std::uint8_t readByte(std::size_t address) const;
    [[nodiscard]] std::uint16_t readWord(std::size_t index) const;
    [[nodiscard]] ParameterImage image() const;  // bytes 0..767
    [[nodiscard]] std::array<std::uint8_t, kConverterSize> converterMemory() const;
    [[nodiscard]] std::vector<std::uint16_t> errorCodes() const;
    [[nodiscard]] FuelMode fuelMode() const;  // as reported in live word 39
    [[nodiscard]] FuelMode selectedMode() const;
    [[nodiscard]] std::size_t commandCount(std::uint8_t cmd) const;
    // The record a live request would get now (the engine advances at least every 20 ms).
    [[nodiscard]] LiveRecord liveRecord() const;
    void addError(std::uint16_t code);

    // Frames received so far (the oldest are forgotten past kFrameLogLimit).
    [[nodiscard]] std::vector<ReceivedFrame> receivedFrames() const;
    [[nodiscard]] std::size_t frameCount() const;  // all frames since start, never forgotten
    // The records of the live replies written to the port so far, oldest first, as the
    // controller meant them (a reply spoilt by a fault is listed too); the oldest are forgotten
    // past kLiveLogLimit.
    [[nodiscard]] std::vector<LiveRecord> sentLiveRecords() const;
    // Waits until at least `count` frames have arrived since start; false on time-out.
    [[nodiscard]] bool waitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;

    static constexpr std::size_t kFrameLogLimit = 100000;
    static constexpr std::size_t kLiveLogLimit = 10000;  // 192 bytes each

private:
    void serve();
    void receive();
    void answer(const CommandFrame& frame);
    bool sendReply(std::vector<std::uint8_t> reply);  // false when nothing was written
    bool writeAll(const std::uint8_t* data, std::size_t count);
    void discardUnreadReplies();
    void hangUp();
    void closeAll();
    [[nodiscard]] double simulatedSeconds() const;
    [[nodiscard]] std::int64_t elapsedMs() const;
    bool pauseFor(unsigned ms);  // false when stop() interrupted the pause

    Options m_options;
    mutable std::mutex m_mutex;  // guards everything below that the serving thread changes
    mutable std::condition_variable m_frameArrived;
    ControllerCore m_core;
    FrameReceiver m_receiver;  // serving thread only
    FaultInjector m_faults;    // serving thread only
    std::deque<ReceivedFrame> m_frames;
    std::deque<LiveRecord> m_sentLive;
    std::size_t m_frameCount = 0;
    bool m_hungUp = false;
    std::string m_device;

    int m_master = -1;
    int m_slave = -1;  // kept open so the pty survives the program closing its side
    int m_watch = -1;  // inotify descriptor: the program opening and closing the slave
    std::array<int, 2> m_wake{-1, -1};
    std::FILE* m_log = nullptr;
    std::chrono::steady_clock::time_point m_start;
    std::thread m_thread;
    bool m_linkCreated = false;
};

}  // namespace kaldor::sim
