// The port of the Windows build: the Windows API port on the system's own calls.
#include "link/serial_port_factory.h"
#include "link/win32_serial_port.h"

namespace kaldor {

std::unique_ptr<SerialPort> makeSerialPort(PortMap map) {
    return std::make_unique<Win32SerialPort>(std::move(map), win32::systemSerialCalls());
}

PortOpenResult checkSerialDevice(const std::string& device) {
    return win32::checkPort(device, win32::systemSerialCalls());
}

}  // namespace kaldor
