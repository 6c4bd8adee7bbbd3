#pragma once
// The serial port seam on the Windows API. The port's logic talks to the system through
// `Win32SerialCalls`, the few calls it makes, in plain types and with the system's own numbers,
// so this file and its logic build (and are tested against a fake of the calls) on every
// platform; only link/win32_serial_calls.cpp includes <windows.h> and forwards to the real
// calls, and only the Windows build has it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/port_map.h"
#include "link/serial_port.h"

namespace kaldor {

namespace win32 {

// The system's error codes the port tells apart (GetLastError).
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorGenFailure = 31;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorInvalidName = 123;

// EscapeCommFunction's functions.
inline constexpr std::uint32_t kSetRts = 3;
inline constexpr std::uint32_t kClearRts = 4;

// DCB values: NOPARITY, ONESTOPBIT, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE.
inline constexpr std::uint8_t kNoParity = 0;
inline constexpr std::uint8_t kOneStopBit = 0;
inline constexpr std::uint8_t kDtrControlDisable = 0;
inline constexpr std::uint8_t kRtsControlDisable = 0;

// COMMTIMEOUTS' MAXDWORD.
inline constexpr std::uint32_t kMaxDword = 0xFFFFFFFFu;

// The fields of the DCB the port sets; the forwarder keeps the others as the driver has them.
struct LineSettings {
    std::uint32_t baudRate = 0;
    std::uint8_t byteSize = 8;
    std::uint8_t parity = kNoParity;
    std::uint8_t stopBits = kOneStopBit;
    bool binary = true;
    bool parityCheck = false;
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    bool dsrSensitivity = false;
    bool outX = false;  // XON/XOFF either way
    bool inX = false;
    bool errorChar = false;
    bool discardNull = false;
    bool abortOnError = false;  // an error would stop every read and write until cleared
    std::uint8_t dtrControl = kDtrControlDisable;
    std::uint8_t rtsControl = kRtsControlDisable;

    bool operator==(const LineSettings& o) const {
        return baudRate == o.baudRate && byteSize == o.byteSize && parity == o.parity &&
               stopBits == o.stopBits && binary == o.binary && parityCheck == o.parityCheck &&
               outxCtsFlow == o.outxCtsFlow && outxDsrFlow == o.outxDsrFlow &&
               dsrSensitivity == o.dsrSensitivity && outX == o.outX && inX == o.inX &&
               errorChar == o.errorChar && discardNull == o.discardNull &&
               abortOnError == o.abortOnError && dtrControl == o.dtrControl &&
               rtsControl == o.rtsControl;
    }
};

// COMMTIMEOUTS, in milliseconds.
struct Timeouts {
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;

