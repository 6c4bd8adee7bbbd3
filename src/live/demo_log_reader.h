#pragma once
// The one reader of the "demo.log" format: the 96 words of a record, word 0 first, each as an
// unsigned decimal number followed by a comma, then a line feed (a carriage return may stand
// before it). It reads in pieces of any size and hands each record to the caller as it ends.
//
// Its callers want different things of a file the logger did not write whole, so the reader
// has a mode for each.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "live/live_frame.h"

namespace kaldor {

enum class DemoLogMode : std::uint8_t {
    // The log viewer and the cell statistics (readRecording): they draw and count what the file
    // holds, so a file that is not a recording (binary data, a short or overlong line, a value
    // that is no number up to 65535) is refused, naming the line and the reason, rather than
    // shown as a drive it never was. Blank lines are skipped. A last line without its line feed
    // counts when it is a whole record; a half-written one (the logger is still writing) is
    // left out and said so.
    Strict,
    // "export log as CSV" (also kaldor-cli log2csv): the export has always taken any log, so an
    // edited or damaged one still gives its rows. Any text reads, value by value as playback
    // reads it; a line without a value is no record, so a blank line adds no row.
    Lenient,
    // Demo playback: as Lenient, but every line feed ends a record, a blank line one of zeros:
    // the buffer holds the file line for line, as playback has always counted it.
    Playback,
};

// Where and why a Strict read stopped.
struct LineFault {
    std::uint64_t line = 0;  // counted from 1, blank lines included
    std::string reason;      // as it reads after "line N "
};

class DemoLogReader {
public:
    static constexpr std::size_t kValues = LiveFrame::kWords;
    // Lenient and Playback: a longer token, or one that is not a decimal number up to 65535,
    // counts as 0.
    static constexpr std::size_t kMaxTokenChars = 9;

    using Words = std::array<std::uint16_t, kValues>;
    // Where the values of the record being read go: value w at values[w * stride]. A caller
    // that keeps records column by column gives its column slots, so that each value goes to
    // its place as it is read; others take each record as a Words (RecordSink).
    struct Slots {
        std::uint16_t* values = nullptr;
        std::size_t stride = 1;
    };
    // The record just read stands complete in its slots (Lenient and Playback give the words a
    // line lacks as 0 and keep the first 96 of a longer line). The sink takes it and returns
    // the slots of the next record; no slots when it takes no more, which ends the read.
    using SlotSink = std::function<Slots()>;
    // The same for a caller that takes each record as a Words; false when it takes no more.
    using RecordSink = std::function<bool(const Words& words)>;
    static constexpr std::size_t kAnyLength = std::numeric_limits<std::size_t>::max();

    // Strict: a line longer than `maxLineBytes` is no record (a whole one is at most 578).
    DemoLogReader(DemoLogMode mode, Slots first, SlotSink sink,
                  std::size_t maxLineBytes = kAnyLength);
    DemoLogReader(DemoLogMode mode, RecordSink sink, std::size_t maxLineBytes = kAnyLength);
    // Its sink may point into it.
    DemoLogReader(const DemoLogReader&) = delete;
    DemoLogReader& operator=(const DemoLogReader&) = delete;

    // False once the read has ended: a fault (Strict), or the sink took no more.
    bool feed(const char* data, std::size_t size);
    bool feed(std::string_view text) { return feed(text.data(), text.size()); }
    // The end of the input: the last line without its line feed. False as feed.
    bool finish();

    [[nodiscard]] const std::optional<LineFault>& fault() const { return m_fault; }
    // The sink took no more.
    [[nodiscard]] bool stopped() const { return m_stopped; }
    // Strict: the input ended in the middle of a record, which was left out.
    [[nodiscard]] bool lastLineLeftOut() const { return m_lastLineLeftOut; }

private:
    bool feedStrict(const char* data, std::size_t size);
    bool feedLenient(const char* data, std::size_t size);
    bool endStrictLine();
    bool endLenientLine(bool record);
    bool deliver();
    void put(std::size_t value, std::uint16_t word) {
        m_slots.values[value * m_slots.stride] = word;
    }
    bool fail(std::string reason);
    [[nodiscard]] std::uint16_t lenientToken() const;

    DemoLogMode m_mode;
    SlotSink m_sink;
    std::size_t m_maxLineBytes;
    Slots m_slots;
    Words m_words{};           // the slots of a RecordSink
    std::size_t m_values = 0;  // commas seen on the line
    std::uint32_t m_token = 0;
    std::size_t m_tokenChars = 0;  // Strict: digits; else any characters, counted past the limit
    bool m_tokenIsNumber = true;
    std::size_t m_lineBytes = 0;
    bool m_carriageReturn = false;
    std::uint64_t m_line = 1;
    bool m_ended = false;
    bool m_stopped = false;
    bool m_lastLineLeftOut = false;
    std::optional<LineFault> m_fault;
};

}  // namespace kaldor
