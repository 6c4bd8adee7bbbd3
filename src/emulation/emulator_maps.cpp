#include "emulation/emulator_maps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "live/live_signals.h"
#include "maps/grid_edit.h"
#include "maps/main_map.h"
#include "model/fixed_text.h"
#include "model/number_text.h"
#include "model/revision_rules.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr std::int64_t kWordMax = 0xFFFF;
constexpr Rgb kLiveFill{139, 217, 233};
constexpr Rgb kLiveText{255, 0, 0};
constexpr Rgb kLiveValueFill{0, 255, 0};
constexpr Rgb kBlack{0, 0, 0};
// The percentage a cell's colour is worked out from is scaled to the main map's range.
constexpr double kColourScale = 0.4;
constexpr int kInputPauseMs = 1;
constexpr int kWordPauseMs = 10;

std::optional<EmuAxisUnit> unitOf(unsigned channel) {
    for (std::size_t i = 0; i < kEmuInputs.size(); ++i)
        if (kInputChannelWords[i] == channel)
            return kEmuInputs[i].unit;
    return std::nullopt;
}

unsigned inputChannel(const EcuImage& image) {
    return readField(image, FieldId::EmuInputChannel);
}

// Two decimals of at most three significant digits, as the axis has always been shown: 12.345
// shows as "12.30". Axis values stay below 1000.
std::string axisNumber(double value, char decimalPoint) {
    const double magnitude = std::fabs(value);
    const int decimals = magnitude >= 100 ? 0 : magnitude >= 10 ? 1 : 2;
    std::string text = fixedText(value, decimals, decimalPoint);
    if (decimals == 0)
        text += decimalPoint;
    text.append(static_cast<std::size_t>(2 - decimals), '0');
    return text;
}

}  // namespace

AxisConversion emuAxisWord(unsigned channel, std::string_view text, char decimalPoint, int column) {
    AxisConversion result;
    const std::optional<EmuAxisUnit> unit = unitOf(channel);
    if (!unit)
        return result;
    const std::optional<long double> value = parseNumber(text, decimalPoint);
    if (!value) {
        result.message = notANumberMessage(text);
        return result;
    }
    std::int64_t word = 0;
    switch (*unit) {
        case EmuAxisUnit::TpsVolts:
            word = EmuAxisTpsVoltsToCounts(*value);
            break;
        case EmuAxisUnit::Volts:
            word = EmuAxisVoltsToCounts(*value);
            break;
        case EmuAxisUnit::InjectionTime:
            word = InjTimeToRaw(static_cast<double>(*value));
            break;
    }
    // A value that does not fit would be stored wrapped and mean something quite different.
    if (word < 0 || word > kWordMax) {
        result.message = "Axis value '" + std::string(text) + "' in column " +
                         std::to_string(column) + " is out of range";
        return result;
    }
    result.word = static_cast<std::uint16_t>(word);
    return result;
}

std::optional<std::string> emuAxisText(unsigned channel, std::uint16_t raw, char decimalPoint) {
    const std::optional<EmuAxisUnit> unit = unitOf(channel);
    if (!unit)
        return std::nullopt;
    switch (*unit) {
        case EmuAxisUnit::TpsVolts:
            return axisNumber(EmuAxisTpsVoltsFromCounts(raw), decimalPoint);
        case EmuAxisUnit::Volts:
            return axisNumber(AdcToVolts(raw), decimalPoint);
        case EmuAxisUnit::InjectionTime:
            return axisNumber(RawToInjTime(raw), decimalPoint);
    }
    return std::nullopt;
}

int stepLiveColumn(std::uint16_t stepperPosition) {
    int column = 0;
    for (int k = 1; k < kEmuColumns; ++k)
        if (stepperPosition >= kStepAxis[static_cast<std::size_t>(k)])
            column = k;
    return column;
}

int tpsLiveColumn(const LiveFrame& frame, const EcuImage& image) {
    const std::uint16_t input = liveWordNumbered(frame, inputChannel(image));
    int column = 0;
    for (int k = 1; k < kEmuColumns; ++k)
        if (input >= readField(image, FieldId::TpsEmulatorAxis, static_cast<std::size_t>(k)))
            column = k;
    return column;
}

std::optional<int> emuKeyStep(int key) {
    // The main map's keys with Shift held: the big step.
    return mainMapKeyStep(key, true);
}

EmulatorMaps::EmulatorMaps(EcuImage& image, FieldSender& sender, char decimalPoint)
    : m_image(image), m_sender(sender), m_decimalPoint(decimalPoint) {
    // An empty cell shows and becomes "0" when first drawn; so does every cell from the start.
    for (GridTexts* g : {&m_tps, &m_step})
        for (int row = 0; row < kEmuGridRows; ++row)
            for (int c = 1; c <= kEmuColumns; ++c)
                g->setText(c, row, "0");
    showHeadings(EmuGrid::Tps);
    showHeadings(EmuGrid::Step);
}