    bool operator==(const Timeouts& o) const {
        return readInterval == o.readInterval && readTotalMultiplier == o.readTotalMultiplier &&
               readTotalConstant == o.readTotalConstant &&
               writeTotalMultiplier == o.writeTotalMultiplier &&
               writeTotalConstant == o.writeTotalConstant;
    }
};

// An open port's handle; nullptr is none (the forwarder turns INVALID_HANDLE_VALUE into it).
using Handle = void*;

// The calls the port makes, each as the system has it; false is a failed call whose reason
// lastError() gives.
struct SerialCalls {
    virtual ~SerialCalls() = default;
    // CreateFileW, read and write, not shared, an existing device only; `path` in UTF-8.
    [[nodiscard]] virtual Handle createFile(const std::string& path) = 0;
    [[nodiscard]] virtual std::uint32_t lastError() = 0;
    // The system's words for an error code (FormatMessageW), in UTF-8.
    [[nodiscard]] virtual std::string errorText(std::uint32_t code) = 0;
    // GetCommState, these fields changed, SetCommState.
    [[nodiscard]] virtual bool setCommState(Handle handle, const LineSettings& line) = 0;
    [[nodiscard]] virtual bool setCommTimeouts(Handle handle, const Timeouts& timeouts) = 0;
    [[nodiscard]] virtual bool escapeCommFunction(Handle handle, std::uint32_t function) = 0;
    [[nodiscard]] virtual bool writeFile(Handle handle, const std::uint8_t* data,
                                         std::uint32_t count, std::uint32_t& written) = 0;
    [[nodiscard]] virtual bool readFile(Handle handle, std::uint8_t* destination,
                                        std::uint32_t maximum, std::uint32_t& read) = 0;
    // ClearCommError: clears the line-error state; `queued` is COMSTAT's cbInQue.
    [[nodiscard]] virtual bool clearCommError(Handle handle, std::uint32_t& errors,
                                              std::uint32_t& queued) = 0;
    [[nodiscard]] virtual bool flushFileBuffers(Handle handle) = 0;
    virtual void closeHandle(Handle handle) = 0;
    // QueryDosDeviceW of one name ("COM3"): whether the system has a device by that name.
    [[nodiscard]] virtual bool dosDeviceExists(const std::string& name) = 0;
    // CreateFileW without read or write access, shared, closed at once: 0 when the device is
    // there, else the error. Finds the devices that no DOS name lists (Wine's ports linked in
    // after its start, a name given in full).
    [[nodiscard]] virtual std::uint32_t probeDevice(const std::string& path) = 0;
    // CreateMutexW of `name`: the mutex, or nullptr with `heldElsewhere` when it already exists
    // (its handle closed again) or could not be made.
    [[nodiscard]] virtual Handle createNamedLock(const std::string& name, bool& heldElsewhere) = 0;
};

// The system's own calls (link/win32_serial_calls.cpp, in the Windows build only).
[[nodiscard]] SerialCalls& systemSerialCalls();

// The line the controller talks on: 57600 baud 8N1, no flow control of any kind, DTR inactive,
// RTS low until the link drives it.
[[nodiscard]] LineSettings controllerLine();

// Reads return at once with what is queued; a write that the driver has not taken within
// `writeTimeoutMs` fails.
[[nodiscard]] Timeouts controllerTimeouts(std::uint32_t writeTimeoutMs);

// The name CreateFileW opens: "COM12" and "com3" become "\\.\COM12" and "\\.\com3" (without the
// prefix only COM1-COM9 open); a name that starts with "\\" is taken as it is.
[[nodiscard]] std::string devicePath(const std::string& device);

// The lock that keeps two programs of ours off one port: "Local\kaldor-port-COM3".
[[nodiscard]] std::string portLockName(const std::string& device);

// The DOS device name of a path: "\\.\COM3" gives "COM3".
[[nodiscard]] std::string dosName(const std::string& device);

// The system's words for `error`, or "error N" when it has none.
[[nodiscard]] std::string systemWords(std::uint32_t error, SerialCalls& calls);

// Why CreateFileW failed, in the terms the window and kaldor-cli say. Windows refuses a port
// another program holds with "access denied": no account is kept off a serial port, so that is
// taken for busy.
[[nodiscard]] PortOpenResult openResultFor(std::uint32_t error, SerialCalls& calls);

// Whether the device could be opened, without opening it for reading or writing: there or not,
// or what else the system says of it. A port held by another program shows only when opened.
[[nodiscard]] PortOpenResult checkPort(const std::string& device, SerialCalls& calls);

}  // namespace win32

class Win32SerialPort final : public SerialPort {
public:
    // How long a frame may take to reach the driver; six bytes take about 1 ms at 57600 baud.
    static constexpr std::uint32_t kWriteTimeoutMs = 200;

    Win32SerialPort(PortMap map, win32::SerialCalls& calls);
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    [[nodiscard]] bool open(int number) override;
    [[nodiscard]] PortOpenResult lastOpenResult() const override { return m_lastOpen; }
    void close() override;
    void setRts(bool high) override;
    [[nodiscard]] bool write(const std::uint8_t* data, std::size_t count) override;
    void waitTransmitEmpty() override;
    void drain() override;
    [[nodiscard]] std::size_t queuedCount() override;
    [[nodiscard]] std::size_t readQueued(std::uint8_t* destination, std::size_t maximum) override;

    [[nodiscard]] bool isOpen() const { return m_handle != nullptr; }

private:
    // The open failed after CreateFileW: the port is closed again and `error`'s words kept.
    bool failOpen(std::uint32_t error);

    PortMap m_map;
    win32::SerialCalls& m_calls;
    win32::Handle m_handle = nullptr;
    win32::Handle m_lock = nullptr;
    PortOpenResult m_lastOpen;
};

}  // namespace kaldor
