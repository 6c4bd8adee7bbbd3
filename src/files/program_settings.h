#pragma once
// What the program remembers between runs in its settings file: the main window's place and
// size and the four scope channel selectors, read at the first activation of the window, and the
// ten display colours, written at closing and never read. The window applies and collects the
// plain values; everything else in the file (the port mapping, foreign entries) is kept.
#include <array>
#include <cstdint>
#include <string>

namespace kaldor {

struct WindowGeometry {
    int top = 100;
    int left = 100;
    int height = 600;
    int width = 800;
};

// The screen's usable area the window is centred in.
struct ScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kMinWindowWidth = 800;
inline constexpr int kMinWindowHeight = 600;

// The size rule: a width below 800 or a height below 600 is raised to it, and then the window is
// centred on the screen at its new size.
[[nodiscard]] WindowGeometry applySizeRule(WindowGeometry geometry, const ScreenArea& screen);

inline constexpr std::size_t kScopeSelectorCount = 4;
inline constexpr int kScopeSelectorItems = 8;  // "OFF " .. "EGT"
inline constexpr int kNoSelection = -1;

// The settings file's section of each scope channel selector, channel order; key "ItemIndex".
inline constexpr std::array<const char*, kScopeSelectorCount> kScopeSelectorSections{
    "Form1->ComboBoxScopType", "Form1->ComboBoxScopeTypeRed", "Form1->ComboBoxScopeTypeBlue",
    "Form1->ComboBoxScopeTypeGreen"};

// The display colours (0x00BBGGRR; a set top bit names a system colour), key "Color".
struct DisplayColour {
    const char* section;
    std::int32_t initial;
};
inline constexpr std::array<DisplayColour, 10> kDisplayColours{{
    {"KolorWskaznikowJasny", 32808},
    {"KolorWskaznikowSredni", 32768},
    {"KolorWskaznikowCiemny", 32728},
    {"KolorWskaznikaBaru", 32728},
    {"KolorKreskiBaru", 32768},
    {"KolorWskaznikaBaruBack", 0},
    {"KolorKreskiBaruBack", 0},
    {"KoloryTekstu1", 128},
    {"KoloryTekstu2", 128},
    {"KolorFormy", -2147483633},  // the system's face colour
}};

[[nodiscard]] constexpr std::array<std::int32_t, kDisplayColours.size()> initialDisplayColours() {
    std::array<std::int32_t, kDisplayColours.size()> colours{};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = kDisplayColours[i].initial;
    return colours;
}

struct ProgramSettings {
    WindowGeometry window;      // as stored, before the size rule
    bool windowStored = false;  // the file holds a window size (false at the first start)
    std::array<int, kScopeSelectorCount> scopeSelectors{};  // item index, kNoSelection for none
    std::array<std::int32_t, kDisplayColours.size()> colours = initialDisplayColours();
};

class ProgramSettingsStore {
public:
    explicit ProgramSettingsStore(std::string path, std::string fallbackPath = {})
        : m_path(std::move(path)), m_fallbackPath(std::move(fallbackPath)) {}

    // At the first activation. A missing key, or a value that is not a decimal integer in the
    // range of an int, takes the default; a selector index outside 0..7 reads as kNoSelection.
    // The colours are never read: they come back at their initial values.
    [[nodiscard]] ProgramSettings load();
    // False once load() found a file that exists but cannot be read: the program then runs on
    // the defaults and leaves that file as it is.
    [[nodiscard]] bool writesAtClosing() const { return !m_blocked; }
    // At closing: writes the window, the selectors and the colours, keeping every other entry.
    // False when nothing was written (file unreadable, now or at load, or the write failed).
    [[nodiscard]] bool store(const ProgramSettings& settings);

    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_fallbackPath;
    bool m_blocked = false;
};

}  // namespace kaldor
