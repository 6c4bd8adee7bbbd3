// The axis side of the main map editor: map types, the throttle-signal kind, axis presets, the
// characteristic-point mode, the axis save and the engine-speed axis after a new rpm signal type.
#include <array>
#include <optional>

#include "maps/main_map_editor.h"
#include "maps/map_axes.h"
#include "maps/map_types.h"
#include "model/codec.h"
#include "model/fields.h"

namespace kaldor {
namespace {

constexpr unsigned kMinRevisionForTpsRpm = 2;
constexpr int kAxisWords = kMainMapColumns + kMainMapRows;
constexpr int kAxisWordPauseMs = 10;

std::string columnName(int column) {
    return "column " + std::to_string(column);
}

std::string rowName(int row) {
    return "row " + std::to_string(row);
}

}  // namespace

void MainMapEditor::putColumnTexts(const ColumnAxisTexts& texts) {
    for (int c = 1; c <= kMainMapColumns; ++c)
        m_grid.setText(c, 0, headingText(texts.values[c - 1], texts.format, m_decimalPoint));
}

void MainMapEditor::putRowTexts(const RowAxisTexts& texts) {
    for (int r = 1; r <= kMainMapRows; ++r)
        m_grid.setText(0, r, headingText(texts.values[r - 1], texts.format, m_decimalPoint));
}

void MainMapEditor::putDefaultAxes(unsigned type) {
    const MapTypeDef* def = mapTypeDef(type);
    if (def == nullptr)
        return;
    const bool tpsSwitch = readField(m_image, FieldId::TpsSwitch) != 0;
    m_grid.setText(0, 0, def->corner);
    if (const auto columns = defaultColumnAxis(type, tpsSwitch))
        putColumnTexts(*columns);
    else
        m_grid.setText(1, 0, kNoColumnAxisText);
    if (const auto rows = defaultRowAxis(type))
        putRowTexts(*rows);
    m_layout.mapType = static_cast<int>(type);
    m_layout.colCount = mainMapColCount(type, tpsSwitch);
    // Hidden for every type but the throttle map, as the refresh from the image does.
    m_layout.tpsTypShown = def->tpsTypShown;
    m_layout.tpsTypItem = tpsSwitch ? 1 : 0;
}

MapTypeOutcome MainMapEditor::mapTypeChosen(int item, unsigned softwareRevision) {
    MapTypeOutcome outcome;
    if (item < 0 || item >= kMapTypeCount) {
        outcome.layout = m_layout;
        return outcome;
    }
    // Refused before anything is stored or sent: the list goes back to the type in force.
    if (softwareRevision < kMinRevisionForTpsRpm && static_cast<unsigned>(item) == kMapTypeTpsRpm) {
        outcome.refusal = kMsgEcuOptionNa;
        outcome.layout = m_layout;
        outcome.changed = true;
        return outcome;
    }
    storeField(m_image, FieldId::MainMapType, static_cast<std::uint32_t>(item));
    m_sender.sendField(FieldId::MainMapType);
    putDefaultAxes(static_cast<unsigned>(item));
    outcome.save = saveAxes();
    outcome.layout = m_layout;
    outcome.changed = true;
    return outcome;
}

MapTypeOutcome MainMapEditor::tpsKindChosen(int item) {
    MapTypeOutcome outcome;
    if (item != 0 && item != 1) {
        outcome.layout = m_layout;
        return outcome;
    }
    const bool tpsSwitch = item == 1;
    storeField(m_image, FieldId::TpsSwitch, static_cast<std::uint32_t>(item));
    m_sender.sendField(FieldId::TpsSwitch);
    m_grid.setText(0, 0, kMapTypes[kMapTypeTps].corner);
    putRowTexts(tpsKindRowAxis());
    if (const auto columns = defaultColumnAxis(kMapTypeTps, tpsSwitch))
        putColumnTexts(*columns);
    m_layout.colCount = mainMapColCount(kMapTypeTps, tpsSwitch);
    m_layout.tpsTypItem = item;
    outcome.save = saveAxes();
    outcome.layout = m_layout;
    outcome.changed = true;
    return outcome;
}

bool MainMapEditor::columnPresetChosen(int item) {
    const auto texts = columnPreset(item, readField(m_image, FieldId::MainMapType),
                                    readField(m_image, FieldId::TpsSwitch) != 0);
    if (!texts)
        return false;
    putColumnTexts(*texts);
    return true;
}

bool MainMapEditor::rowPresetChosen(int item) {
    const auto texts = rowPreset(item);
    if (!texts)
        return false;
    putRowTexts(*texts);
    return true;
}

CharPointLayout MainMapEditor::charPointModeChanged(bool ticked) {
    CharPointLayout layout;
    m_charPointMode = ticked;
    layout.on = ticked;
    if (ticked) {
        layout.fixedCells = 0;
        layout.presetsShown = true;
        return layout;
    }
    layout.save = saveAxes();
    return layout;
}

bool MainMapEditor::axisCellEditable(int column, int row) const {
    const bool inside =
        column >= 0 && column < m_layout.colCount && row >= 0 && row < kMainMapGridRows;
    return m_charPointMode && inside && (row == 0 || column == 0);
}

AxisSaveOutcome MainMapEditor::saveAxes() {
    AxisSaveOutcome outcome;
    // Without a controller the axes still go into the image, so the image never holds one map
    // type with another's axes; they reach the controller with the next write of the image.
    const bool send = m_sender.connected();
    if (send)
        resetProgress(kAxisWords);

    // Every text is converted before anything is stored, so a bad one leaves the image as the
    // controller has it.
    std::array<std::optional<std::uint16_t>, kMainMapColumns> columns{};
    std::array<std::optional<std::uint16_t>, kMainMapRows> rows{};
    if (const MapTypeDef* def = mapTypeDef(readField(m_image, FieldId::MainMapType))) {
        const int signalType = static_cast<int>(readField(m_image, FieldId::RpmSignalType));
        const auto convert = [&](AxisKind kind, int column, int row, const std::string& cell,
                                 std::optional<std::uint16_t>& word) {
            if (kind == AxisKind::None)
                return true;
            AxisConversion c =
                convertAxisText(kind, m_grid.text(column, row), signalType, m_decimalPoint, cell);
            word = c.word;
            outcome.message = std::move(c.message);
            return word.has_value();
        };
        bool accepted = true;
        for (int c = 1; c <= kMainMapColumns && accepted; ++c)
            accepted = convert(def->columns, c, 0, columnName(c), columns[c - 1]);
        for (int r = 1; r <= kMainMapRows && accepted; ++r)
            accepted = convert(def->rows, 0, r, rowName(r), rows[r - 1]);
        if (!accepted) {
            outcome.result = AxisSaveOutcome::Result::Refused;
            return outcome;
        }
    }
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i])
            storeField(m_image, FieldId::MainMapColumnAxis, *columns[i], i);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i])
            storeField(m_image, FieldId::MainMapRowAxis, *rows[i], i);
    if (!send)
        return outcome;

    for (int i = 0; i < kAxisWords; ++i) {
        m_progress.step();
        if (i < kMainMapColumns)
            m_sender.sendField(FieldId::MainMapColumnAxis, static_cast<std::size_t>(i));
        else
            m_sender.sendField(FieldId::MainMapRowAxis,
                               static_cast<std::size_t>(i - kMainMapColumns));
        m_sender.pause(kAxisWordPauseMs);
    }
    outcome.result = AxisSaveOutcome::Result::Saved;
    return outcome;
}

