#include "frame_receiver.h"

#include <algorithm>

namespace kaldor::sim {

void FrameReceiver::push(const std::uint8_t* data, std::size_t count,
                         std::vector<CommandFrame>& frames) {
    for (std::size_t i = 0; i < count; ++i) {
        m_window[m_fill++] = data[i];
        if (m_fill < kCommandLength) {
            continue;
        }
        if (isValidCommand(m_window)) {
            frames.push_back(m_window);
            m_fill = 0;
        } else {
            std::rotate(m_window.begin(), m_window.begin() + 1, m_window.end());
            m_fill = kCommandLength - 1;
            ++m_discarded;
        }
    }
}

}  // namespace kaldor::sim
