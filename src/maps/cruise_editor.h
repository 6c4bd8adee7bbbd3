#pragma once
// The cruise-control map as StringGridMapaTempomatu shows it: the pressure axis in row 0, the 24
// doses in row 1, edited with the plus and minus keys and the "+5", "+1", "-1", "-5" buttons,
// with the column the engine works in highlighted and turned green while cruise control holds.
#include "live/live_frame.h"
#include "maps/cruise_map.h"
#include "maps/grid_texts.h"
#include "maps/main_map.h"
#include "maps/row_map_edit.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"

namespace kaldor {

inline constexpr int kCruiseGridRows = 2;
inline constexpr int kCruiseMapMax = 250;
// ButtonTempoP5, ButtonTempoP1, ButtonTempoM1, ButtonTempoM5.
inline constexpr int kCruiseButtonSteps[] = {5, 1, -1, -5};

class CruiseMapModel {
public:
    CruiseMapModel(EcuImage& image, FieldSender& sender, char decimalPoint = '.');

    [[nodiscard]] GridTexts& grid() { return m_grid; }
    [[nodiscard]] const GridTexts& grid() const { return m_grid; }

    // Refresh step CruiseHeading: the pressure axis of the controller's software revision.
    void refreshHeading(unsigned softwareRevision);
    // Refresh step CruiseMap: the doses from the image.
    void refresh();

    // StringGridMapaTempomatuKeyUp: plus and minus step the selected columns, any other key
    // re-sends them unchanged. Right-most column first; each within 0..250, stored, sent, 5 ms
    // pause, shown. A text that does not parse stops there with the conversion message.
    MapEditOutcome keyReleased(GridRect selection, int key, bool shift);
    // The buttons, with kCruiseButtonSteps.
    MapEditOutcome stepSelection(GridRect selection, int step);
    // The selection tools, copy and paste: the cells within 0..250, written as a step edit
    // writes them.
    [[nodiscard]] GridEdit toolCells() const;
    MapEditOutcome writeCells(const std::vector<CellValue>& cells);

    // The live display's share for one record, while the page and the grid are shown. The page
    // repaints the grid afterwards.
    void updateLiveColumn(const LiveFrame& frame, unsigned softwareRevision);
    [[nodiscard]] int liveColumn() const { return m_liveColumn; }

    // StringGridMapaTempomatuDrawCell; `frame` is the last live record (cruise active).
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool selected,
                                       const LiveFrame& frame) const;

private:
    EcuImage& m_image;
    FieldSender& m_sender;
    char m_decimalPoint;
    GridTexts m_grid{kCruiseMapColumns, kCruiseGridRows};
    int m_liveColumn = 0;
};

[[nodiscard]] bool cruiseActive(const LiveFrame& frame);
// The column the engine works in for a live record (its manifold pressure word): the one lookup
// the grid's live column and a recording's column table both go by.
[[nodiscard]] int cruiseLiveColumn(const LiveFrame& frame, unsigned softwareRevision);

}  // namespace kaldor
