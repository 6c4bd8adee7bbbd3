#include "virtual_controller.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "pty_device.h"

namespace kaldor::sim {
namespace {

constexpr int kPollMs = 20;           // the engine and the error source advance at least this often
constexpr int kHangUpBackoffMs = 10;  // master reports EIO/POLLHUP while no slave is open
constexpr int kWriteTimeoutMs = 500;  // a reader that never reads does not block the controller
constexpr int kDeliveryGraceMs = 100;

CoreSettings coreSettings(const VirtualController::Options& options) {
    CoreSettings settings;
    settings.hardwareRevision = options.hardwareRevision;
    settings.softwareRevision = options.softwareRevision;
    settings.confirmStatus = options.confirmStatus;
    settings.image = options.image.value_or(factoryImage());
    if (options.serialNumber) {
        storeSerialNumber(settings.image, *options.serialNumber);
    }
    if (options.pin) {
        storeWord(settings.image, kPinWord, *options.pin);
    }
    settings.mode = options.mode;
    settings.errors = options.errors;
    settings.errorEverySeconds = options.errorEverySeconds;
    return settings;
}

}  // namespace

VirtualController::VirtualController(Options options)
    : m_options(std::move(options)), m_core(coreSettings(m_options)), m_faults(m_options.faults) {}

VirtualController::~VirtualController() {
    stop();
}

std::string VirtualController::start() {
    if (m_thread.joinable()) {
        return m_device;
    }
    try {
        openPty(m_master, m_slave, m_device);

        // Without the watch the controller still works; only replies the program left unread
        // when it closed the port would greet it when it opens the port again.
        m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_watch >= 0 &&
            ::inotify_add_watch(m_watch, m_device.c_str(), IN_OPEN | IN_CLOSE) < 0) {
            closeFd(m_watch);
        }
        if (::pipe2(m_wake.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
            throw systemError("cannot create a pipe");
        }
        if (!m_options.logPath.empty()) {
            m_log = std::fopen(m_options.logPath.c_str(), "w");
            if (m_log == nullptr) {
                throw systemError("cannot create the log " + m_options.logPath);
            }
        }
        if (!m_options.linkPath.empty()) {
            linkDevice(m_options.linkPath, m_device);
            m_linkCreated = true;
        }
    } catch (...) {
        closeAll();
        throw;
    }
    m_start = std::chrono::steady_clock::now();
    m_thread = std::thread([this] { serve(); });
    return m_device;
}

void VirtualController::stop() {
    if (m_thread.joinable()) {
        const std::uint8_t wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &wake, 1);
        m_thread.join();
    }
    closeAll();
}

void VirtualController::closeAll() {
    closeFd(m_master);
    closeFd(m_slave);
    closeFd(m_watch);
    closeFd(m_wake[0]);
    closeFd(m_wake[1]);
    if (m_log != nullptr) {
        std::fclose(m_log);
        m_log = nullptr;
    }
    if (m_linkCreated) {
        unlinkDevice(m_options.linkPath, m_device);
        m_linkCreated = false;
    }
}

double VirtualController::simulatedSeconds() const {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_start;
    return elapsed.count() * m_options.timeScale;
}

std::int64_t VirtualController::elapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_start)
        .count();
}

bool VirtualController::pauseFor(unsigned ms) {
    pollfd wake{m_wake[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return true;
        }
        const int r = ::poll(&wake, 1, static_cast<int>(left.count()));
        if (r > 0) {
            return false;  // stop() wants the thread back
        }
    }
}

void VirtualController::serve() {
    for (;;) {
        pollfd fds[3] = {{m_wake[0], POLLIN, 0}, {m_master, POLLIN, 0}, {m_watch, POLLIN, 0}};
        const int r = ::poll(fds, 3, kPollMs);
        if (r < 0 && errno != EINTR) {
            break;
        }
        if (fds[0].revents != 0) {
            break;
        }
        if ((fds[2].revents & POLLIN) != 0) {
            discardUnreadReplies();
        }
        if ((fds[1].revents & POLLIN) != 0) {
            receive();
        } else if ((fds[1].revents & (POLLHUP | POLLERR)) != 0) {
            pauseFor(kHangUpBackoffMs);
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_hungUp) {
            break;
        }
        m_core.advanceTo(simulatedSeconds());
    }
}

