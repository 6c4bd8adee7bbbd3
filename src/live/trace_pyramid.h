#pragma once
// One channel of a recording as the log viewer draws it: its value at every record, converted
// as the live pages convert it, and a minimum/maximum pyramid over blocks of records, so the
// extremes (and the sum) of any range come from a few blocks instead of a walk over the records.
// A picture column covering thousands of records then costs a handful of look-ups.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "live/live_signals.h"
#include "live/recording.h"

namespace kaldor {

// A signal's value in one record, as the live pages show it; `engineSpeedInRpm`: the record
// holds its engine speed as rpm already (one read from a CSV).
[[nodiscard]] double recordValue(const LiveFrame& frame, LiveSignal id, const LiveContext& context,
                                 bool engineSpeedInRpm);
// The same in one record of a recording, whose format says how it holds the engine speed.
[[nodiscard]] double recordingValue(const Recording& recording, const LiveFrame& frame,
                                    LiveSignal id, const LiveContext& context);
// The same with the signal's decimals: the text the pages show.
[[nodiscard]] std::string recordingText(const Recording& recording, std::size_t record,
                                        LiveSignal id, const LiveContext& context);

// The values of one signal over a recording. A signal read from one word converts through a
// table of all 65,536 word values, built once with the signal table's own conversion.
class ChannelValues {
public:
    ChannelValues(const Recording& recording, LiveSignal id, const LiveContext& context);

    [[nodiscard]] double at(std::size_t record) const {
        if (m_highWord < 0)
            return m_table[m_recording->word(record, m_word)];
        return static_cast<double>(m_recording->word(record, m_word)) +
               65536.0 * m_recording->word(record, static_cast<std::size_t>(m_highWord));
    }
    [[nodiscard]] LiveSignal id() const { return m_id; }

private:
    const Recording* m_recording;
    LiveSignal m_id;
    std::size_t m_word;
    long m_highWord = -1;  // the high word of a 32-bit counter
    std::vector<double> m_table;
};

struct ValueRange {
    double minimum = 0;
    double maximum = 0;
};

class TracePyramid {
public:
    // Records per block of the lowest level; a range's ends inside a block are walked.
    static constexpr std::size_t kBaseShift = 4;
    static constexpr std::size_t kBase = std::size_t{1} << kBaseShift;

    TracePyramid(const Recording& recording, LiveSignal id, const LiveContext& context);

    [[nodiscard]] const ChannelValues& values() const { return m_values; }
    [[nodiscard]] std::size_t size() const { return m_size; }
    // Extremes and sum of the records [first, last); first < last <= size().
    [[nodiscard]] ValueRange range(std::size_t first, std::size_t last) const;
    [[nodiscard]] double sum(std::size_t first, std::size_t last) const;
    // The whole recording.
    [[nodiscard]] ValueRange overall() const { return m_overall; }
    // The extremes of each of `columns` picture columns over [first, last): column c covers
    // records [first + c * n / columns, first + (c + 1) * n / columns), n = last - first, which
    // must be at least `columns`.
    void columns(std::size_t first, std::size_t last, std::size_t columns,
                 std::vector<ValueRange>& out) const;
    [[nodiscard]] std::size_t heldBytes() const;

private:
    struct Level {
        std::vector<double> minimum;
        std::vector<double> maximum;
        std::vector<double> sum;
    };

    ChannelValues m_values;
    std::size_t m_size;
    std::vector<Level> m_levels;  // level k: blocks of kBase << k records
    ValueRange m_overall;
};

}  // namespace kaldor
