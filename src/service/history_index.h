#pragma once
// The controller history's index, "index.txt" in each controller's folder: the entries, oldest
// first, one line each,
//
//   id <TAB> time (UTC, 2024-01-31T14:25:01Z) <TAB> hardware revision <TAB> software revision
//   <TAB> program version <TAB> CRC-32 of the entry file (8 hex digits) <TAB> what happened
//
// Lines starting with '#' are comments. A line that does not read as an entry is skipped with a
// note. Also the times as the index and the user read them, and the entry ids.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor {

inline constexpr std::string_view kHistoryIndexName = "index.txt";

// "2024-01-31T14:25:01Z", and back; nothing for any other text.
[[nodiscard]] std::string historyUtcText(std::int64_t time);
[[nodiscard]] std::optional<std::int64_t> parseHistoryUtcText(std::string_view text);
// "2024-01-31 15:25:01" in the PC's time zone: how the window and the command line show a time.
[[nodiscard]] std::string historyLocalText(std::int64_t time);

struct HistoryEntry {
    std::string id;  // the file's name without ".kcfg": "20240131-142501", "-2" on a repeat
    std::int64_t time = 0;
    std::string what;  // "connected", "before load to ECU: car.kcfg", ...
    unsigned hardwareRevision = 0;
    unsigned softwareRevision = 0;
    std::string programVersion;
    std::uint32_t crc = 0;  // of the 768 bytes of the entry file
};

struct HistoryListing {
    std::vector<HistoryEntry> entries;  // oldest first
    std::vector<std::string> notes;     // what was skipped, and why
};

// The index text of `entries`, and the entries read back from such a text with a note for
// every line skipped.
[[nodiscard]] std::string historyIndexText(std::uint32_t serial,
                                           const std::vector<HistoryEntry>& entries);
[[nodiscard]] HistoryListing parseHistoryIndex(std::string_view text);

// What the history's store shares with the index's format.
namespace history_index {

inline constexpr unsigned kMaxRevision = 255;

// `text` all decimal digits and at most `digits` of them.
[[nodiscard]] std::optional<std::uint64_t> decimal(std::string_view text, std::size_t digits);

// "20240131-142501" or "20240131-142501-2": digits and dashes only, so an id read from an index
// can never name a file outside the controller's folder.
[[nodiscard]] bool isEntryId(std::string_view id);
// "20240131-142501": the id of an entry stored at `time`, before any repeat's "-2".
[[nodiscard]] std::string entryStamp(std::int64_t time);

// A text for one field of a line: no tab or line break can end it early.
[[nodiscard]] std::string oneLine(std::string_view text);

}  // namespace history_index

}  // namespace kaldor
