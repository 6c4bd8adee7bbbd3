#pragma once
// A recording for the log viewer: every live record of a "demo.log" or of the CSV the export
// writes, held as columns of 16-bit words (one column per record word), so a long drive costs
// two bytes per word and record whatever its text looked like. A block of records in which a
// word never changes holds that word once; one in which it stays within 256 values, one byte a
// record.
//
// The reader streams the file in pieces: progress can be watched and the read cancelled from
// another thread, no line count is capped, and a file that is not a recording (binary data, a
// line far longer than any record, a damaged value) or that would not fit in the memory the
// reader may use is refused with a message naming the reason. Only complete lines count, so a
// file the logger is still writing shows what it holds so far. A "demo.log" is read by
// DemoLogReader in its strict mode (live/demo_log_reader.h), the export's CSV by
// live/recording_csv; recording_read.cpp drives both.
#include <array>
#include <atomic>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "live/live_frame.h"
#include "live/live_signals.h"
#include "live/status_texts.h"

namespace kaldor {

enum class RecordingFormat : std::uint8_t { DemoLog, Csv };

class Recording {
public:
    static constexpr std::size_t kWords = LiveFrame::kWords;
    static constexpr std::size_t kBlockShift = 12;
    static constexpr std::size_t kBlockRecords = std::size_t{1} << kBlockShift;
    // One record every 100 ms, as the logger takes them.
    static constexpr double kSecondsPerRecord = 0.1;

    [[nodiscard]] std::size_t size() const { return m_size; }
    [[nodiscard]] bool empty() const { return m_size == 0; }
    [[nodiscard]] RecordingFormat format() const { return m_format; }
    // Words the file did not carry (a CSV holds only its columns' words) read 0.
    [[nodiscard]] bool carries(std::size_t word) const { return word < kWords && m_carried[word]; }
    [[nodiscard]] bool carries(LiveSignal id) const;
    // A CSV holds the engine speed in rpm, already converted: its word 21 is that number.
    [[nodiscard]] bool engineSpeedInRpm() const { return m_format == RecordingFormat::Csv; }

    [[nodiscard]] std::uint16_t word(std::size_t record, std::size_t word) const {
        const Column& c = m_blocks[record >> kBlockShift].words[word];
        const std::size_t i = record & (kBlockRecords - 1);
        if (c.wide)
            return c.wide[i];
        return c.narrow ? static_cast<std::uint16_t>(c.base + c.narrow[i]) : c.base;
    }
    [[nodiscard]] LiveFrame frame(std::size_t record) const;
    // Memory the records take.
    [[nodiscard]] std::size_t heldBytes() const { return m_heldBytes; }

private:
    friend class RecordingBuilder;
    // Most words of a drive move slowly: within a block their values often lie less than 256
    // apart, and are held as one byte above the block's lowest.
    struct Column {
        std::unique_ptr<std::uint16_t[]> wide;
        std::unique_ptr<std::uint8_t[]> narrow;  // with `base`: base + narrow[i]
        std::uint16_t base = 0;  // without either array: every record of the block holds it
    };
    struct Block {
        std::array<Column, kWords> words;
    };

    std::vector<Block> m_blocks;
    std::size_t m_size = 0;
    std::size_t m_heldBytes = 0;
    std::bitset<kWords> m_carried;
    RecordingFormat m_format = RecordingFormat::DemoLog;
};

// Shared between the thread that reads and the one that shows its progress.
struct ReadProgress {
    std::atomic<std::uint64_t> bytesRead{0};
    std::atomic<std::uint64_t> fileBytes{0};
    std::atomic<bool> cancel{false};
};

struct RecordingRead {
    std::shared_ptr<const Recording> recording;  // null when the file was refused or cancelled
    bool cancelled = false;
    // Why the file was refused; with a recording, a note about it (an incomplete last line).
    std::string message;
};

struct RecordingReadOptions {
    // The memory the records may take; 0: three quarters of what the machine has free.
    std::size_t memoryBudget = 0;
    // A longer line is no record of either format (a "demo.log" line is at most 578 characters).
    std::size_t maxLineBytes = 4096;
    // The fuel mode texts a CSV may carry besides the built-in English ones.
    StatusTexts texts;
};

// Reads `path` whole. Safe to run on a worker thread; `progress` may be null.
[[nodiscard]] RecordingRead readRecording(const std::string& path,
                                          const RecordingReadOptions& options = {},
                                          ReadProgress* progress = nullptr);

// The same over text in memory: the lines a running logger holds. `name` names it in messages.
[[nodiscard]] RecordingRead readRecordingText(const std::string& name, std::string_view text,
                                              const RecordingReadOptions& options = {},
                                              ReadProgress* progress = nullptr);

// readRecording on a thread of its own, so a window stays responsive: it polls the fraction
// read, may cancel, and takes the result once done. Destroying the task cancels and waits.
class RecordingReadTask {
public:
    RecordingReadTask(std::string path, RecordingReadOptions options = {});
    // Reads `text` (a running logger's lines) in place of a file.
    RecordingReadTask(std::string name, std::string text, RecordingReadOptions options);
    ~RecordingReadTask();
    RecordingReadTask(const RecordingReadTask&) = delete;
    RecordingReadTask& operator=(const RecordingReadTask&) = delete;

    [[nodiscard]] double fraction() const;
    [[nodiscard]] bool done() const { return m_done.load(std::memory_order_acquire); }
    void cancel() { m_progress.cancel.store(true); }
    // The result, once done (an empty result before).
    [[nodiscard]] RecordingRead take();

private:
    ReadProgress m_progress;
    std::atomic<bool> m_done{false};
    RecordingRead m_result;
    std::thread m_thread;
};

// Memory the machine has free for a new allocation, or 0 when it does not say.
[[nodiscard]] std::size_t availableMemoryBytes();

}  // namespace kaldor
