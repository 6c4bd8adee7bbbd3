#pragma once
// The controller counts the changes of its error memory in every live record; a new count asks
// for the error memory once. The count starts from 0, so a controller that has counted any
// change is read at the first record.
#include <cstdint>

namespace kaldor {

class ErrorCounterWatch {
public:
    // True once for each new count.
    [[nodiscard]] bool moved(std::uint16_t counter) {
        if (counter == m_last)
            return false;
        m_last = counter;
        return true;
    }

private:
    std::uint16_t m_last = 0;
};

}  // namespace kaldor
