#pragma once
// The controller history: every memory a controller held while this program was connected to
// it, kept by the program itself so that no set-up is lost to a wrong file or a reset.
//
// One folder per controller, named by its serial number, under the history folder
// (`$XDG_DATA_HOME/kaldor/history`, `~/.local/share/kaldor/history` when that is not set, the
// per-user application data folder on Windows; `[History] Folder=` of the settings file names
// another). Each entry is one file "<id>.kcfg" in the configuration-file format (768 bytes, the
// PIN cleared as in every saved file); "index.txt" lists the entries (service/history_index.h).
//
// An index line that does not read as an entry, and an entry whose file is missing, short or not
// the bytes its CRC names, is skipped with a note; nothing in a damaged history stops the
// program. Every file is written to a temporary file and renamed.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ecu_image.h"
#include "service/history_index.h"

namespace kaldor {

class SettingsFile;

inline constexpr std::string_view kHistorySection = "History";
inline constexpr std::string_view kHistoryEnabledKey = "Enabled";
inline constexpr std::string_view kHistoryFolderKey = "Folder";
inline constexpr std::string_view kHistoryEntryExtension = ".kcfg";

// The keep rule: the first entry ever stored and every entry of the last kHistoryKeepDays stay;
// older entries are removed, oldest first, while a controller has more than kHistoryMaxEntries.
inline constexpr std::int64_t kHistoryKeepDays = 90;
inline constexpr std::size_t kHistoryMaxEntries = 200;

// Seconds since 1970-01-01 00:00 UTC.
using HistoryClock = std::function<std::int64_t()>;
[[nodiscard]] std::int64_t systemHistoryTime();

struct HistorySettings {
    bool enabled = true;
    std::string folder;  // holds one folder per serial number
};

// The folder the history lives in unless the settings name another: the per-user data folder
// followed by "kaldor/history". `environment` looks a variable up (std::getenv unless a test
// gives another); empty when no data folder can be found.
using EnvironmentLookup = std::function<const char*(const char*)>;
[[nodiscard]] std::string defaultHistoryFolder(const EnvironmentLookup& environment = {});

// `[History] Enabled=0` switches the history off; `Folder=` replaces the default folder.
[[nodiscard]] HistorySettings readHistorySettings(const SettingsFile& settings,
                                                  const EnvironmentLookup& environment = {});

enum class StoreOutcome { Stored, Duplicate, Failed };

struct StoreResult {
    StoreOutcome outcome = StoreOutcome::Failed;
    HistoryEntry entry;              // the entry stored
    std::string message;             // why it failed
    std::vector<std::string> notes;  // index lines skipped on the way
};

// CRC-32 (IEEE, as zip uses it).
[[nodiscard]] std::uint32_t historyCrc(const EcuImage::Bytes& bytes);

// Which entries the keep rule keeps: `times` in the order stored, oldest first.
[[nodiscard]] std::vector<bool> historyKeeps(const std::vector<std::int64_t>& times,
                                             std::int64_t now);

class ControllerHistory {
public:
    ControllerHistory(std::string folder, HistoryClock clock = {}, std::string programVersion = {});

    [[nodiscard]] const std::string& folder() const { return m_folder; }
    [[nodiscard]] std::string controllerFolder(std::uint32_t serial) const;

    // The serial numbers that have a folder here, in rising order.
    [[nodiscard]] std::vector<std::uint32_t> serials() const;
    // Every entry of the index, whether its file is sound or not.
    [[nodiscard]] HistoryListing index(std::uint32_t serial) const;
    // The entries whose files are sound; the others are left out with a note.
    [[nodiscard]] HistoryListing list(std::uint32_t serial) const;
    // The entry's 768 bytes; nothing, with the reason in `note`, when the file is missing, of
    // another length or not what the index says.
    [[nodiscard]] std::optional<EcuImage::Bytes> read(std::uint32_t serial,
                                                      const HistoryEntry& entry,
                                                      std::string* note = nullptr) const;

    // Stores `bytes` as a new entry unless they equal the newest sound entry, then applies the
    // keep rule. Never throws.
    [[nodiscard]] StoreResult store(std::uint32_t serial, const EcuImage::Bytes& bytes,
                                    const std::string& what, unsigned hardwareRevision,
                                    unsigned softwareRevision) const;

private:
    [[nodiscard]] StoreResult storeUnguarded(std::uint32_t serial, const EcuImage::Bytes& bytes,
                                             const std::string& what, unsigned hardwareRevision,
                                             unsigned softwareRevision) const;

    std::string m_folder;
    HistoryClock m_clock;
    std::string m_programVersion;
};

// The program's version as the index records it: "4.706".
[[nodiscard]] std::string historyProgramVersion();

}  // namespace kaldor
