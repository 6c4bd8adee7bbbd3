#include "live/recording.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <utility>

#include "live/recording_builder.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace kaldor {

bool Recording::carries(LiveSignal id) const {
    const LiveSignalDef& d = liveSignalDef(id);
    if (d.raw == LiveRawType::U32)
        return carries(d.word) && carries(d.word + std::size_t{1});
    if (d.codec == LiveCodec::PressureDifference)
        return carries(d.word) && carries(liveSignalDef(LiveSignal::GasPressure).word);
    return carries(d.word);
}

LiveFrame Recording::frame(std::size_t record) const {
    LiveFrame f;
    if (record >= m_size)
        return f;
    for (std::size_t w = 0; w < kWords; ++w)
        f.setWord(w, word(record, w));
    return f;
}

std::size_t availableMemoryBytes() {
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status) != 0)
        return static_cast<std::size_t>(status.ullAvailPhys);
    return 0;
#else
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::size_t kib = 0;
    std::string unit;
    while (meminfo >> key >> kib >> unit)
        if (key == "MemAvailable:")
            return kib * 1024;
    return 0;
#endif
}

bool RecordingBuilder::flush() {
    Recording& r = *m_recording;
    Recording::Block block;
    std::size_t bytes = sizeof(Recording::Block);
    for (std::size_t w = 0; w < Recording::kWords; ++w) {
        const std::uint16_t* values = m_stage.data() + w * Recording::kBlockRecords;
        Recording::Column& column = block.words[w];
        const auto [low, high] = std::minmax_element(values, values + m_staged);
        column.base = *low;
        if (*low == *high)
            continue;
        const bool narrow = *high - *low <= 0xFF;
        const std::size_t columnBytes =
            m_staged * (narrow ? sizeof(std::uint8_t) : sizeof(std::uint16_t));
        if (r.m_heldBytes + bytes + columnBytes > m_budget)
            return false;
        bytes += columnBytes;
        try {
            if (narrow) {
                column.narrow.reset(new std::uint8_t[m_staged]);
                std::transform(values, values + m_staged, column.narrow.get(),
                               [base = column.base](std::uint16_t v) {
                                   return static_cast<std::uint8_t>(v - base);
                               });
            } else {
                column.wide.reset(new std::uint16_t[m_staged]);
                std::memcpy(column.wide.get(), values, m_staged * sizeof(std::uint16_t));
            }
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    try {
        r.m_blocks.push_back(std::move(block));
    } catch (const std::bad_alloc&) {
        return false;
    }
    r.m_heldBytes += bytes;
    r.m_size += m_staged;
    m_staged = 0;
    std::fill(m_stage.begin(), m_stage.end(), std::uint16_t{0});
    return true;
}

}  // namespace kaldor
