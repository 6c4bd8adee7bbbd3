#pragma once
// The INI-style settings file: "[Section]" headers and "key=value" lines. Section and key names
// match without regard to case; lines the program does not know survive a write untouched. A
// missing file reads as empty and is created by the first save. A file that exists but cannot be
// read as settings (unreadable, too large, holding a NUL byte) also reads as empty, and is never
// overwritten: saving it is refused, so whatever it holds stays for the user to mend. Writes
// replace the file atomically, so a crash or a full disk never leaves a half-written file behind.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor {

class SettingsFile {
public:
    // Files larger than this, or holding NUL bytes, are not settings files: they read as empty.
    static constexpr std::size_t kMaxFileSize = 1 << 20;

    enum class State { Missing, Read, Unreadable };

    SettingsFile() = default;
    explicit SettingsFile(std::string path);
    // A file read over another: an entry this file lacks is read from `fallbackPath` (the
    // administrator's file beside an installed program under the user's own). Writes and saves
    // touch this file only.
    SettingsFile(std::string path, std::string fallbackPath);

    // Re-reads the file from disk.
    void load();
    // Parses text as if it had been read from the file.
    void parse(std::string_view text);
    [[nodiscard]] std::string text() const;
    // Writes the file (temporary file, then rename). False when it could not be written or was
    // unreadable when last read; the old file is then left as it was.
    [[nodiscard]] bool save() const;
    [[nodiscard]] State state() const { return m_state; }
    [[nodiscard]] bool mayWrite() const { return m_state != State::Unreadable; }

    [[nodiscard]] std::optional<std::string> value(std::string_view section,
                                                   std::string_view key) const;
    [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                         const std::string& defaultValue) const;
    // Values are decimal digits with an optional leading minus sign; anything else, or a number
    // out of range, reads as the default.
    [[nodiscard]] long readInt(std::string_view section, std::string_view key,
                               long defaultValue) const;
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, long value);

    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    struct Line {
        std::string raw;      // the line as read (kept for lines the program does not know)
        std::string section;  // section header name, when this line is a header
        std::string key;      // key, when this line is an entry
        std::string value;
        bool isHeader = false;
        bool isEntry = false;
    };
    [[nodiscard]] std::ptrdiff_t findEntry(std::string_view section, std::string_view key) const;

    std::string m_path;
    std::string m_fallbackPath;
    std::vector<Line> m_lines;
    std::vector<Line> m_fallbackLines;
    State m_state = State::Missing;
};

// Stateless helpers for one-off reads and writes by file, section and key.
[[nodiscard]] long readSettingInt(const std::string& file, std::string_view section,
                                  std::string_view key, long defaultValue);
[[nodiscard]] bool writeSettingInt(const std::string& file, std::string_view section,
                                   std::string_view key, long value);
[[nodiscard]] std::string readSettingString(const std::string& file, std::string_view section,
                                            std::string_view key, const std::string& defaultValue);
[[nodiscard]] bool writeSettingString(const std::string& file, std::string_view section,
                                      std::string_view key, std::string_view value);

// The [Ports] section as a port map's overrides: port n to the device its key "COMn" names, or
// an empty text. Reads `settings` at every call, so the file must outlive the lookup.
[[nodiscard]] std::function<std::string(int)> portDevices(const SettingsFile& settings);

}  // namespace kaldor
