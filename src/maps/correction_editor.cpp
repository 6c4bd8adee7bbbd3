#include "maps/correction_editor.h"

#include "live/live_signals.h"
#include "model/fields.h"

namespace kaldor {
namespace {

const CorrectionMapDef& mapAt(int map) {
    return correctionMaps().at(static_cast<std::size_t>(map));
}

RowMapRange rangeOf(const CorrectionMapDef& def) {
    return {FieldId::CorrectionMaps, def.firstByte,         def.columns,
            kCorrectionMinPercent,   kCorrectionMaxPercent, false};
}

}  // namespace

CorrectionMapsModel::CorrectionMapsModel(EcuImage& image, FieldSender& sender, char decimalPoint)
    : m_image(image), m_sender(sender) {
    m_grids.reserve(kCorrectionMapCount);
    for (const CorrectionMapDef& def : correctionMaps()) {
        GridTexts& grid = m_grids.emplace_back(def.columns, kCorrectionGridRows);
        for (int c = 0; c < def.columns; ++c)
            grid.setText(c, 0, headingText(def.axis[c], def.axisFormat, decimalPoint));
    }
    m_applied.fill(kAppliedCorrectionInitial);
}

std::array<int, kCorrectionMapCount> CorrectionMapsModel::enableItems() const {
    const std::uint32_t bits = readField(m_image, FieldId::CorrectionMapEnable);
    std::array<int, kCorrectionMapCount> items{};
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = static_cast<int>((bits >> correctionMaps()[i].enableBit) & 1u);
    return items;
}

void CorrectionMapsModel::refresh() {
    for (std::size_t m = 0; m < correctionMaps().size(); ++m) {
        const CorrectionMapDef& def = correctionMaps()[m];
        for (int c = 0; c < def.columns; ++c) {
            const auto byte = readField(m_image, FieldId::CorrectionMaps,
                                        def.firstByte + static_cast<std::size_t>(c));
            m_grids[m].setText(c, 1, std::to_string(static_cast<std::int8_t>(byte)));
        }
    }
}

bool CorrectionMapsModel::enableChosen(int map, int item) {
    if (item < 0)
        return false;
    const unsigned bit = mapAt(map).enableBit;
    std::uint32_t bits = readField(m_image, FieldId::CorrectionMapEnable);
    bits = (bits & ~(1u << bit)) | ((static_cast<unsigned>(item) & 1u) << bit);
    storeField(m_image, FieldId::CorrectionMapEnable, bits);
    m_sender.sendField(FieldId::CorrectionMapEnable);
    return true;
}

MapEditOutcome CorrectionMapsModel::keyReleased(int map, GridRect selection, int key, bool shift) {
    return stepSelection(map, selection, mainMapKeyStep(key, shift).value_or(0));
}

MapEditOutcome CorrectionMapsModel::stepSelection(int map, GridRect selection, int step) {
    return stepRowMap(m_image, m_sender, grid(map), rangeOf(mapAt(map)), selection, step);
}

GridEdit CorrectionMapsModel::toolCells(int map) const {
    return rowMapEdit(rangeOf(mapAt(map)));
}

MapEditOutcome CorrectionMapsModel::writeCells(int map, const std::vector<CellValue>& cells) {
    return writeRowMap(m_image, m_sender, grid(map), rangeOf(mapAt(map)), cells);
}

void CorrectionMapsModel::liveUpdate(const LiveFrame& frame) {
    for (std::size_t m = 0; m < correctionMaps().size(); ++m) {
        const CorrectionMapDef& def = correctionMaps()[m];
        m_applied[m] = liveText(frame, def.applied, LiveContext{});
        m_liveColumns[m] = correctionLiveColumn(def, frame);
    }
}

MapCellLook CorrectionMapsModel::cellLook(int map, int column, int row) const {
    MapCellLook look;
    look.text = grid(map).text(column, row);
    if (column == liveColumn(map)) {
        look.fill = kLiveColumnColour;
        look.drawText = true;
        look.textColour = kLiveColumnTextColour;
        look.textDown = 1;
    }
    return look;
}

}  // namespace kaldor
