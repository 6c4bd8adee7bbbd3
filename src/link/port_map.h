#pragma once
// Port number 1..16 to device name. Windows names the ports "\\.\COMn"; elsewhere a stable
// default that the settings file's [Ports] section overrides (COM1=/dev/pts/7). The overrides
// come in as a lookup the caller fills from the settings file.
#include <functional>
#include <string>

namespace kaldor {

class PortMap {
public:
    // The device named for a port number, or an empty text for the default.
    using Overrides = std::function<std::string(int portNumber)>;

    PortMap() = default;
    explicit PortMap(Overrides overrides) : m_overrides(std::move(overrides)) {}

    [[nodiscard]] std::string deviceName(int portNumber) const;
    [[nodiscard]] static std::string defaultDeviceName(int portNumber);

private:
    Overrides m_overrides;
};

}  // namespace kaldor
