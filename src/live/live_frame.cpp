#include "live/live_frame.h"

namespace kaldor {

void CalibrationBlock::takeSlice(const LiveFrame& frame) {
    const std::size_t p = frame.word(kPositionWord);
    if (p <= 5 || p > kWords)
        return;
    const std::size_t first = p - kSliceWords;
    for (std::size_t k = 0; k < kSliceWords; ++k) {
        const std::uint16_t w = frame.word(kSliceFirstWord + k);
        m_bytes[2 * (first + k)] = static_cast<std::uint8_t>(w & 0xFF);
        m_bytes[2 * (first + k) + 1] = static_cast<std::uint8_t>(w >> 8);
    }
}

}  // namespace kaldor
