#pragma once
// Building the emulator pages' controls from the core's tables: lists from their items, spin
// editors from their ranges, buttons with their captions.
#include <QComboBox>
#include <QPushButton>
#include <QString>

#include <array>
#include <string_view>

#include "emulation/emulator_settings.h"
#include "ui/ui_build.h"

namespace kaldor {

[[nodiscard]] inline QString emuText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

template <std::size_t N>
QComboBox* emuList(QWidget* parent, const char* name,
                   const std::array<std::string_view, N>& items) {
    return namedList(parent, name, items);
}

// A spin editor with the range and step the core gives its name, shown in `format`.
inline AbNumSpin* emuSpin(QWidget* parent, const char* name, const char* format) {
    SpinSpec design{0, 0, 1, format, 0};
    for (const SpinRange& r : kEmulatorSpinRanges)
        if (std::string_view(name) == r.control)
            design = {r.minimum, r.maximum, r.step, format, r.minimum};
    return namedSpin(parent, name, design);
}

inline QPushButton* emuButton(QWidget* parent, const char* name, const char* caption) {
    return named<QPushButton>(parent, name, QString::fromLatin1(caption));
}

}  // namespace kaldor
