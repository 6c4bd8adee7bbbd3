#include "live/trace_pyramid.h"

#include <algorithm>

#include "model/fixed_text.h"

namespace kaldor {
namespace {

bool isEngineSpeed(LiveSignal id) {
    return id == LiveSignal::EngineSpeed || id == LiveSignal::EngineSpeedThousands;
}

bool inRpm(const Recording& recording, LiveSignal id) {
    return recording.engineSpeedInRpm() && isEngineSpeed(id);
}

// The word a single-word signal reads under this set-up.
std::size_t sourceWord(LiveSignal id, const LiveContext& context) {
    const LiveSignalDef& d = liveSignalDef(id);
    if (d.codec == LiveCodec::PressureDifference && !context.regulatorVacuumConnected)
        return liveSignalDef(LiveSignal::GasPressure).word;
    return d.word;
}

void widen(ValueRange& r, double v) {
    r.minimum = std::min(r.minimum, v);
    r.maximum = std::max(r.maximum, v);
}

}  // namespace

double recordValue(const LiveFrame& frame, LiveSignal id, const LiveContext& context,
                   bool engineSpeedInRpm) {
    if (engineSpeedInRpm && isEngineSpeed(id)) {
        // As the signal table scales its thousands: the whole rpm times 0.001.
        const double rpm = frame.word(liveSignalDef(id).word);
        return id == LiveSignal::EngineSpeed ? rpm : rpm * 0.001;
    }
    return liveValue(frame, id, context);
}

double recordingValue(const Recording& recording, const LiveFrame& frame, LiveSignal id,
                      const LiveContext& context) {
    return recordValue(frame, id, context, recording.engineSpeedInRpm());
}

std::string recordingText(const Recording& recording, std::size_t record, LiveSignal id,
                          const LiveContext& context) {
    const LiveFrame frame = recording.frame(record);
    if (!inRpm(recording, id))
        return liveText(frame, id, context);
    return fixedText(recordingValue(recording, frame, id, context), liveSignalDef(id).decimals);
}

ChannelValues::ChannelValues(const Recording& recording, LiveSignal id, const LiveContext& context)
    : m_recording(&recording), m_id(id), m_word(sourceWord(id, context)) {
    const LiveSignalDef& d = liveSignalDef(id);
    if (d.raw == LiveRawType::U32) {
        // The counters show as they stand: no table over 2^32 values.
        m_highWord = static_cast<long>(d.word) + 1;
        return;
    }
    m_table.resize(65536);
    LiveFrame frame;
    for (std::size_t w = 0; w < m_table.size(); ++w) {
        frame.setWord(m_word, static_cast<std::uint16_t>(w));
        m_table[w] = recordingValue(recording, frame, id, context);
    }
}

TracePyramid::TracePyramid(const Recording& recording, LiveSignal id, const LiveContext& context)
    : m_values(recording, id, context), m_size(recording.size()) {
    std::size_t blocks = m_size >> kBaseShift;
    if (m_size > 0) {
        const double v0 = m_values.at(0);
        m_overall = {v0, v0};
    }
    Level base;
    base.minimum.resize(blocks);
    base.maximum.resize(blocks);
    base.sum.resize(blocks);
    for (std::size_t b = 0; b < blocks; ++b) {
        const double first = m_values.at(b << kBaseShift);
        ValueRange r{first, first};
        double s = first;
        for (std::size_t i = (b << kBaseShift) + 1; i < (b + 1) << kBaseShift; ++i) {
            const double v = m_values.at(i);
            widen(r, v);
            s += v;
        }
        base.minimum[b] = r.minimum;
        base.maximum[b] = r.maximum;
        base.sum[b] = s;
    }
    for (std::size_t i = blocks << kBaseShift; i < m_size; ++i)
        widen(m_overall, m_values.at(i));
    m_levels.push_back(std::move(base));
    while ((blocks /= 2) > 0) {
        const Level& below = m_levels.back();
        Level up;
        up.minimum.resize(blocks);
        up.maximum.resize(blocks);
        up.sum.resize(blocks);
        for (std::size_t b = 0; b < blocks; ++b) {
            up.minimum[b] = std::min(below.minimum[2 * b], below.minimum[2 * b + 1]);
            up.maximum[b] = std::max(below.maximum[2 * b], below.maximum[2 * b + 1]);
            up.sum[b] = below.sum[2 * b] + below.sum[2 * b + 1];
        }
        m_levels.push_back(std::move(up));
    }
    for (std::size_t b = 0; b < m_levels.front().minimum.size(); ++b) {
        widen(m_overall, m_levels.front().minimum[b]);
        widen(m_overall, m_levels.front().maximum[b]);
    }
}

ValueRange TracePyramid::range(std::size_t first, std::size_t last) const {
    const double v0 = m_values.at(first);
    ValueRange r{v0, v0};
    // The ends inside a block, record by record.
    while (first < last && (first & (kBase - 1)) != 0)
        widen(r, m_values.at(first++));
    while (last > first && (last & (kBase - 1)) != 0)
        widen(r, m_values.at(--last));
    // Whole blocks: at each level the odd block at either end, then up one level.
    std::size_t a = first >> kBaseShift;
    std::size_t b = last >> kBaseShift;
    for (std::size_t k = 0; a < b; ++k, a /= 2, b /= 2) {
        const Level& level = m_levels[k];
        if ((a & 1) != 0) {
            r.minimum = std::min(r.minimum, level.minimum[a]);
            r.maximum = std::max(r.maximum, level.maximum[a]);
            ++a;
        }
        if ((b & 1) != 0) {
            --b;
            r.minimum = std::min(r.minimum, level.minimum[b]);
            r.maximum = std::max(r.maximum, level.maximum[b]);
        }
    }
    return r;
}

double TracePyramid::sum(std::size_t first, std::size_t last) const {
    double s = 0;
    while (first < last && (first & (kBase - 1)) != 0)
        s += m_values.at(first++);
    while (last > first && (last & (kBase - 1)) != 0)
        s += m_values.at(--last);
    std::size_t a = first >> kBaseShift;
    std::size_t b = last >> kBaseShift;
    for (std::size_t k = 0; a < b; ++k, a /= 2, b /= 2) {
        const Level& level = m_levels[k];
        if ((a & 1) != 0)
            s += level.sum[a++];
        if ((b & 1) != 0)
            s += level.sum[--b];
    }
    return s;
}

void TracePyramid::columns(std::size_t first, std::size_t last, std::size_t count,
                           std::vector<ValueRange>& out) const {
    out.resize(count);
    const std::size_t n = last - first;
    std::size_t from = first;
    for (std::size_t c = 0; c < count; ++c) {
        const std::size_t to = first + (c + 1) * n / count;
        out[c] = range(from, std::max(to, from + 1));
        from = to;
    }
}

std::size_t TracePyramid::heldBytes() const {
    std::size_t bytes = 65536 * sizeof(double);
    for (const Level& l : m_levels)
        bytes += 3 * l.minimum.size() * sizeof(double);
    return bytes;
}

}  // namespace kaldor
