// The presets of ComboBoxDnaType, "SET" and the emulator tables of the defaults reset: everything
// that writes both emulator tables out from the grids.
#include <cmath>

#include "emulation/emulator_maps.h"
#include "emulation/emulator_settings.h"
#include "model/controller_defaults.h"
#include "model/number_text.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr int kPresetPauseMs = 5;
constexpr int kColumnPauseMs = 1;
constexpr int kResetColumnPauseMs = 2;

// The cells every write-out sends, column by column, in this order.
struct TableRow {
    EmuGrid grid;
    int row;
};
constexpr std::array<TableRow, 4> kWriteOutRows{{
    {EmuGrid::Step, 1},
    {EmuGrid::Step, 2},
    {EmuGrid::Tps, 1},
    {EmuGrid::Tps, 2},
}};

// SET's axis: column 1 the minimum, columns 2..11 the minimum plus these many twelfths of the
// range, column 12 the maximum.
constexpr std::array<long double, 10> kSetAxisTwelfths{1.0L, 1.2L, 2.4L, 4.0L,  5.5L,
                                                       6.9L, 8.0L, 9.0L, 10.0L, 11.0L};

bool convertsAxisInWriteOut(unsigned channel) {
    for (std::size_t i = 0; i < kEmuInputs.size(); ++i)
        if (kInputChannelWords[i] == channel)
            return kEmuInputs[i].unit != EmuAxisUnit::InjectionTime;
    return false;
}

}  // namespace

PresetShown EmulatorMaps::presetChosen(int item) {
    PresetShown shown;
    const bool isItem = item >= 0 && static_cast<std::size_t>(item) < kDnaPresets.size();
    const DnaPreset* preset = isItem ? &kDnaPresets[static_cast<std::size_t>(item)] : nullptr;

    // The percentages as the grids will show them, checked before anything changes.
    std::array<std::array<int, kEmuColumns>, kWriteOutRows.size()> values{};
    const bool rising[2] = {readField(m_image, FieldId::DnaSignal1Falling) == 0,
                            readField(m_image, FieldId::DnaSignal2Falling) == 0};
    for (std::size_t r = 0; r < kWriteOutRows.size(); ++r) {
        const TableRow& t = kWriteOutRows[r];
        const bool filled =
            preset && (preset->kind == PresetKind::Off ||
                       (preset->kind == PresetKind::Mode) == (t.grid == EmuGrid::Step));
        for (int c = 1; c <= kEmuColumns; ++c) {
            const std::size_t i = static_cast<std::size_t>(c - 1);
            if (filled) {
                const int v = preset->values[i];
                values[r][i] = rising[t.row - 1] ? -v : v;
                continue;
            }
            const std::string& text = grid(t.grid).text(c, t.row);
            const std::optional<std::int32_t> parsed = parseInteger(text);
            if (!parsed) {
                shown.message = notAnIntegerMessage(text);
                return shown;
            }
            values[r][i] = *parsed;
        }
    }
    const bool dynamic = preset && preset->kind == PresetKind::Dynamic;
    const unsigned channel =
        dynamic ? kInputChannelWords[kInputItemK1] : readField(m_image, FieldId::EmuInputChannel);
    std::optional<AxisWords> words;
    if (convertsAxisInWriteOut(channel)) {
        words = axisWords(channel, shown.message);
        if (!words)
            return shown;
    }

    if (preset) {
        const bool tpsOn = preset->kind == PresetKind::Dynamic;
        const bool stepOn = preset->kind == PresetKind::Mode;
        storeField(m_image, FieldId::TpsEmulatorOn, tpsOn ? 1u : 0u);
        storeField(m_image, FieldId::StepEmulatorOn, stepOn ? 1u : 0u);
        shown.tpsEmulatorItem = tpsOn ? 1 : 0;
        shown.stepEmulatorItem = stepOn ? 1 : 0;
    }
    if (dynamic) {
        storeField(m_image, FieldId::EmuInputChannel, channel);
        m_sender.sendField(FieldId::EmuInputChannel);
        shown.inputItem = kInputItemK1;
    }
    for (std::size_t r = 0; r < kWriteOutRows.size(); ++r)
        for (int c = 1; c <= kEmuColumns; ++c)
            grid(kWriteOutRows[r].grid)
                .setText(c, kWriteOutRows[r].row,
                         std::to_string(values[r][static_cast<std::size_t>(c - 1)]));

    m_sender.pause(kPresetPauseMs);
    m_sender.sendField(FieldId::TpsEmulatorOn);  // word 273, both map switches
    for (int c = 1; c <= kEmuColumns; ++c) {
        const std::size_t i = static_cast<std::size_t>(c - 1);
        for (std::size_t r = 0; r < kWriteOutRows.size(); ++r)
            storeCell(kWriteOutRows[r].grid, c, kWriteOutRows[r].row, values[r][i]);
        if (words && (*words)[i])
            storeField(m_image, FieldId::TpsEmulatorAxis, *(*words)[i], i);
        m_sender.sendField(FieldId::TpsEmulatorAxis, i);
        m_sender.pause(kColumnPauseMs);
    }
    return shown;
}

SetOutcome EmulatorMaps::setPressed(double measuredMinimum, double measuredMaximum,
                                    int presetItem) {
    SetOutcome outcome;
    outcome.minimum = limitedToSpin("AbNumSpinDnaMin1", measuredMinimum);
    outcome.maximum = limitedToSpin("AbNumSpinDnaMax1", measuredMaximum);
    const double range = outcome.maximum - outcome.minimum;
    if (truncateToInt(std::fabs(range)) == 0) {
        outcome.message = kMsgSignalRangeTooSmall;
        return outcome;
    }
    // A twelfth of the range in single precision, the axis values at extended precision.
    const float twelfth = static_cast<float>(range / kEmuColumns);
    m_tps.setText(1, 0, generalText(outcome.minimum, m_decimalPoint));
    for (std::size_t k = 0; k < kSetAxisTwelfths.size(); ++k) {
        const long double value = static_cast<long double>(outcome.minimum) +
                                  kSetAxisTwelfths[k] * static_cast<long double>(twelfth);
        m_tps.setText(static_cast<int>(k) + 2, 0,
                      generalText(static_cast<double>(value), m_decimalPoint));
    }
    m_tps.setText(kEmuColumns, 0, generalText(outcome.maximum, m_decimalPoint));
    outcome.preset = presetChosen(presetItem);
    return outcome;
}

PresetShown EmulatorMaps::resetTables() {
    PresetShown shown;
    storeField(m_image, FieldId::TpsEmulatorOn, 0);
    storeField(m_image, FieldId::StepEmulatorOn, 0);
    shown.tpsEmulatorItem = 0;
    shown.stepEmulatorItem = 0;
    for (const TableRow& t : kWriteOutRows)
        for (int c = 1; c <= kEmuColumns; ++c)
            grid(t.grid).setText(c, t.row, "0");
    for (int c = 1; c <= kEmuColumns; ++c)
        m_tps.setText(
            c, 0,
            generalText(kEmulatorAxisDefault[static_cast<std::size_t>(c - 1)], m_decimalPoint));
    shown.inputItem = kInputItemK1;
    shown.message = inputChosen(kInputItemK1).message;
    for (int c = 1; c <= kEmuColumns; ++c) {
        for (const TableRow& t : kWriteOutRows)
            storeCell(t.grid, c, t.row, 0);
        m_sender.pause(kResetColumnPauseMs);
    }
    return shown;
}

}  // namespace kaldor
