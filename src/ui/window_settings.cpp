#include "ui/window_settings.h"

#include <algorithm>

#include "ui/main_window.h"
#include "ui/pages/readings/scope_view.h"

#include <QApplication>
#include <QColorDialog>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace kaldor {

namespace {

// The display colour each hidden colour button changes, Button2 .. Button10, ButtonFormColor.
constexpr std::array<const char*, WindowSettings::kColourButtons> kColourButtonSections{
    "KolorWskaznikowJasny",    // Button2 "C1"
    "KolorWskaznikowCiemny",   // Button3 "C2"
    "KolorWskaznikowSredni",   // Button4 "C3"
    "KolorWskaznikaBaru",      // Button5 "C4"
    "KolorKreskiBaru",         // Button6 "C5"
    "KolorWskaznikaBaruBack",  // Button7 "B4"
    "KolorKreskiBaruBack",     // Button8 "B5"
    "KoloryTekstu1",           // Button9 "CTx1"
    "KoloryTekstu2",           // Button10 "CTx2"
    "KolorFormy",              // ButtonFormColor
};

constexpr std::size_t settingOf(const char* section) {
    for (std::size_t i = 0; i < kDisplayColours.size(); ++i) {
        const char* a = kDisplayColours[i].section;
        const char* b = section;
        while (*a != '\0' && *a == *b) {
            ++a;
            ++b;
        }
        if (*a == *b)
            return i;
    }
    return kDisplayColours.size();
}

constexpr bool everyButtonHasItsColour() {
    for (const char* section : kColourButtonSections)
        if (settingOf(section) >= kDisplayColours.size())
            return false;
    return true;
}
static_assert(everyButtonHasItsColour());

constexpr std::uint32_t kSystemColourBit = 0x80000000u;

}  // namespace

std::int32_t colourValue(const QColor& colour) {
    const auto rgb = static_cast<std::uint32_t>(colour.red()) |
                     static_cast<std::uint32_t>(colour.green()) << 8 |
                     static_cast<std::uint32_t>(colour.blue()) << 16;
    return static_cast<std::int32_t>(rgb);
}

QColor colourOf(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    // The only system colour the program starts with is the face colour of buttons.
    if ((v & kSystemColourBit) != 0)
        return QApplication::palette().color(QPalette::Button);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>(v >> 8 & 0xFF),
                  static_cast<int>(v >> 16 & 0xFF));
}

WindowSettings::WindowSettings(MainWindow& window, Oscilloscope& scope, std::string path,
                               std::string fallbackPath)
    : m_window(window), m_scope(scope), m_store(std::move(path), std::move(fallbackPath)) {
    m_askColour = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, &m_window);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
}

void WindowSettings::apply() {
    const ProgramSettings settings = m_store.load();
    const QScreen* screen =
        m_window.screen() != nullptr ? m_window.screen() : QGuiApplication::primaryScreen();
    ScreenArea area;
    if (screen != nullptr) {
        const QRect available = screen->availableGeometry();
        area = {available.left(), available.top(), available.width(), available.height()};
    }
    // The stored values are the outer frame's; move() places the frame, resize() the inside.
    WindowGeometry g = applySizeRule(settings.window, area);
    const QSize extra = m_window.frameExtra();
    if (!settings.windowStored) {
        // The first start: the size the pages are laid out for, within the screen, centred.
        g.width = MainWindow::kBuiltInWidth + extra.width();
        g.height = MainWindow::kBuiltInHeight + extra.height();
        if (area.width > 0 && area.height > 0) {
            g.width = std::min(g.width, area.width);
            g.height = std::min(g.height, area.height);
            g.left = area.left + (area.width - g.width) / 2;
            g.top = area.top + (area.height - g.height) / 2;
        }
    }
    m_window.move(g.left, g.top);
    m_window.resize(g.width - extra.width(), g.height - extra.height());
    m_scope.selectItems(settings.scopeSelectors);
}

bool WindowSettings::store() {
    ProgramSettings settings;
    const QRect frame = m_window.frameGeometry();
    settings.window = {frame.top(), frame.left(), frame.height(), frame.width()};
    settings.scopeSelectors = m_scope.selectedItems();
    settings.colours = m_colours;
    return m_store.store(settings);
}

void WindowSettings::attachColourButtons(const std::array<QPushButton*, kColourButtons>& buttons) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const std::size_t setting = settingOf(kColourButtonSections[i]);
        QObject::connect(buttons[i], &QPushButton::clicked, &m_window,
                         [this, setting] { chooseColour(setting); });
    }
}

void WindowSettings::chooseColour(std::size_t setting) {
    if (setting >= m_colours.size() || !m_askColour)
        return;
    if (const std::optional<QColor> chosen = m_askColour(colourOf(m_colours[setting])))
        m_colours[setting] = colourValue(*chosen);
}

}  // namespace kaldor
