#include "files/settings_file.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "files/atomic_file.h"

namespace kaldor {
namespace {

std::string_view trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : m_path(std::move(path)) {
    load();
}

SettingsFile::SettingsFile(std::string path, std::string fallbackPath)
    : m_path(std::move(path)), m_fallbackPath(std::move(fallbackPath)) {
    load();
}

void SettingsFile::load() {
    m_fallbackLines.clear();
    if (!m_fallbackPath.empty() && m_fallbackPath != m_path) {
        SettingsFile under(m_fallbackPath);
        m_fallbackLines = std::move(under.m_lines);
    }
    m_lines.clear();
    m_state = State::Missing;
    if (m_path.empty())
        return;
    errno = 0;
    std::FILE* f = std::fopen(m_path.c_str(), "rb");
    if (f == nullptr) {
        // Only a file that is not there may be created; one that is there but cannot be opened
        // is someone's file.
        if (errno != ENOENT)
            m_state = State::Unreadable;
        return;
    }
    std::string text;
    char buffer[4096];
    bool tooLarge = false;
    std::size_t n = 0;
    while (!tooLarge && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        text.append(buffer, n);
        tooLarge = text.size() > kMaxFileSize;
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed || tooLarge) {
        m_state = State::Unreadable;
        return;
    }
    parse(text);
}

void SettingsFile::parse(std::string_view text) {
    m_lines.clear();
    if (text.size() > kMaxFileSize || text.find('\0') != std::string_view::npos) {
        m_state = State::Unreadable;
        return;
    }
    m_state = State::Read;
    std::string current;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view rawLine = text.substr(start, end - start);
        if (!rawLine.empty() && rawLine.back() == '\r')
            rawLine.remove_suffix(1);
        Line line;
        line.raw = std::string(rawLine);
        const std::string_view t = trim(rawLine);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            line.isHeader = true;
            line.section = std::string(trim(t.substr(1, t.size() - 2)));
            current = line.section;
        } else if (!t.empty() && t.front() != ';' && t.find('=') != std::string_view::npos) {
            const std::size_t eq = t.find('=');
            line.isEntry = true;
            line.section = current;
            line.key = std::string(trim(t.substr(0, eq)));
            line.value = std::string(trim(t.substr(eq + 1)));
        }
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
}

std::string SettingsFile::text() const {
    std::string out;
    for (const Line& l : m_lines) {
        out += l.raw;
        out += "\r\n";
    }
    return out;
}

bool SettingsFile::save() const {
    if (m_path.empty() || !mayWrite())
        return false;
    // The user's configuration folder may not exist before the first save.
    if (!m_fallbackPath.empty()) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
    }
    return !writeFileAtomically(m_path, text()).has_value();
}

std::ptrdiff_t SettingsFile::findEntry(std::string_view section, std::string_view key) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& l = m_lines[i];
        if (l.isEntry && equalNoCase(l.section, section) && equalNoCase(l.key, key))
            return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

std::optional<std::string> SettingsFile::value(std::string_view section,
                                               std::string_view key) const {
    const std::ptrdiff_t i = findEntry(section, key);
    if (i >= 0)
        return m_lines[static_cast<std::size_t>(i)].value;
    for (const Line& l : m_fallbackLines)
        if (l.isEntry && equalNoCase(l.section, section) && equalNoCase(l.key, key))
            return l.value;
    return std::nullopt;
}

std::string SettingsFile::readString(std::string_view section, std::string_view key,
                                     const std::string& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

long SettingsFile::readInt(std::string_view section, std::string_view key,
                           long defaultValue) const {
    const std::optional<std::string> v = value(section, key);
    if (!v)
        return defaultValue;
    // from_chars takes exactly an optional minus sign and digits: no plus sign, no white space.
    const std::string_view text = *v;
    long n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size())
        return defaultValue;
    return n;
}

void SettingsFile::writeString(std::string_view section, std::string_view key,
                               std::string_view value) {
    // A line break in a value would split it into lines of its own: values are one line.
    std::string clean(value);
    for (char& c : clean)
        if (c == '\r' || c == '\n')
            c = ' ';
    const std::ptrdiff_t i = findEntry(section, key);
    if (i >= 0) {
        Line& existing = m_lines[static_cast<std::size_t>(i)];
        existing.value = clean;
        existing.raw = existing.key + "=" + clean;  // keeps the spelling the file already uses
        return;
    }
    Line entry;
    entry.isEntry = true;
    entry.key = std::string(key);
    entry.value = clean;
    entry.raw = entry.key + "=" + clean;
    // Append at the end of the section (after its last line), or as a new section at the end.
    std::ptrdiff_t header = -1;
    for (std::size_t j = 0; j < m_lines.size(); ++j)
        if (m_lines[j].isHeader && equalNoCase(m_lines[j].section, section))
            header = static_cast<std::ptrdiff_t>(j);
    if (header < 0) {
        Line h;
        h.isHeader = true;
        h.section = std::string(section);
        h.raw = "[" + h.section + "]";
        m_lines.push_back(std::move(h));
        entry.section = std::string(section);
        m_lines.push_back(std::move(entry));
        return;
    }
    std::size_t insertAt = static_cast<std::size_t>(header) + 1;
    while (insertAt < m_lines.size() && !m_lines[insertAt].isHeader)
        ++insertAt;
    // Keep blank lines that separate sections after the new entry.
    while (insertAt > static_cast<std::size_t>(header) + 1 &&
           trim(m_lines[insertAt - 1].raw).empty())
        --insertAt;
    entry.section = m_lines[static_cast<std::size_t>(header)].section;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

void SettingsFile::writeInt(std::string_view section, std::string_view key, long value) {
    writeString(section, key, std::to_string(value));
}

long readSettingInt(const std::string& file, std::string_view section, std::string_view key,
                    long defaultValue) {
    return SettingsFile(file).readInt(section, key, defaultValue);
}

bool writeSettingInt(const std::string& file, std::string_view section, std::string_view key,
                     long value) {
    SettingsFile settings(file);
    settings.writeInt(section, key, value);
    return settings.save();
}

std::string readSettingString(const std::string& file, std::string_view section,
                              std::string_view key, const std::string& defaultValue) {
    return SettingsFile(file).readString(section, key, defaultValue);
}

bool writeSettingString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
    SettingsFile settings(file);
    settings.writeString(section, key, value);
    return settings.save();
}

std::function<std::string(int)> portDevices(const SettingsFile& settings) {
    return [&settings](int portNumber) {
        return settings.readString("Ports", "COM" + std::to_string(portNumber), "");
    };
}

}  // namespace kaldor
