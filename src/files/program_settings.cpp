#include "files/program_settings.h"

#include <limits>

#include "files/settings_file.h"

namespace kaldor {
namespace {

constexpr char kFormSection[] = "Form";
constexpr char kItemIndexKey[] = "ItemIndex";
constexpr char kColourKey[] = "Color";

int readInt(const SettingsFile& file, const char* section, const char* key, int defaultValue) {
    const long v = file.readInt(section, key, defaultValue);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(v);
}

}  // namespace

WindowGeometry applySizeRule(WindowGeometry g, const ScreenArea& screen) {
    bool centre = false;
    if (g.width < kMinWindowWidth) {
        g.width = kMinWindowWidth;
        centre = true;
    }
    if (g.height < kMinWindowHeight) {
        g.height = kMinWindowHeight;
        centre = true;
    }
    if (centre) {
        g.left = screen.left + (screen.width - g.width) / 2;
        g.top = screen.top + (screen.height - g.height) / 2;
    }
    return g;
}

ProgramSettings ProgramSettingsStore::load() {
    ProgramSettings s;
    const SettingsFile file(m_path, m_fallbackPath);
    m_blocked = !file.mayWrite();
    if (m_blocked)
        return s;
    s.windowStored = file.value(kFormSection, "Width").has_value() &&
                     file.value(kFormSection, "Height").has_value();
    const WindowGeometry defaults;
    s.window.top = readInt(file, kFormSection, "Top", defaults.top);
    s.window.left = readInt(file, kFormSection, "Left", defaults.left);
    s.window.height = readInt(file, kFormSection, "Height", defaults.height);
    s.window.width = readInt(file, kFormSection, "Width", defaults.width);
    for (std::size_t i = 0; i < kScopeSelectorCount; ++i) {
        const int item = readInt(file, kScopeSelectorSections[i], kItemIndexKey, 0);
        s.scopeSelectors[i] = item >= 0 && item < kScopeSelectorItems ? item : kNoSelection;
    }
    return s;
}

bool ProgramSettingsStore::store(const ProgramSettings& s) {
    if (m_blocked)
        return false;
    // Read again: entries written by hand or by another run since the first activation stay.
    SettingsFile file(m_path, m_fallbackPath);
    if (!file.mayWrite())
        return false;
    file.writeInt(kFormSection, "Top", s.window.top);
    file.writeInt(kFormSection, "Left", s.window.left);
    file.writeInt(kFormSection, "Height", s.window.height);
    file.writeInt(kFormSection, "Width", s.window.width);
    for (std::size_t i = 0; i < kScopeSelectorCount; ++i)
        file.writeInt(kScopeSelectorSections[i], kItemIndexKey, s.scopeSelectors[i]);
    for (std::size_t i = 0; i < kDisplayColours.size(); ++i)
        file.writeInt(kDisplayColours[i].section, kColourKey, s.colours[i]);
    return file.save();
}

}  // namespace kaldor
