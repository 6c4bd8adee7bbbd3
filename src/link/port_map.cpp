#include "link/port_map.h"

namespace kaldor {

std::string PortMap::defaultDeviceName(int n) {
    if (n < 1 || n > 16)
        return {};
#ifdef _WIN32
    return "\\\\.\\COM" + std::to_string(n);
#else
    if (n <= 8)
        return "/dev/ttyUSB" + std::to_string(n - 1);
    if (n <= 12)
        return "/dev/ttyACM" + std::to_string(n - 9);
    return "/dev/ttyS" + std::to_string(n - 13);
#endif
}

std::string PortMap::deviceName(int n) const {
    if (n < 1 || n > 16)
        return {};
    if (m_overrides) {
        std::string over = m_overrides(n);
        if (!over.empty())
            return over;
    }
    return defaultDeviceName(n);
}

}  // namespace kaldor
