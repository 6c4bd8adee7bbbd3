#include "link/win32_serial_port.h"

#include <algorithm>
#include <limits>

namespace kaldor {
namespace win32 {
namespace {

constexpr std::uint32_t kControllerBaud = 57600;
constexpr const char kDevicePrefix[] = "\\\\.\\";

}  // namespace

std::string systemWords(std::uint32_t error, SerialCalls& calls) {
    std::string words = calls.errorText(error);
    return words.empty() ? "error " + std::to_string(error) : words;
}

LineSettings controllerLine() {
    LineSettings line;
    line.baudRate = kControllerBaud;
    return line;
}

Timeouts controllerTimeouts(std::uint32_t writeTimeoutMs) {
    Timeouts t;
    // MAXDWORD with both read totals 0: ReadFile returns at once with what the driver queued.
    t.readInterval = kMaxDword;
    t.writeTotalConstant = writeTimeoutMs;
    return t;
}

std::string devicePath(const std::string& device) {
    if (device.empty() || device.rfind("\\\\", 0) == 0)
        return device;
    return kDevicePrefix + device;
}

std::string dosName(const std::string& device) {
    const std::string path = devicePath(device);
    const std::size_t prefix = sizeof kDevicePrefix - 1;
    return path.rfind(kDevicePrefix, 0) == 0 ? path.substr(prefix) : path;
}

std::string portLockName(const std::string& device) {
    std::string name = dosName(device);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        // A backslash would name a namespace; letters match without regard to case.
        return c == '\\' ? '/' : c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return "Local\\kaldor-port-" + name;
}

PortOpenResult openResultFor(std::uint32_t error, SerialCalls& calls) {
    PortOpenResult result;
    switch (error) {
        case kErrorFileNotFound:
        case kErrorPathNotFound:
        case kErrorInvalidName:
            result.error = PortOpenError::NoSuchDevice;
            break;
        case kErrorAccessDenied:
        case kErrorSharingViolation:
            result.error = PortOpenError::Busy;
            break;
        default:
            // ERROR_GEN_FAILURE among them: a USB adapter that stopped working.
            result.error = PortOpenError::Other;
            result.detail = systemWords(error, calls);
            break;
    }
    return result;
}

PortOpenResult checkPort(const std::string& device, SerialCalls& calls) {
    PortOpenResult result;
    result.device = device;
    const std::string name = dosName(device);
    if (name.empty()) {
        result.error = PortOpenError::NoSuchDevice;
        return result;
    }
    if (calls.dosDeviceExists(name))
        return result;
    const std::uint32_t error = calls.probeDevice(devicePath(device));
    if (error == 0)
        return result;
    const PortOpenResult why = openResultFor(error, calls);
    // Busy is there; only an open tells it, as on every platform.
    if (why.error != PortOpenError::Busy) {
        result.error = why.error;
        result.detail = why.detail;
    }
    return result;
}

}  // namespace win32

Win32SerialPort::Win32SerialPort(PortMap map, win32::SerialCalls& calls)
    : m_map(std::move(map)), m_calls(calls) {}

Win32SerialPort::~Win32SerialPort() {
    close();
}

bool Win32SerialPort::open(int number) {
    close();
    const std::string device = m_map.deviceName(number);
    m_lastOpen = {};
    m_lastOpen.device = device;
    m_lastOpen.named = device != PortMap::defaultDeviceName(number);
    if (device.empty()) {
        m_lastOpen.error = PortOpenError::NoSuchDevice;
        return false;
    }
    // Windows opens a port for one program only: a second open is refused, ours too.
    m_handle = m_calls.createFile(win32::devicePath(device));
    if (m_handle == nullptr) {
        const PortOpenResult why = win32::openResultFor(m_calls.lastError(), m_calls);
        m_lastOpen.error = why.error;
        m_lastOpen.detail = why.detail;
        return false;
    }
    // A port driver refuses a second open by itself; Wine's ports do not, so a lock of our own
    // keeps two programs of ours apart there too. A lock that cannot be made is no refusal.
    bool heldElsewhere = false;
    m_lock = m_calls.createNamedLock(win32::portLockName(device), heldElsewhere);
    if (heldElsewhere) {
        close();
        m_lastOpen.error = PortOpenError::Busy;
        return false;
    }
    if (!m_calls.setCommState(m_handle, win32::controllerLine()))
        return failOpen(m_calls.lastError());
    if (!m_calls.setCommTimeouts(m_handle, win32::controllerTimeouts(kWriteTimeoutMs)))
        return failOpen(m_calls.lastError());
    // Whatever the line went through before it was ours is no error of this connection.
    std::uint32_t errors = 0;
    std::uint32_t queued = 0;
    (void)m_calls.clearCommError(m_handle, errors, queued);
    return true;
}

bool Win32SerialPort::failOpen(std::uint32_t error) {
    close();
    // The port is there and was ours a moment ago: whatever refused the line is the system's
    // to say.
    m_lastOpen.error = PortOpenError::Other;
    m_lastOpen.detail = win32::systemWords(error, m_calls);
    return false;
}

void Win32SerialPort::close() {
    for (win32::Handle* h : {&m_handle, &m_lock}) {
        if (*h != nullptr)
            m_calls.closeHandle(*h);
        *h = nullptr;
    }
}

void Win32SerialPort::setRts(bool high) {
    if (m_handle == nullptr)
        return;
    // A port without modem lines (a virtual one, Wine's port on a pseudo-terminal) refuses the
    // call; the controller's interface is then driven without it, as on a pseudo-terminal.
    (void)m_calls.escapeCommFunction(m_handle, high ? win32::kSetRts : win32::kClearRts);
}

bool Win32SerialPort::write(const std::uint8_t* data, std::size_t count) {
    if (m_handle == nullptr)
        return false;
    // A frame is a few bytes; more than a DWORD holds never comes, and is refused whole.
    if (count > std::numeric_limits<std::uint32_t>::max())
        return false;
    std::uint32_t written = 0;
    const bool ok = m_calls.writeFile(m_handle, data, static_cast<std::uint32_t>(count), written);
    return ok && written == count;
}

void Win32SerialPort::waitTransmitEmpty() {
    if (m_handle == nullptr)
        return;
    // Returns once the driver has sent everything it was handed.
    (void)m_calls.flushFileBuffers(m_handle);
}

void Win32SerialPort::drain() {
    waitTransmitEmpty();
}

std::size_t Win32SerialPort::queuedCount() {
    if (m_handle == nullptr)
        return 0;
    std::uint32_t errors = 0;
    std::uint32_t queued = 0;
    if (!m_calls.clearCommError(m_handle, errors, queued))
        return 0;
    return queued;
}

std::size_t Win32SerialPort::readQueued(std::uint8_t* destination, std::size_t maximum) {
    if (m_handle == nullptr || maximum == 0)
        return 0;
    const auto want = static_cast<std::uint32_t>(
        std::min<std::size_t>(maximum, std::numeric_limits<std::uint32_t>::max()));
    std::uint32_t read = 0;
    if (!m_calls.readFile(m_handle, destination, want, read))
        return 0;
    return std::min<std::size_t>(read, maximum);
}

}  // namespace kaldor
