// The port of the Linux build: QSerialPort, with the device file checked first.
#include <filesystem>
#include <system_error>

#include "link/qt_serial_port.h"
#include "link/serial_port_factory.h"

namespace kaldor {

std::unique_ptr<SerialPort> makeSerialPort(PortMap map) {
    return std::make_unique<QtSerialPort>(std::move(map));
}

PortOpenResult checkSerialDevice(const std::string& device) {
    std::error_code error;
    if (!std::filesystem::exists(device, error)) {
        PortOpenResult absent;
        absent.device = device;
        absent.error = PortOpenError::NoSuchDevice;
        return absent;
    }
    return checkDevice(device);
}

}  // namespace kaldor
