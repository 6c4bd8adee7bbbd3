#pragma once
// The seven correction maps as their grids show them: axis texts in row 0, the signed
// percentages in row 1, the enable combos, the plus and minus keys over the selected columns,
// and what the live display moves (the column the engine works in, the correction applied now).
// The page binds each StringGridMapa... to grid(map) and shows what the functions return; map is
// the index in correctionMaps().
#include <array>
#include <string>
#include <vector>

#include "live/live_frame.h"
#include "maps/correction_maps.h"
#include "maps/grid_texts.h"
#include "maps/main_map.h"
#include "maps/row_map_edit.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"

namespace kaldor {

inline constexpr int kCorrectionGridRows = 2;
inline constexpr const char* kAppliedCorrectionInitial = "0.0";

class CorrectionMapsModel {
public:
    CorrectionMapsModel(EcuImage& image, FieldSender& sender, char decimalPoint = '.');

    [[nodiscard]] GridTexts& grid(int map) { return m_grids.at(static_cast<std::size_t>(map)); }
    [[nodiscard]] const GridTexts& grid(int map) const {
        return m_grids.at(static_cast<std::size_t>(map));
    }

    // Refresh step CorrectionEnables: the item of each enable combo, in map order.
    [[nodiscard]] std::array<int, kCorrectionMapCount> enableItems() const;
    // Refresh step CorrectionMaps: row 1 of every grid from the image.
    void refresh();

    // ComboBoxMapa...Change: the map's enable bit from the item, word 273 sent. False for no
    // item.
    bool enableChosen(int map, int item);

    // StringGridMapa...KeyUp: plus and minus step the selected columns, any other key re-sends
    // them unchanged. Right-most column first; each within -90..100, stored, sent, 5 ms pause,
    // shown. A text that does not parse stops there with the conversion message.
    MapEditOutcome keyReleased(int map, GridRect selection, int key, bool shift);
    MapEditOutcome stepSelection(int map, GridRect selection, int step);

    // The live display's share for one record, while the advanced page is shown: the applied
    // corrections and the live columns. The page repaints the seven grids afterwards.
    void liveUpdate(const LiveFrame& frame);
    [[nodiscard]] const std::string& appliedText(int map) const {
        return m_applied.at(static_cast<std::size_t>(map));
    }
    [[nodiscard]] int liveColumn(int map) const {
        return m_liveColumns.at(static_cast<std::size_t>(map));
    }

    // StringGridMapa...DrawCell: the live column, both rows, in light blue with red text; every
    // other cell as the grid draws it.
    [[nodiscard]] MapCellLook cellLook(int map, int column, int row) const;

private:
    EcuImage& m_image;
    FieldSender& m_sender;
    std::vector<GridTexts> m_grids;
    std::array<std::string, kCorrectionMapCount> m_applied;
    std::array<int, kCorrectionMapCount> m_liveColumns{};
};

}  // namespace kaldor
