#pragma once
// The program's settings file as the window uses it: at the first activation the stored place
// and size of the window (through the size rule) and the four scope channel selectors; at
// closing the window, the selectors and the ten display colours written back, everything else
// in the file kept. The hidden colour buttons of the readings page change the display colours
// for the rest of the run.
#include <QColor>
#include <QPushButton>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "files/program_settings.h"

namespace kaldor {

class MainWindow;
class Oscilloscope;

// Display colours are kept as the settings file writes them: 0x00BBGGRR, or a system colour when
// the top bit is set.
[[nodiscard]] std::int32_t colourValue(const QColor& colour);
[[nodiscard]] QColor colourOf(std::int32_t value);

class WindowSettings {
public:
    // The colour dialog: the colour chosen, nothing when cancelled.
    using ColourQuestion = std::function<std::optional<QColor>(const QColor& initial)>;
    static constexpr std::size_t kColourButtons = 10;

    // `fallbackPath`: the file read under `path` (see files/settings_location.h), or "".
    WindowSettings(MainWindow& window, Oscilloscope& scope, std::string path,
                   std::string fallbackPath = {});

    // First activation.
    void apply();
    // Closing, after the link is closed. False when nothing was written: a file the program
    // could not read is left as it is.
    bool store();
    // False when the file could not be read at the first activation: it is then left alone on
    // purpose, and store() failing says nothing new.
    [[nodiscard]] bool writesAtClosing() const { return m_store.writesAtClosing(); }

    // Button2 .. Button10 and ButtonFormColor, in that order.
    void attachColourButtons(const std::array<QPushButton*, kColourButtons>& buttons);
    // Asks for a new value of display colour `setting` and keeps it when confirmed.
    void chooseColour(std::size_t setting);
    void setColourQuestion(ColourQuestion question) { m_askColour = std::move(question); }
    [[nodiscard]] std::int32_t colour(std::size_t setting) const { return m_colours.at(setting); }

private:
    MainWindow& m_window;
    Oscilloscope& m_scope;
    ProgramSettingsStore m_store;
    std::array<std::int32_t, kDisplayColours.size()> m_colours = initialDisplayColours();
    ColourQuestion m_askColour;
};

}  // namespace kaldor
