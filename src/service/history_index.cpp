#include "service/history_index.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <set>

#include "files/calendar.h"

namespace kaldor {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

namespace history_index {

std::optional<std::uint64_t> decimal(std::string_view text, std::size_t digits) {
    if (text.empty() || text.size() > digits)
        return std::nullopt;
    std::uint64_t n = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
}

bool isEntryId(std::string_view id) {
    constexpr std::size_t kStampLength = 15;
    if (id.size() < kStampLength)
        return false;
    for (std::size_t i = 0; i < kStampLength; ++i)
        if (i == 8 ? id[i] != '-' : !isDigit(id[i]))
            return false;
    if (id.size() == kStampLength)
        return true;
    return id[kStampLength] == '-' && decimal(id.substr(kStampLength + 1), 4).has_value();
}

std::string entryStamp(std::int64_t time) {
    const UtcTime b = breakUtc(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld%02u%02u-%02u%02u%02u",
                  static_cast<long long>(b.date.year), b.date.month, b.date.day, b.hour, b.minute,
                  b.second);
    return text;
}

std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    return out;
}

}  // namespace history_index

namespace {

using history_index::decimal;
using history_index::isEntryId;
using history_index::kMaxRevision;
using history_index::oneLine;

constexpr std::size_t kIndexFields = 7;
constexpr std::size_t kMaxLineLength = 4096;
constexpr std::size_t kMaxVersionLength = 32;

std::optional<std::uint32_t> hex32(std::string_view text) {
    if (text.size() != 8)
        return std::nullopt;
    std::uint32_t n = 0;
    for (const char c : text) {
        unsigned v = 0;
        if (isDigit(c))
            v = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            v = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            v = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        n = n << 4 | v;
    }
    return n;
}

std::string hexText(std::uint32_t n) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", n);
    return text;
}

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < kIndexFields) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            break;
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line);
    return fields;
}

// One index line as an entry; nothing, with the reason, when it is not one.
std::optional<HistoryEntry> parseLine(std::string_view line, std::string& why) {
    if (line.size() > kMaxLineLength) {
        why = "too long";
        return std::nullopt;
    }
    const std::vector<std::string_view> f = splitFields(line);
    if (f.size() != kIndexFields) {
        why = "not " + std::to_string(kIndexFields) + " fields";
        return std::nullopt;
    }
    HistoryEntry e;
    const std::optional<std::int64_t> time = parseHistoryUtcText(f[1]);
    const std::optional<std::uint64_t> hardware = decimal(f[2], 3);
    const std::optional<std::uint64_t> software = decimal(f[3], 3);
    const std::optional<std::uint32_t> crc = hex32(f[5]);
    if (!isEntryId(f[0]))
        why = "no entry id";
    else if (!time)
        why = "no time";
    else if (!hardware || *hardware > kMaxRevision || !software || *software > kMaxRevision)
        why = "no revisions";
    else if (f[4].empty() || f[4].size() > kMaxVersionLength || hasControlCharacter(f[4]))
        why = "no program version";
    else if (!crc)
        why = "no CRC";
    else if (hasControlCharacter(f[6]))
        why = "control characters in the text";
    if (!why.empty())
        return std::nullopt;
    e.id = std::string(f[0]);
    e.time = *time;
    e.hardwareRevision = static_cast<unsigned>(*hardware);
    e.softwareRevision = static_cast<unsigned>(*software);
    e.programVersion = std::string(f[4]);
    e.crc = *crc;
    e.what = std::string(f[6]);
    return e;
}

}  // namespace

std::string historyUtcText(std::int64_t time) {
    const UtcTime b = breakUtc(time);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02uZ",
                  static_cast<long long>(b.date.year), b.date.month, b.date.day, b.hour, b.minute,
                  b.second);
    return text;
}

std::optional<std::int64_t> parseHistoryUtcText(std::string_view text) {
    // 2024-01-31T14:25:01Z
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    const auto year = decimal(text.substr(0, 4), 4);
    const auto month = decimal(text.substr(5, 2), 2);
    const auto day = decimal(text.substr(8, 2), 2);
    const auto hour = decimal(text.substr(11, 2), 2);
    const auto minute = decimal(text.substr(14, 2), 2);
    const auto second = decimal(text.substr(17, 2), 2);
    if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 ||
        *day < 1 || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    const auto y = static_cast<std::int64_t>(*year);
    const auto m = static_cast<unsigned>(*month);
    const auto d = static_cast<unsigned>(*day);
    // The day must exist: 2023-02-29 is not a date.
    if (civilFromDays(daysFromCivil(y, m, d)).month != m)
        return std::nullopt;
    return daysFromCivil(y, m, d) * kSecondsPerDay + static_cast<std::int64_t>(*hour * 3600) +
           static_cast<std::int64_t>(*minute * 60 + *second);
}

std::string historyLocalText(std::int64_t time) {
    const auto t = static_cast<std::time_t>(time);
    const std::tm* local = std::localtime(&t);
    char text[40];
    if (local == nullptr || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local) == 0) {
        std::string utc = historyUtcText(time);
        return utc.substr(0, 10) + " " + utc.substr(11, 8) + " UTC";
    }
    return text;
}

std::string historyIndexText(std::uint32_t serial, const std::vector<HistoryEntry>& entries) {
    std::string text = "# KALDOR DIESEL controller history of ECU " + std::to_string(serial) +
                       "\n# id\ttime (UTC)\thardware revision\tsoftware revision\tprogram "
                       "version\tCRC-32 of <id>.kcfg\twhat happened\n";
    for (const HistoryEntry& e : entries)
        text += e.id + '\t' + historyUtcText(e.time) + '\t' + std::to_string(e.hardwareRevision) +
                '\t' + std::to_string(e.softwareRevision) + '\t' + oneLine(e.programVersion) +
                '\t' + hexText(e.crc) + '\t' + oneLine(e.what) + '\n';
    return text;
}

HistoryListing parseHistoryIndex(std::string_view text) {
    HistoryListing listing;
    std::set<std::string, std::less<>> ids;
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        std::string why;
        std::optional<HistoryEntry> entry = parseLine(line, why);
        if (entry && ids.count(entry->id) != 0)
            why = "entry " + entry->id + " listed twice";
        if (!why.empty()) {
            listing.notes.push_back(std::string(kHistoryIndexName) + " line " +
                                    std::to_string(number) + " skipped: " + why);
            continue;
        }
        ids.insert(entry->id);
        listing.entries.push_back(std::move(*entry));
    }
    return listing;
}

}  // namespace kaldor
