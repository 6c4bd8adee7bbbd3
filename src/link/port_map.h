#pragma once
// Port number 1..16 to device name. Windows names the ports "\\.\COMn"; elsewhere a stable
// default that the settings file's [Ports] section overrides (COM1=/dev/pts/7).
#include <string>

#include "files/settings_file.h"

namespace kaldor {

class PortMap {
public:
    PortMap() = default;
    explicit PortMap(const SettingsFile* settings) : m_settings(settings) {}

    [[nodiscard]] std::string deviceName(int portNumber) const;
    [[nodiscard]] static std::string defaultDeviceName(int portNumber);

private:
    const SettingsFile* m_settings = nullptr;
};

}  // namespace kaldor