GridTexts& EmulatorMaps::grid(EmuGrid which) {
    return which == EmuGrid::Tps ? m_tps : m_step;
}

const GridTexts& EmulatorMaps::grid(EmuGrid which) const {
    return which == EmuGrid::Tps ? m_tps : m_step;
}

void EmulatorMaps::showHeadings(EmuGrid which) {
    GridTexts& g = grid(which);
    g.setText(0, 0, which == EmuGrid::Tps ? "Var" : "Step");
    g.setText(0, 1, "K1");
    g.setText(0, 2, "K2");
    if (which == EmuGrid::Step)
        for (int c = 1; c <= kEmuColumns; ++c)
            g.setText(c, 0, std::to_string(kStepAxis[static_cast<std::size_t>(c - 1)]));
}

void EmulatorMaps::showRows(EmuGrid which) {
    GridTexts& g = grid(which);
    for (int row = 1; row <= 2; ++row)
        for (int c = 1; c <= kEmuColumns; ++c) {
            const auto raw = readField(m_image, emuTableField(which), emuTableElement(c, row));
            g.setText(c, row, std::to_string(static_cast<std::int8_t>(raw & 0xFF)));
        }
}

EmuRangeShown EmulatorMaps::showTpsTable(unsigned softwareRevision, unsigned hardwareRevision) {
    showHeadings(EmuGrid::Tps);
    showRows(EmuGrid::Tps);
    const unsigned channel = inputChannel(m_image);
    for (int c = 1; c <= kEmuColumns; ++c) {
        const auto raw =
            readField(m_image, FieldId::TpsEmulatorAxis, static_cast<std::size_t>(c - 1));
        if (auto text = emuAxisText(channel, static_cast<std::uint16_t>(raw), m_decimalPoint))
            m_tps.setText(c, 0, std::move(*text));
    }
    EmuRangeShown range;
    if (emulatorRangeShown(softwareRevision, hardwareRevision)) {
        const auto number = [&](int c) -> std::optional<double> {
            if (auto v = parseNumber(m_tps.text(c, 0), m_decimalPoint))
                return static_cast<double>(*v);
            return std::nullopt;
        };
        range.minimum = number(1);
        range.maximum = number(kEmuColumns);
    }
    return range;
}

void EmulatorMaps::showStepTable() {
    showHeadings(EmuGrid::Step);
    showRows(EmuGrid::Step);
}

DnaTypeShown EmulatorMaps::dnaTypeShown() const {
    DnaTypeShown shown;
    const bool tpsOn = readField(m_image, FieldId::TpsEmulatorOn) != 0;
    const bool stepOn = readField(m_image, FieldId::StepEmulatorOn) != 0;
    if (tpsOn && stepOn) {
        shown.kind = DnaTypeShown::Kind::Custom;
        return shown;
    }
    // The presets of a kind differ in column 7 of row K1, whatever the signal's direction.
    constexpr int kTellingColumn = 7;
    const PresetKind kind = stepOn ? PresetKind::Mode : PresetKind::Dynamic;
    const std::optional<std::int32_t> value =
        parseInteger(grid(stepOn ? EmuGrid::Step : EmuGrid::Tps).text(kTellingColumn, 1));
    if (!value || *value == 0)
        return shown;
    const long long magnitude = std::llabs(*value);
    for (std::size_t i = 0; i < kDnaPresets.size(); ++i)
        if (kDnaPresets[i].kind == kind && magnitude == kDnaPresets[i].values[kTellingColumn - 1]) {
            shown.kind = DnaTypeShown::Kind::Item;
            shown.item = static_cast<int>(i);
        }
    return shown;
}

std::optional<EmulatorMaps::AxisWords> EmulatorMaps::axisWords(unsigned channel,
                                                               std::string& message) const {
    AxisWords words{};
    for (int c = 1; c <= kEmuColumns; ++c) {
        AxisConversion conversion = emuAxisWord(channel, m_tps.text(c, 0), m_decimalPoint, c);
        if (!conversion.message.empty()) {
            message = std::move(conversion.message);
            return std::nullopt;
        }
        words[static_cast<std::size_t>(c - 1)] = conversion.word;
    }
    return words;
}

