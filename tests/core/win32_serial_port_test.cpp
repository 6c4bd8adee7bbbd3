// The Windows serial port's logic against a fake of the system's calls: what it opens, the line
// and timeouts it sets, how a refusal is told, and the reads, writes and RTS over the handle.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "link/win32_serial_port.h"

using namespace kaldor;
using namespace kaldor::win32;

namespace {

// Each call logged by name; a call in `failing` fails with `error`.
struct FakeCalls final : SerialCalls {
    std::vector<std::string> log;
    std::set<std::string> failing;
    std::uint32_t error = 0;
    std::map<std::uint32_t, std::string> texts{{kErrorGenFailure, "not functioning"}};
    std::set<std::string> devices{"COM3"};
    std::vector<std::string> paths;
    LineSettings line;
    Timeouts timeouts;
    std::vector<std::uint8_t> received;
    std::vector<std::uint8_t> sent;
    std::uint32_t takeAtMost = 0xFFFFFFFFu;  // of a write
    int handles = 0;
    Handle handle = &handles;

    bool call(const std::string& name) {
        log.push_back(name);
        return failing.count(name) == 0;
    }
    Handle createFile(const std::string& path) override {
        paths.push_back(path);
        if (!call("CreateFile"))
            return nullptr;
        ++handles;
        return handle;
    }
    std::uint32_t lastError() override { return error; }
    std::string errorText(std::uint32_t code) override {
        const auto it = texts.find(code);
        return it == texts.end() ? std::string() : it->second;
    }
    bool setCommState(Handle, const LineSettings& l) override {
        line = l;
        return call("SetCommState");
    }
    bool setCommTimeouts(Handle, const Timeouts& t) override {
        timeouts = t;
        return call("SetCommTimeouts");
    }
    bool escapeCommFunction(Handle, std::uint32_t f) override {
        return call(f == kSetRts ? "SETRTS" : f == kClearRts ? "CLRRTS" : "?");
    }
    bool writeFile(Handle, const std::uint8_t* data, std::uint32_t count,
                   std::uint32_t& written) override {
        written = std::min(count, takeAtMost);
        sent.insert(sent.end(), data, data + written);
        return call("WriteFile");
    }
    bool readFile(Handle, std::uint8_t* to, std::uint32_t maximum, std::uint32_t& read) override {
        read = 0;
        if (!call("ReadFile"))
            return false;
        read = static_cast<std::uint32_t>(std::min<std::size_t>(maximum, received.size()));
        std::copy_n(received.begin(), read, to);
        received.erase(received.begin(), received.begin() + read);
        return true;
    }
    bool clearCommError(Handle, std::uint32_t& errors, std::uint32_t& queued) override {
        errors = 0;
        queued = static_cast<std::uint32_t>(received.size());
        return call("ClearCommError");
    }
    bool flushFileBuffers(Handle) override { return call("FlushFileBuffers"); }
    void closeHandle(Handle h) override {
        if (h == lock) {
            locks.erase(lockName);
            log.push_back("CloseLock");
            return;
        }
        EXPECT_EQ(h, handle);
        --handles;
        log.push_back("CloseHandle");
    }
    std::set<std::string> locks;  // held, by any program
    std::string lockName;
    int lockToken = 0;
    Handle lock = &lockToken;
    Handle createNamedLock(const std::string& name, bool& heldElsewhere) override {
        log.push_back("Lock " + name);
        heldElsewhere = !locks.insert(name).second;
        if (heldElsewhere)
            return nullptr;
        lockName = name;
        return lock;
    }
    bool dosDeviceExists(const std::string& name) override {
        log.push_back("QueryDosDevice " + name);
        return devices.count(name) != 0;
    }
    std::uint32_t probed = kErrorFileNotFound;
    std::uint32_t probeDevice(const std::string& path) override {
        log.push_back("probe " + path);
        return probed;
    }
};

// COM3 is the default name, COM12 one the settings file names without the prefix.
PortMap windowsNames() {
    return PortMap(
        [](int n) { return n == 12 ? std::string("COM12") : "\\\\.\\COM" + std::to_string(n); });
}

TEST(Win32SerialPort, OpensTheDeviceWithTheControllersLineAndReadsThatNeverWait) {
    FakeCalls calls;
    Win32SerialPort port(windowsNames(), calls);
    ASSERT_TRUE(port.open(12));
    EXPECT_EQ(calls.paths, std::vector<std::string>{"\\\\.\\COM12"});
    EXPECT_TRUE(port.lastOpenResult().ok());
    EXPECT_EQ(port.lastOpenResult().device, "COM12");
    EXPECT_EQ(calls.log,
              (std::vector<std::string>{"CreateFile", "Lock Local\\kaldor-port-COM12",
                                        "SetCommState", "SetCommTimeouts", "ClearCommError"}));
    // 57600 8N1, binary, no flow control of any kind, no character replaced or dropped, an
    // error never stops the port; DTR inactive, RTS low until the link raises it.
    const LineSettings& l = calls.line;
    EXPECT_EQ(l.baudRate, 57600u);
    EXPECT_EQ(l.byteSize, 8);
    EXPECT_EQ(l.parity, 0);
    EXPECT_EQ(l.stopBits, 0);
    EXPECT_TRUE(l.binary);
    for (const bool off : {l.parityCheck, l.outxCtsFlow, l.outxDsrFlow, l.dsrSensitivity, l.outX,
                           l.inX, l.errorChar, l.discardNull, l.abortOnError})
        EXPECT_FALSE(off);
    EXPECT_EQ(l.dtrControl, 0);
    EXPECT_EQ(l.rtsControl, 0);
    EXPECT_EQ(calls.timeouts, (Timeouts{0xFFFFFFFFu, 0, 0, 0, Win32SerialPort::kWriteTimeoutMs}));

    // A second open closes the first handle; the destructor closes the last.
    ASSERT_TRUE(port.open(3));
    EXPECT_EQ(calls.paths.back(), "\\\\.\\COM3");
    EXPECT_EQ(calls.handles, 1);
    port.close();
    port.close();
    EXPECT_EQ(calls.handles, 0);
    EXPECT_TRUE(calls.locks.empty());
    EXPECT_EQ(std::count(calls.log.begin(), calls.log.end(), "CloseHandle"), 2);

    // Another program of ours on the port (where the driver lets a second open through, as
    // Wine's do): busy, with the name in any spelling.
    calls.locks = {"Local\\kaldor-port-COM12"};
    EXPECT_FALSE(port.open(12));
    EXPECT_EQ(port.lastOpenResult().error, PortOpenError::Busy);
    EXPECT_EQ(calls.handles, 0);
    EXPECT_EQ(portLockName("\\\\.\\com12"), "Local\\kaldor-port-COM12");
}

TEST(Win32SerialPort, AFailedOpenSaysWhyInTheTermsOfEveryPlatformAndLeavesNoHandle) {
    struct Case {
        const char* failing;
        std::uint32_t error;
        PortOpenError expected;
        const char* detail;
    };
    const Case cases[] = {
        {"CreateFile", kErrorFileNotFound, PortOpenError::NoSuchDevice, ""},
        {"CreateFile", kErrorPathNotFound, PortOpenError::NoSuchDevice, ""},
        {"CreateFile", kErrorInvalidName, PortOpenError::NoSuchDevice, ""},
        {"CreateFile", kErrorAccessDenied, PortOpenError::Busy, ""},  // another program's
        {"CreateFile", kErrorSharingViolation, PortOpenError::Busy, ""},
        {"CreateFile", kErrorGenFailure, PortOpenError::Other, "not functioning"},
        {"CreateFile", 1167, PortOpenError::Other, "error 1167"},  // no words for it
        {"SetCommState", kErrorGenFailure, PortOpenError::Other, "not functioning"},
        {"SetCommTimeouts", 87, PortOpenError::Other, "error 87"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.failing) + " " + std::to_string(c.error));
        FakeCalls calls;
        calls.failing = {c.failing};
        calls.error = c.error;
        Win32SerialPort port(windowsNames(), calls);
        EXPECT_FALSE(port.open(3));
        const PortOpenResult why = port.lastOpenResult();
        EXPECT_EQ(why.error, c.expected);
        EXPECT_EQ(why.detail, c.detail);
        EXPECT_EQ(why.device, "\\\\.\\COM3");
        EXPECT_EQ(calls.handles, 0);
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(port.write(reinterpret_cast<const std::uint8_t*>("x"), 1));
    }
    // Outside 1..16 there is no device at all, and nothing is asked of the system.
    FakeCalls calls;
    Win32SerialPort port(windowsNames(), calls);
    EXPECT_FALSE(port.open(17));
    EXPECT_EQ(port.lastOpenResult().error, PortOpenError::NoSuchDevice);
    EXPECT_TRUE(calls.log.empty());
}