void VirtualController::discardUnreadReplies() {
    alignas(inotify_event) char events[4096];
    bool any = false;
    while (::read(m_watch, events, sizeof events) > 0) {
        any = true;
    }
    // A serial port forgets unread input when it is closed; the pty would keep it for the next
    // open, in front of the first reply.
    if (any) {
        ::tcflush(m_slave, TCIFLUSH);
    }
}

void VirtualController::receive() {
    std::uint8_t buffer[512];
    const ssize_t n = ::read(m_master, buffer, sizeof buffer);
    if (n <= 0) {
        if (n < 0 && errno == EIO) {
            pauseFor(kHangUpBackoffMs);
        }
        return;
    }
    std::vector<CommandFrame> frames;
    m_receiver.push(buffer, static_cast<std::size_t>(n), frames);
    for (const CommandFrame& frame : frames) {
        answer(frame);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_hungUp) {
            return;
        }
    }
}

void VirtualController::answer(const CommandFrame& frame) {
    std::vector<std::uint8_t> reply;
    std::optional<LiveRecord> live;
    bool silent = false;
    bool hang = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const std::int64_t ms = elapsedMs();
        ++m_frameCount;
        if (m_frames.size() >= kFrameLogLimit) {
            m_frames.pop_front();
        }
        m_frames.push_back({ms, frame});
        if (m_log != nullptr) {
            std::fprintf(m_log, "%lld", static_cast<long long>(ms));
            for (const std::uint8_t b : frame) {
                std::fprintf(m_log, " %02X", b);
            }
            std::fputc('\n', m_log);
            std::fflush(m_log);
        }
        m_core.advanceTo(simulatedSeconds());
        if (frame[0] == kCmdRead && frame[1] == kReadLive) {
            live = m_core.liveRecord();  // what the reply is about to carry
        }
        if (m_faults.ignoresWrite(frame)) {
            m_core.ignore(frame);
        } else {
            reply = m_core.handle(frame);
        }
        silent = m_faults.silentAt(m_frameCount);
        hang = m_faults.hangsUpAt(m_frameCount) || m_faults.hangsUpAfterWrites();
    }
    m_frameArrived.notify_all();
    if (!reply.empty() && !silent && sendReply(std::move(reply)) && live) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_sentLive.size() >= kLiveLogLimit) {
            m_sentLive.pop_front();
        }
        m_sentLive.push_back(*live);
    }
    if (hang) {
        hangUp();
    }
}

bool VirtualController::sendReply(std::vector<std::uint8_t> reply) {
    if (!m_faults.spoil(reply)) {
        return false;
    }
    const unsigned delayMs = m_faults.delayMs();
    if (delayMs != 0 && !pauseFor(delayMs)) {
        return false;
    }
    return writeAll(reply.data(), reply.size());
}

bool VirtualController::writeAll(const std::uint8_t* data, std::size_t count) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    while (count > 0) {
        const ssize_t n = ::write(m_master, data, count);
        if (n > 0) {
            data += n;
            count -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        pollfd out{m_master, POLLOUT, 0};
        ::poll(&out, 1, kPollMs);
    }
    return true;
}

void VirtualController::hangUp() {
    // Closing the master throws away what the program has not read yet; let the last reply
    // reach it first, as it would leave a real controller before the line went dead.
    // The pty passes written bytes on to the slave's queue a little later, so the queue is
    // watched only after a grace period.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    bool stopping = !pauseFor(kDeliveryGraceMs);
    int unread = 0;
    while (!stopping && ::ioctl(m_slave, TIOCINQ, &unread) == 0 && unread > 0 &&
           std::chrono::steady_clock::now() < deadline) {
        stopping = !pauseFor(kHangUpBackoffMs);
    }
    closeFd(m_master);
    closeFd(m_slave);
    closeFd(m_watch);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hungUp = true;
    }
    m_frameArrived.notify_all();
}

}  // namespace kaldor::sim