EmuEditOutcome EmulatorMaps::inputChosen(int item) {
    EmuEditOutcome outcome;
    const std::optional<std::uint32_t> channel =
        rawValue(m_image, FieldId::EmuInputChannel, static_cast<double>(item));
    if (!channel)
        return outcome;
    const std::optional<AxisWords> words = axisWords(*channel, outcome.message);
    if (!words)
        return outcome;
    storeField(m_image, FieldId::EmuInputChannel, *channel);
    m_sender.pause(kInputPauseMs);
    m_sender.sendField(FieldId::EmuInputChannel);
    m_sender.pause(kWordPauseMs);
    for (std::size_t i = 0; i < words->size(); ++i) {
        if ((*words)[i])
            storeField(m_image, FieldId::TpsEmulatorAxis, *(*words)[i], i);
        m_sender.pause(kInputPauseMs);
        m_sender.sendField(FieldId::TpsEmulatorAxis, i);
        m_sender.pause(kWordPauseMs);
    }
    return outcome;
}

void EmulatorMaps::storeCell(EmuGrid which, int column, int row, int value) {
    const std::size_t element = emuTableElement(column, row);
    storeField(m_image, emuTableField(which), static_cast<std::uint32_t>(value) & 0xFF, element);
    m_sender.sendField(emuTableField(which), element);
}

EmuEditOutcome EmulatorMaps::stepCells(EmuGrid which, GridRect s, int step) {
    GridEdit edit;
    edit.firstColumn = 1;
    edit.lastColumn = kEmuColumns;
    edit.firstRow = 1;
    edit.lastRow = 2;
    edit.order = GridEdit::Order::TopDownLeftToRight;
    edit.minimum = -kEmuPercentLimit;
    edit.maximum = kEmuPercentLimit;
    edit.limitTowardsStepOnly = true;
    return kaldor::stepCells(grid(which), edit, s, step, [&](int column, int row, int value) {
        storeCell(which, column, row, value);
    });
}

AxisEditLayout EmulatorMaps::axisEditChanged(bool ticked) {
    AxisEditLayout layout;
    m_axisEditing = ticked;
    layout.on = ticked;
    if (ticked) {
        layout.fixedRows = 0;
        layout.valueButtonsEnabled = false;
        return layout;
    }
    const std::optional<AxisWords> words = axisWords(inputChannel(m_image), layout.save.message);
    if (!words)
        return layout;
    for (std::size_t i = 0; i < words->size(); ++i) {
        if ((*words)[i])
            storeField(m_image, FieldId::TpsEmulatorAxis, *(*words)[i], i);
        m_sender.sendField(FieldId::TpsEmulatorAxis, i);
        m_sender.pause(kWordPauseMs);
    }
    return layout;
}

bool EmulatorMaps::axisCellEditable(int column, int row) const {
    return m_axisEditing && row == 0 && column >= 1 && column <= kEmuColumns;
}

bool EmulatorMaps::updateLiveColumns(const LiveFrame& frame) {
    const int step =
        stepLiveColumn(static_cast<std::uint16_t>(liveRaw(frame, LiveSignal::StepperPosition)));
    const int tps = tpsLiveColumn(frame, m_image);
    const bool moved = step != m_stepLive || tps != m_tpsLive;
    m_stepLive = step;
    m_tpsLive = tps;
    return moved;
}

int EmulatorMaps::liveColumn(EmuGrid which) const {
    return which == EmuGrid::Tps ? m_tpsLive : m_stepLive;
}

MapCellLook EmulatorMaps::cellLook(EmuGrid which, int column, int row, bool selected) const {
    MapCellLook look;
    look.textDown = 1;
    look.text = grid(which).text(column, row);
    if (look.text.empty())
        look.text = "0";
    const bool live = column == liveColumn(which) + 1;
    if (live) {
        look.fill = kLiveFill;
        look.drawText = true;
        look.textColour = kLiveText;
    }
    if (row == 0 || column == 0)
        return look;
    if (live) {
        look.fill = kLiveValueFill;
    } else if (!selected) {
        const long double value = parseInteger(look.text).value_or(0);
        look.fill = MapCellColour(static_cast<long>(truncateToInt(value * kColourScale)));
    }
    look.drawText = true;
    look.textColour = kBlack;
    return look;
}

MapGridModel& EmulatorMaps::model(EmuGrid which) {
    return which == EmuGrid::Tps ? m_tpsModel : m_stepModel;
}

GridTexts& EmulatorGridModel::texts() {
    return m_maps.grid(m_which);
}

MapCellLook EmulatorGridModel::cellLook(int column, int row, bool selected) const {
    return m_maps.cellLook(m_which, column, row, selected);
}

std::optional<int> EmulatorGridModel::keyStep(int key, bool /*shift*/) const {
    return m_which == EmuGrid::Tps ? emuKeyStep(key) : std::nullopt;
}

MapEditOutcome EmulatorGridModel::stepSelection(GridRect selection, int step) {
    return m_maps.stepCells(m_which, selection, step);
}

bool EmulatorGridModel::editableInPlace(int column, int row) const {
    return m_which == EmuGrid::Tps && m_maps.axisCellEditable(column, row);
}

}  // namespace kaldor