std::string MainMapEditor::rpmAxisAfterSignalTypeChange(double cruiseRpmShown) {
    if (readField(m_image, FieldId::MainMapType) != kMapTypeRpm)
        return {};
    const int signalType = static_cast<int>(readField(m_image, FieldId::RpmSignalType));
    std::array<std::uint16_t, kMainMapColumns> periods{};
    std::string message;
    for (int c = 1; c <= kMainMapColumns && message.empty(); ++c) {
        AxisConversion conversion = convertAxisText(AxisKind::EngineSpeed, m_grid.text(c, 0),
                                                    signalType, m_decimalPoint, columnName(c));
        periods[c - 1] = conversion.word.value_or(0);
        message = std::move(conversion.message);
    }
    if (message.empty()) {
        for (std::size_t i = 0; i < periods.size(); ++i)
            storeField(m_image, FieldId::MainMapColumnAxis, periods[i], i);
        for (std::size_t i = 0; i < periods.size(); ++i)
            m_sender.sendField(FieldId::MainMapColumnAxis, i);
    }
    // The cruise engine speed does not depend on the axis texts: it follows the new type anyway.
    if (storeShown(m_image, FieldId::CruiseRpmPeriod, cruiseRpmShown))
        m_sender.sendField(FieldId::CruiseRpmPeriod);
    return message;
}

}  // namespace kaldor
