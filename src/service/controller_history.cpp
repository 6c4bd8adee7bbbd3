#include "service/controller_history.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "files/atomic_file.h"
#include "files/settings_file.h"
#include "files/settings_location.h"
#include "link/connection_scan.h"

namespace kaldor {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kIndexFields = 7;
// An index larger than this is not one this program wrote (200 lines of a few hundred bytes).
constexpr std::uintmax_t kMaxIndexBytes = 1 << 20;
constexpr std::size_t kMaxLineLength = 4096;
constexpr std::size_t kMaxVersionLength = 32;
constexpr unsigned kMaxRevision = 255;
// Entries stored within one second get "-2", "-3", ...; more than this in a second is not real.
constexpr int kMaxRepeatsPerSecond = 1000;
constexpr std::size_t kMaxSerialDigits = 10;

struct Civil {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back; plain
// arithmetic, so no time-zone or platform call is involved.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

Civil civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

struct Broken {
    Civil date;
    unsigned hour, minute, second;
};

Broken breakUtc(std::int64_t time) {
    std::int64_t days = time / kSecondsPerDay;
    std::int64_t rest = time % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    return {civilFromDays(days), static_cast<unsigned>(rest / 3600),
            static_cast<unsigned>(rest / 60 % 60), static_cast<unsigned>(rest % 60)};
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// `text` all decimal digits and at most `digits` of them.
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

// "20240131-142501" or "20240131-142501-2": digits and dashes only, so an id read from an index
// can never name a file outside the controller's folder.
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
    const Broken b = breakUtc(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld%02u%02u-%02u%02u%02u",
                  static_cast<long long>(b.date.year), b.date.month, b.date.day, b.hour, b.minute,
                  b.second);
    return text;
}

// A text for one field of a line: no tab or line break can end it early.
std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    return out;
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

std::optional<std::string> readSmallFile(const fs::path& path, std::uintmax_t limit,
                                         std::string& why) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        why = fs::exists(path, error) ? "not a file" : "missing";
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) {
        why = error.message();
        return std::nullopt;
    }
    if (size > limit) {
        why = std::to_string(size) + " bytes";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        why = "unreadable";
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::int64_t systemHistoryTime() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string historyUtcText(std::int64_t time) {
    const Broken b = breakUtc(time);
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

std::string defaultHistoryFolder(const EnvironmentLookup& environment) {
    const std::string folder = userFolder(UserFolder::Data, environment);
    return folder.empty() ? folder : (fs::path(folder) / "history").string();
}

HistorySettings readHistorySettings(const SettingsFile& settings,
                                    const EnvironmentLookup& environment) {
    HistorySettings s;
    s.enabled = settings.readInt(kHistorySection, kHistoryEnabledKey, 1) != 0;
    s.folder = settings.readString(kHistorySection, kHistoryFolderKey, "");
    if (s.folder.empty())
        s.folder = defaultHistoryFolder(environment);
    return s;
}

std::uint32_t historyCrc(const EcuImage::Bytes& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<bool> historyKeeps(const std::vector<std::int64_t>& times, std::int64_t now) {
    std::vector<bool> keep(times.size(), true);
    std::size_t kept = times.size();
    const std::int64_t recent = now - kHistoryKeepDays * kSecondsPerDay;
    // Index 0 is the first entry ever stored; a time in the future counts as recent.
    for (std::size_t i = 1; i < times.size() && kept > kHistoryMaxEntries; ++i) {
        if (times[i] < recent) {
            keep[i] = false;
            --kept;
        }
    }
    return keep;
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

std::string historyProgramVersion() {
    std::string_view version = kVersionText;
    while (!version.empty() && (version.front() == ' ' || version.front() == 'v'))
        version.remove_prefix(1);
    return std::string(version);
}

ControllerHistory::ControllerHistory(std::string folder, HistoryClock clock,
                                     std::string programVersion)
    : m_folder(std::move(folder)),
      m_clock(clock ? std::move(clock) : HistoryClock(systemHistoryTime)),
      m_programVersion(programVersion.empty() ? historyProgramVersion()
                                              : std::move(programVersion)) {}

std::string ControllerHistory::controllerFolder(std::uint32_t serial) const {
    return (fs::path(m_folder) / std::to_string(serial)).string();
}

std::vector<std::uint32_t> ControllerHistory::serials() const {
    std::vector<std::uint32_t> found;
    std::error_code error;
    if (m_folder.empty() || !fs::is_directory(m_folder, error))
        return found;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code kindError;
        if (!it->is_directory(kindError))
            continue;
        const std::string name = it->path().filename().string();
        const std::optional<std::uint64_t> n = decimal(name, kMaxSerialDigits);
        // Only the names this program makes: no leading zeros, within 32 bits.
        if (n && *n <= 0xFFFFFFFFu && std::to_string(*n) == name)
            found.push_back(static_cast<std::uint32_t>(*n));
    }
    std::sort(found.begin(), found.end());
    return found;
}

HistoryListing ControllerHistory::index(std::uint32_t serial) const {
    const fs::path path = fs::path(controllerFolder(serial)) / std::string(kHistoryIndexName);
    std::error_code error;
    if (!fs::exists(path, error))
        return {};
    std::string why;
    const std::optional<std::string> text = readSmallFile(path, kMaxIndexBytes, why);
    if (!text)
        return {{}, {std::string(kHistoryIndexName) + " skipped: " + why}};
    return parseHistoryIndex(*text);
}

HistoryListing ControllerHistory::list(std::uint32_t serial) const {
    HistoryListing all = index(serial);
    HistoryListing sound;
    sound.notes = std::move(all.notes);
    for (HistoryEntry& e : all.entries) {
        std::string note;
        if (read(serial, e, &note))
            sound.entries.push_back(std::move(e));
        else
            sound.notes.push_back(std::move(note));
    }
    return sound;
}

std::optional<EcuImage::Bytes> ControllerHistory::read(std::uint32_t serial,
                                                       const HistoryEntry& entry,
                                                       std::string* note) const {
    const std::string name = entry.id + std::string(kHistoryEntryExtension);
    const auto fail = [&](const std::string& why) -> std::optional<EcuImage::Bytes> {
        if (note != nullptr)
            *note = "entry " + name + " skipped: " + why;
        return std::nullopt;
    };
    if (!isEntryId(entry.id))
        return fail("no entry id");
    std::string why;
    const std::optional<std::string> text =
        readSmallFile(fs::path(controllerFolder(serial)) / name, EcuImage::kSize, why);
    if (!text)
        return fail(why);
    if (text->size() != EcuImage::kSize)
        return fail(std::to_string(text->size()) + " bytes, not " +
                    std::to_string(EcuImage::kSize));
    EcuImage::Bytes bytes{};
    std::copy(text->begin(), text->end(), bytes.begin());
    if (historyCrc(bytes) != entry.crc)
        return fail("its bytes are not those the index names");
    return bytes;
}

StoreResult ControllerHistory::store(std::uint32_t serial, const EcuImage::Bytes& bytes,
                                     const std::string& what, unsigned hardwareRevision,
                                     unsigned softwareRevision) const {
    // The history must never be what stops a connection or a command.
    try {
        return storeUnguarded(serial, bytes, what, hardwareRevision, softwareRevision);
    } catch (const std::exception& e) {
        StoreResult r;
        r.message = e.what();
        return r;
    } catch (...) {
        StoreResult r;
        r.message = "unknown failure";
        return r;
    }
}

StoreResult ControllerHistory::storeUnguarded(std::uint32_t serial, const EcuImage::Bytes& bytes,
                                              const std::string& what, unsigned hardwareRevision,
                                              unsigned softwareRevision) const {
    StoreResult result;
    if (m_folder.empty()) {
        result.message = "no data folder for the controller history";
        return result;
    }
    const fs::path folder = controllerFolder(serial);
    std::error_code error;
    fs::create_directories(folder, error);
    std::error_code kindError;
    if (!fs::is_directory(folder, kindError)) {
        result.message =
            "cannot create " + folder.string() + (error ? ": " + error.message() : std::string());
        return result;
    }
    HistoryListing listing = index(serial);
    result.notes = listing.notes;
    std::vector<HistoryEntry>& entries = listing.entries;
    if (!entries.empty() && read(serial, entries.back()) == bytes) {
        result.outcome = StoreOutcome::Duplicate;
        result.entry = entries.back();
        return result;
    }

    const std::int64_t now = m_clock();
    HistoryEntry entry;
    entry.time = now;
    entry.what = oneLine(what);
    entry.hardwareRevision = std::min(hardwareRevision, kMaxRevision);
    entry.softwareRevision = std::min(softwareRevision, kMaxRevision);
    entry.programVersion = m_programVersion;
    entry.crc = historyCrc(bytes);
    const std::string stamp = entryStamp(now);
    const auto taken = [&](const std::string& id) {
        std::error_code e;
        return std::any_of(entries.begin(), entries.end(),
                           [&](const HistoryEntry& x) { return x.id == id; }) ||
               fs::exists(folder / (id + std::string(kHistoryEntryExtension)), e);
    };
    entry.id = stamp;
    for (int repeat = 2; taken(entry.id); ++repeat) {
        if (repeat > kMaxRepeatsPerSecond) {
            result.message = "too many entries at " + historyUtcText(now);
            return result;
        }
        entry.id = stamp + "-" + std::to_string(repeat);
    }

    const fs::path entryPath = folder / (entry.id + std::string(kHistoryEntryExtension));
    if (const auto failed =
            writeFileAtomically(entryPath.string(), std::string(bytes.begin(), bytes.end()))) {
        result.message = "cannot write " + entryPath.string() + ": " + *failed;
        return result;
    }
    entries.push_back(entry);
    std::vector<std::int64_t> times;
    for (const HistoryEntry& e : entries)
        times.push_back(e.time);
    const std::vector<bool> keeps = historyKeeps(times, now);
    std::vector<HistoryEntry> kept;
    std::vector<HistoryEntry> removed;
    for (std::size_t i = 0; i < entries.size(); ++i)
        (keeps[i] ? kept : removed).push_back(entries[i]);

    const fs::path indexPath = folder / std::string(kHistoryIndexName);
    if (const auto failed =
            writeFileAtomically(indexPath.string(), historyIndexText(serial, kept))) {
        // An entry the index does not list is nobody's: take it away again.
        fs::remove(entryPath, error);
        result.message = "cannot write " + indexPath.string() + ": " + *failed;
        return result;
    }
    for (const HistoryEntry& e : removed)
        fs::remove(folder / (e.id + std::string(kHistoryEntryExtension)), error);
    result.outcome = StoreOutcome::Stored;
    result.entry = entry;
    return result;
}

}  // namespace kaldor