TEST(Win32SerialPort, RtsWritesAndReadsOverTheHandleAndAPortWithoutModemLinesStillWorks) {
    FakeCalls calls;
    calls.failing = {"SETRTS", "CLRRTS"};  // a virtual port, Wine's on a pseudo-terminal
    Win32SerialPort port(windowsNames(), calls);
    port.setRts(true);  // closed: nothing asked
    EXPECT_EQ(port.queuedCount(), 0u);
    ASSERT_TRUE(port.open(3));
    calls.log.clear();
    const std::uint8_t frame[] = {0xD1, 0xB8, 0x05, 0xDC, 0x14, 0xF2};
    port.setRts(true);
    EXPECT_TRUE(port.write(frame, sizeof frame));
    port.waitTransmitEmpty();
    port.setRts(false);
    port.drain();
    EXPECT_EQ(calls.log, (std::vector<std::string>{"SETRTS", "WriteFile", "FlushFileBuffers",
                                                   "CLRRTS", "FlushFileBuffers"}));
    EXPECT_EQ(calls.sent, std::vector<std::uint8_t>(frame, frame + sizeof frame));

    // A write the driver took only part of, or refused (a pulled adapter), failed.
    calls.takeAtMost = 2;
    EXPECT_FALSE(port.write(frame, sizeof frame));
    calls.takeAtMost = 0xFFFFFFFFu;
    calls.failing.insert("WriteFile");
    EXPECT_FALSE(port.write(frame, sizeof frame));

    // Reads take what is queued, never more than asked.
    calls.received = {1, 2, 3, 4, 5};
    EXPECT_EQ(port.queuedCount(), 5u);
    std::uint8_t into[8] = {};
    EXPECT_EQ(port.readQueued(into, 3), 3u);
    EXPECT_EQ(port.readQueued(into + 3, 8), 2u);
    EXPECT_EQ(std::vector<std::uint8_t>(into, into + 5),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(port.readQueued(into, 8), 0u);
    calls.received = {9};
    calls.failing.insert("ReadFile");
    calls.failing.insert("ClearCommError");
    EXPECT_EQ(port.queuedCount(), 0u);
    EXPECT_EQ(port.readQueued(into, 8), 0u);
}

TEST(Win32SerialPort, DeviceNamesAndAPortCheckedWithoutOpeningIt) {
    for (const auto& [given, path, dos] : std::vector<std::array<std::string, 3>>{
             {"COM3", "\\\\.\\COM3", "COM3"},
             {"\\\\.\\COM12", "\\\\.\\COM12", "COM12"},
             {"\\\\?\\usb#vid", "\\\\?\\usb#vid", "\\\\?\\usb#vid"},
             {"", "", ""}}) {
        EXPECT_EQ(devicePath(given), path) << given;
        EXPECT_EQ(dosName(given), dos) << given;
    }
    // Listed as a DOS device: there, and nothing opened.
    FakeCalls calls;
    EXPECT_TRUE(checkPort("\\\\.\\COM3", calls).ok());
    EXPECT_EQ(calls.log, std::vector<std::string>{"QueryDosDevice COM3"});
    // Not listed: what a probe without read or write access finds.
    struct Probe {
        std::uint32_t error;
        PortOpenError expected;
    };
    for (const Probe p : {Probe{0, PortOpenError::None},
                          Probe{kErrorAccessDenied, PortOpenError::None},  // held: shows at open
                          Probe{kErrorFileNotFound, PortOpenError::NoSuchDevice},
                          Probe{kErrorGenFailure, PortOpenError::Other}}) {
        calls.log.clear();
        calls.probed = p.error;
        const PortOpenResult result = checkPort("COM4", calls);
        EXPECT_EQ(result.error, p.expected) << p.error;
        EXPECT_EQ(result.device, "COM4");
        EXPECT_EQ(calls.log,
                  (std::vector<std::string>{"QueryDosDevice COM4", "probe \\\\.\\COM4"}));
    }
    EXPECT_EQ(checkPort("", calls).error, PortOpenError::NoSuchDevice);
}

}  // namespace
