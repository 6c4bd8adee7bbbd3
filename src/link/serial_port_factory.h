#pragma once
// The serial port of this platform, chosen by the build: the Qt adapter (link/qt_serial_port.*)
// on Linux, the Windows API port (link/win32_serial_port.*) on Windows. The window, kaldor-cli
// and the tools get their port here and name neither.
#include <memory>
#include <string>

#include "link/port_map.h"
#include "link/serial_port.h"

namespace kaldor {

[[nodiscard]] std::unique_ptr<SerialPort> makeSerialPort(PortMap map);

// Whether `device` could be opened by this user, without opening it: NoSuchDevice when it is
// not there, PermissionDenied (with the group) where the system keeps users off it. A device
// another program holds shows only when opened.
[[nodiscard]] PortOpenResult checkSerialDevice(const std::string& device);

}  // namespace kaldor
