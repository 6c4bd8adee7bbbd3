#include "service/controller_history.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "files/atomic_file.h"
#include "files/calendar.h"
#include "files/crc.h"
#include "files/settings_file.h"
#include "files/settings_location.h"
#include "link/connection_scan.h"

namespace kaldor {
namespace {

namespace fs = std::filesystem;

using history_index::decimal;
using history_index::entryStamp;
using history_index::isEntryId;
using history_index::kMaxRevision;
using history_index::oneLine;

// An index larger than this is not one this program wrote (200 lines of a few hundred bytes).
constexpr std::uintmax_t kMaxIndexBytes = 1 << 20;
// Entries stored within one second get "-2", "-3", ...; more than this in a second is not real.
constexpr int kMaxRepeatsPerSecond = 1000;
constexpr std::size_t kMaxSerialDigits = 10;

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
    return crc32(bytes.data(), bytes.size());
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
