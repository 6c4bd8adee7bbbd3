// The one file of the serial port that includes <windows.h>: each call of the port's seam
// forwarded to the system as it stands, the DCB and COMMTIMEOUTS filled from the seam's own
// types. Built for Windows only.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

#include "link/win32_serial_port.h"

namespace kaldor::win32 {
namespace {

std::wstring wide(const std::string& text) {
    if (text.empty())
        return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                              n);
    return out;
}

std::string narrow(const wchar_t* text, int length) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    return out;
}

HANDLE handleOf(Handle h) {
    return static_cast<HANDLE>(h);
}

class SystemCalls final : public SerialCalls {
public:
    Handle createFile(const std::string& path) override {
        const HANDLE h = ::CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
        return h == INVALID_HANDLE_VALUE ? nullptr : static_cast<Handle>(h);
    }

    std::uint32_t lastError() override { return ::GetLastError(); }

    std::string errorText(std::uint32_t code) override {
        wchar_t* buffer = nullptr;
        const DWORD n =
            ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
        std::string text = n > 0 ? narrow(buffer, static_cast<int>(n)) : std::string();
        ::LocalFree(buffer);
        // The system ends its words with a full stop and a line break.
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                                 text.back() == '.'))
            text.pop_back();
        return text;
    }

    bool setCommState(Handle h, const LineSettings& line) override {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(handleOf(h), &dcb))
            return false;
        dcb.BaudRate = line.baudRate;
        dcb.ByteSize = line.byteSize;
        dcb.Parity = line.parity;
        dcb.StopBits = line.stopBits;
        dcb.fBinary = line.binary;
        dcb.fParity = line.parityCheck;
        dcb.fOutxCtsFlow = line.outxCtsFlow;
        dcb.fOutxDsrFlow = line.outxDsrFlow;
        dcb.fDsrSensitivity = line.dsrSensitivity;
        dcb.fOutX = line.outX;
        dcb.fInX = line.inX;
        dcb.fErrorChar = line.errorChar;
        dcb.fNull = line.discardNull;
        dcb.fAbortOnError = line.abortOnError;
        dcb.fDtrControl = line.dtrControl;
        dcb.fRtsControl = line.rtsControl;
        return ::SetCommState(handleOf(h), &dcb) != 0;
    }

    bool setCommTimeouts(Handle h, const Timeouts& timeouts) override {
        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = timeouts.readInterval;
        t.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
        t.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
        t.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
        t.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
        return ::SetCommTimeouts(handleOf(h), &t) != 0;
    }

    bool escapeCommFunction(Handle h, std::uint32_t function) override {
        return ::EscapeCommFunction(handleOf(h), function) != 0;
    }

    bool writeFile(Handle h, const std::uint8_t* data, std::uint32_t count,
                   std::uint32_t& written) override {
        DWORD n = 0;
        const bool ok = ::WriteFile(handleOf(h), data, count, &n, nullptr) != 0;
        written = n;
        return ok;
    }

    bool readFile(Handle h, std::uint8_t* destination, std::uint32_t maximum,
                  std::uint32_t& read) override {
        DWORD n = 0;
        const bool ok = ::ReadFile(handleOf(h), destination, maximum, &n, nullptr) != 0;
        read = n;
        return ok;
    }

    bool clearCommError(Handle h, std::uint32_t& errors, std::uint32_t& queued) override {
        DWORD e = 0;
        COMSTAT stat{};
        const bool ok = ::ClearCommError(handleOf(h), &e, &stat) != 0;
        errors = e;
        queued = stat.cbInQue;
        return ok;
    }

    bool flushFileBuffers(Handle h) override { return ::FlushFileBuffers(handleOf(h)) != 0; }

    void closeHandle(Handle h) override { ::CloseHandle(handleOf(h)); }

    bool dosDeviceExists(const std::string& name) override {
        std::vector<wchar_t> target(1024);
        return ::QueryDosDeviceW(wide(name).c_str(), target.data(),
                                 static_cast<DWORD>(target.size())) != 0 ||
               ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    }

    Handle createNamedLock(const std::string& name, bool& heldElsewhere) override {
        const HANDLE h = ::CreateMutexW(nullptr, FALSE, wide(name).c_str());
        heldElsewhere = h != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
        if (heldElsewhere) {
            ::CloseHandle(h);
            return nullptr;
        }
        return static_cast<Handle>(h);
    }

    std::uint32_t probeDevice(const std::string& path) override {
        const HANDLE h = ::CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return ::GetLastError();
        ::CloseHandle(h);
        return 0;
    }
};

}  // namespace

SerialCalls& systemSerialCalls() {
    static SystemCalls calls;
    return calls;
}

}  // namespace kaldor::win32
