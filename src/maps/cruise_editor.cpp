#include "maps/cruise_editor.h"

#include <string>

#include "live/live_signals.h"
#include "maps/grid_headings.h"
#include "model/fields.h"
#include "model/number_text.h"

namespace kaldor {
namespace {

constexpr RowMapRange kCruiseRange{FieldId::CruiseMap, 0,   kCruiseMapColumns, 0,
                                   kCruiseMapMax,      true};

}  // namespace

int cruiseLiveColumn(const LiveFrame& frame, unsigned softwareRevision) {
    return cruiseLiveColumn(
        static_cast<std::uint16_t>(liveRaw(frame, LiveSignal::ManifoldPressure)), softwareRevision);
}

bool cruiseActive(const LiveFrame& frame) {
    return liveRaw(frame, LiveSignal::CruiseActive) != 0;
}

CruiseMapModel::CruiseMapModel(EcuImage& image, FieldSender& sender, char decimalPoint)
    : m_image(image), m_sender(sender), m_decimalPoint(decimalPoint) {
    // A new window shows the axis of the early revisions until a controller says otherwise.
    refreshHeading(0);
}

void CruiseMapModel::refreshHeading(unsigned softwareRevision) {
    const CruiseAxis& axis = cruiseAxis(softwareRevision);
    for (int c = 0; c < kCruiseMapColumns; ++c)
        m_grid.setText(c, 0,
                       headingText(axis[static_cast<std::size_t>(c)], HeadingFormat::Shortest,
                                   m_decimalPoint));
}

void CruiseMapModel::refresh() {
    for (int c = 0; c < kCruiseMapColumns; ++c)
        m_grid.setText(
            c, 1,
            std::to_string(readField(m_image, FieldId::CruiseMap, static_cast<std::size_t>(c))));
}

MapEditOutcome CruiseMapModel::keyReleased(GridRect selection, int key, bool shift) {
    return stepSelection(selection, mainMapKeyStep(key, shift).value_or(0));
}

MapEditOutcome CruiseMapModel::stepSelection(GridRect selection, int step) {
    return stepRowMap(m_image, m_sender, m_grid, kCruiseRange, selection, step);
}

GridEdit CruiseMapModel::toolCells() const {
    return rowMapEdit(kCruiseRange);
}

MapEditOutcome CruiseMapModel::writeCells(const std::vector<CellValue>& cells) {
    return writeRowMap(m_image, m_sender, m_grid, kCruiseRange, cells);
}

void CruiseMapModel::updateLiveColumn(const LiveFrame& frame, unsigned softwareRevision) {
    m_liveColumn = cruiseLiveColumn(frame, softwareRevision);
}

MapCellLook CruiseMapModel::cellLook(int column, int row, bool selected,
                                     const LiveFrame& frame) const {
    MapCellLook look;
    look.text = m_grid.text(column, row);
    if (look.text.empty())
        look.text = "0";
    const bool live = column == m_liveColumn;
    if (live) {
        look.fill = kLiveColumnColour;
        look.drawText = true;
        look.textColour = kLiveColumnTextColour;
        look.textDown = 1;
    }
    if (row == 1) {
        if (!selected)
            look.fill = MapCellColour(parseInteger(look.text).value_or(0));
        if (live && cruiseActive(frame))
            look.fill = kActiveCellColour;
        look.drawText = true;
        look.textColour = Rgb{};
        look.textDown = 1;
    }
    return look;
}

}  // namespace kaldor
