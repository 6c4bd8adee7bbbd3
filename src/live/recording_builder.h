#pragma once
// How the readers of the recording formats fill a Recording (inside live/ only).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "live/demo_log_reader.h"
#include "live/recording.h"

namespace kaldor {

// Fills the records block by block: values go into a staging block, column by column, and a
// full block keeps each column only where its values differ.
class RecordingBuilder {
public:
    RecordingBuilder(RecordingFormat format, std::size_t budget)
        : m_recording(std::make_shared<Recording>()),
          m_stage(Recording::kWords * Recording::kBlockRecords, 0),
          m_budget(budget) {
        m_recording->m_format = format;
    }

    // The slot of word `w` of the record being built, kSlotStride after that of word w - 1.
    static constexpr std::size_t kSlotStride = Recording::kBlockRecords;
    std::uint16_t& slot(std::size_t w) { return m_stage[w * kSlotStride + m_staged]; }
    void carry(std::size_t w) { m_recording->m_carried.set(w); }
    void carryAll() { m_recording->m_carried.set(); }

    // The record being built is complete. False when the records no longer fit the budget.
    [[nodiscard]] bool commit() {
        ++m_staged;
        return m_staged < Recording::kBlockRecords || flush();
    }
    // A record that will not be committed leaves nothing behind in its slots.
    void clearSlots() {
        for (std::size_t w = 0; w < Recording::kWords; ++w)
            slot(w) = 0;
    }

    [[nodiscard]] bool finish() { return m_staged == 0 || flush(); }
    [[nodiscard]] std::size_t records() const { return m_recording->m_size + m_staged; }
    [[nodiscard]] std::shared_ptr<const Recording> take() { return std::move(m_recording); }

private:
    bool flush();

    std::shared_ptr<Recording> m_recording;
    std::vector<std::uint16_t> m_stage;
    std::size_t m_staged = 0;
    std::size_t m_budget;
};

// The reader of one format, as readRecording drives it: pieces of the file, then its end.
class RecordParser {
public:
    virtual ~RecordParser() = default;
    // False on the first fault, or when the records no longer fit the budget.
    virtual bool feed(const char* data, std::size_t size) = 0;
    // At the end of the file; `note` says what was left out of a last line cut short.
    virtual bool finish(std::string& note) = 0;
    // Where and why the file is no recording; nothing when it stopped over the budget.
    [[nodiscard]] virtual const std::optional<LineFault>& fault() const = 0;
};

}  // namespace kaldor
