#pragma once
// The two emulator maps of the "DNA MAPS" group: the throttle emulator map over an input the
// installer chooses (StringGridTpsEmulator) and the step emulator map over the gas stepper's
// position (StringGridStepEmu). Each grid is 13 columns by 3 rows: column 0 the row names, row 0
// the axis, rows 1 and 2 the signed percentages of channels K1 and K2. The page binds the grids
// to grid() and its controls to the functions here, and shows what they return.
//
// The grids are the working copy the presets write out: what a grid shows is what goes to the
// controller, so every edit changes the image, sends, and then the grid text. The grid editor
// binds each grid through model(): texts, cell looks, the value buttons and keys, and the axis
// cells edited in place.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "live/live_frame.h"
#include "maps/grid_texts.h"
#include "maps/map_axes.h"
#include "maps/map_colour.h"
#include "maps/map_grid_model.h"
#include "model/codec.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"

namespace kaldor {

inline constexpr int kEmuColumns = 12;
inline constexpr int kEmuGridColumns = kEmuColumns + 1;
inline constexpr int kEmuGridRows = 3;
inline constexpr int kEmuPercentLimit = 100;

enum class EmuGrid { Tps, Step };

// The table a grid shows, and the element of grid cell (column, row) in it: row 1 (K1) holds
// elements 0..11, row 2 (K2) elements 12..23.
[[nodiscard]] constexpr FieldId emuTableField(EmuGrid which) {
    return which == EmuGrid::Tps ? FieldId::TpsEmulatorTable : FieldId::StepEmulatorTable;
}
[[nodiscard]] constexpr std::size_t emuTableElement(int column, int row) {
    return static_cast<std::size_t>((row - 1) * kEmuColumns + (column - 1));
}

// How the throttle map's axis reads for each item of ComboBoxActivInput (the items in the order
// of kInputChannelWords).
enum class EmuAxisUnit { TpsVolts, Volts, InjectionTime };
struct EmuInput {
    std::string_view item;
    EmuAxisUnit unit;
};
inline constexpr std::array<EmuInput, 6> kEmuInputs{{
    {"TPS", EmuAxisUnit::TpsVolts},
    {"AIR FLOW", EmuAxisUnit::Volts},
    {"K1 Sig", EmuAxisUnit::TpsVolts},
    {"K2 Sig", EmuAxisUnit::TpsVolts},
    {"TDi1", EmuAxisUnit::InjectionTime},
    {"TDi2", EmuAxisUnit::InjectionTime},
}};
static_assert(kEmuInputs.size() == std::size(kInputChannelWords));
inline constexpr int kInputItemK1 = 2;

// The step map's axis, stepper positions; entries 1..11 are the live column's breakpoints.
inline constexpr std::array<int, kEmuColumns> kStepAxis{14,  15,  30,  45,  60,  80,
                                                        100, 120, 140, 160, 180, 200};

// ComboBoxDnaType. The values are those of a falling signal; a rising channel takes them negated.
enum class PresetKind { Off, Mode, Dynamic };
struct DnaPreset {
    std::string_view item;
    PresetKind kind;
    std::array<std::int8_t, kEmuColumns> values;  // the step table for MODE, throttle for DYNAMIC
};
inline constexpr std::array<DnaPreset, 11> kDnaPresets{{
    {"OFF", PresetKind::Off, {}},
    {"MODE-1", PresetKind::Mode, {0, 0, 2, 5, 8, 10, 10, 10, 10, 10, 10, 10}},
    {"MODE-2", PresetKind::Mode, {0, 2, 5, 8, 10, 10, 15, 15, 15, 15, 15, 15}},
    {"MODE-3", PresetKind::Mode, {0, 2, 5, 10, 15, 15, 20, 20, 20, 20, 20, 20}},
    {"MODE-4", PresetKind::Mode, {0, 2, 5, 10, 15, 20, 25, 25, 25, 25, 25, 25}},
    {"MODE-5", PresetKind::Mode, {0, 5, 10, 15, 20, 25, 30, 30, 30, 30, 30, 30}},
    {"DYNAMIC-1", PresetKind::Dynamic, {0, 0, 2, 5, 8, 10, 15, 10, 8, 5, 2, 0}},
    {"DYNAMIC-2", PresetKind::Dynamic, {0, 0, 2, 5, 10, 15, 18, 15, 10, 5, 2, 0}},
    {"DYNAMIC-3", PresetKind::Dynamic, {0, 0, 5, 10, 15, 20, 20, 15, 10, 5, 2, 0}},
    {"DYNAMIC-4", PresetKind::Dynamic, {0, 0, 5, 10, 15, 20, 25, 20, 15, 10, 5, 0}},
    {"DYNAMIC-5", PresetKind::Dynamic, {0, 0, 10, 15, 20, 25, 30, 25, 18, 10, 5, 0}},
}};
// What ComboBoxDnaType shows when both maps are in use.
inline constexpr std::string_view kCustomPresetText = "CUSTOM";
inline constexpr const char* kMsgSignalRangeTooSmall = "Error Signal-1 Range too small";

// The throttle map's axis word for a text under an input channel: nothing, without a message,
// for a channel the list does not offer (the word keeps its value); nothing with the conversion
// message for a text that is no number or a value no word holds.
[[nodiscard]] AxisConversion emuAxisWord(unsigned channel, std::string_view text, char decimalPoint,
                                         int column);
// The text an axis word shows under an input channel (two decimals); nothing for a channel the
// list does not offer.
[[nodiscard]] std::optional<std::string> emuAxisText(unsigned channel, std::uint16_t raw,
                                                     char decimalPoint);

// The live columns (0..11): the last breakpoint the stepper has reached, and the largest axis
// entry 1..11 the chosen input reaches.
[[nodiscard]] int stepLiveColumn(std::uint16_t stepperPosition);
[[nodiscard]] int tpsLiveColumn(const LiveFrame& frame, const EcuImage& image);

// The throttle grid's keys on release: plus acts as "+5", minus as "-5".
[[nodiscard]] std::optional<int> emuKeyStep(int key);

// How many cells an edit wrote, and why it stopped (a text that is no number).
using EmuEditOutcome = MapEditOutcome;

// The throttle grid and its value buttons while the axis is edited (CheckBoxModCharDNA).
struct AxisEditLayout {
    bool on = false;
    int fixedRows = 1;
    bool valueButtonsEnabled = true;  // ButtonInc5DnaV, ButtonDec5DnaV, ButtonInc1DnaV, ...Dec1
    EmuEditOutcome save;              // leaving the mode converts and sends the axis
};

// What the controls around the maps show after a preset (nothing: left as they are).
struct PresetShown {
    std::optional<int> tpsEmulatorItem;   // ComboBoxTpsEmul
    std::optional<int> stepEmulatorItem;  // ComboBoxEmulatorStep
    std::optional<int> inputItem;         // ComboBoxActivInput
    std::string message;                  // a text the write-out refused; nothing was changed
};

struct SetOutcome {
    double minimum = 0;   // AbNumSpinDnaMin1
    double maximum = 0;   // AbNumSpinDnaMax1
    std::string message;  // the range message; then nothing else happened
    PresetShown preset;
};

// AbNumSpinDnaMin1 and AbNumSpinDnaMax1 after refresh step TpsEmulatorTable.
struct EmuRangeShown {
    std::optional<double> minimum;
    std::optional<double> maximum;
};

// ComboBoxDnaType after refresh step DnaType.
struct DnaTypeShown {
    enum class Kind { Unchanged, Item, Custom };
    Kind kind = Kind::Unchanged;
    int item = 0;
};

class EmulatorMaps;

// One of the two grids as the grid editor sees it. Only the throttle grid takes keys, and only
// its axis cells are edited in place, while CheckBoxModCharDNA is ticked.
class EmulatorGridModel final : public MapGridModel {
public:
    EmulatorGridModel(EmulatorMaps& maps, EmuGrid which) : m_maps(maps), m_which(which) {}

    [[nodiscard]] GridTexts& texts() override;
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool selected) const override;
    [[nodiscard]] std::optional<int> keyStep(int key, bool shift) const override;
    MapEditOutcome stepSelection(GridRect selection, int step) override;
    [[nodiscard]] bool editableInPlace(int column, int row) const override;

private:
    EmulatorMaps& m_maps;
    EmuGrid m_which;
};

class EmulatorMaps {
public:
    EmulatorMaps(EcuImage& image, FieldSender& sender, char decimalPoint = '.');

    EmulatorMaps(const EmulatorMaps&) = delete;
    EmulatorMaps& operator=(const EmulatorMaps&) = delete;

    [[nodiscard]] GridTexts& grid(EmuGrid which);
    [[nodiscard]] const GridTexts& grid(EmuGrid which) const;
    // What the grid editor binds StringGridTpsEmulator and StringGridStepEmu to.
    [[nodiscard]] MapGridModel& model(EmuGrid which);

    // Refresh step TpsEmulatorTable: the throttle table and its axis; the measured range editors
    // when the revisions offer them.
    EmuRangeShown showTpsTable(unsigned softwareRevision, unsigned hardwareRevision);
    // Refresh step StepEmulatorTable: the step table.
    void showStepTable();
    // Refresh step DnaType: the preset the tables hold, from column 7 of row K1.
    [[nodiscard]] DnaTypeShown dnaTypeShown() const;

    // ComboBoxActivInput: the channel, then the axis texts converted by its rule and sent. A text
    // that does not convert changes and sends nothing. Nothing for no item.
    EmuEditOutcome inputChosen(int item);
    // The value buttons ("+5", "-5", "+1", "-1") and keys on the selected percentage cells: each
    // cell from its own text, limited to 100 going up and to -100 going down.
    EmuEditOutcome stepCells(EmuGrid which, GridRect selection, int step);

    // CheckBoxModCharDNA. Leaving the mode converts the axis texts and sends all twelve words.
    AxisEditLayout axisEditChanged(bool ticked);
    [[nodiscard]] bool axisEditing() const { return m_axisEditing; }
    // StringGridTpsEmulator click: whether the clicked cell is edited in place.
    [[nodiscard]] bool axisCellEditable(int column, int row) const;

    // ComboBoxDnaType: the preset `item` (any other number: no item, the tables are written out
    // as they stand), then the write-out of both tables and the axis.
    PresetShown presetChosen(int item);
    // ButtonDnaSet ("SET"): the measured range of channel 1 into the range editors, the axis from
    // it, then the preset `presetItem` now chosen.
    SetOutcome setPressed(double measuredMinimum, double measuredMaximum, int presetItem);

    // The emulator tables of the defaults reset: both maps off and cleared, the axis 0..3.3 V
    // over a K1 signal, every table byte sent.
    PresetShown resetTables();

    // Moves both live columns for a live record; true when either moved.
    bool updateLiveColumns(const LiveFrame& frame);
    [[nodiscard]] int liveColumn(EmuGrid which) const;
    // The text is drawn one pixel right of and below the cell's corner.
    [[nodiscard]] MapCellLook cellLook(EmuGrid which, int column, int row, bool selected) const;

private:
    // One word per column; nothing where the channel's rule leaves the word as it is.
    using AxisWords = std::array<std::optional<std::uint16_t>, kEmuColumns>;
    // The throttle grid's axis texts under a channel, all or none: nothing, with the message,
    // when a text does not convert.
    [[nodiscard]] std::optional<AxisWords> axisWords(unsigned channel, std::string& message) const;
    void showHeadings(EmuGrid which);
    void showRows(EmuGrid which);
    void storeCell(EmuGrid which, int column, int row, int value);

    EcuImage& m_image;
    FieldSender& m_sender;
    char m_decimalPoint;
    GridTexts m_tps{kEmuGridColumns, kEmuGridRows};
    GridTexts m_step{kEmuGridColumns, kEmuGridRows};
    bool m_axisEditing = false;
    int m_tpsLive = 0;
    int m_stepLive = 0;
    EmulatorGridModel m_tpsModel{*this, EmuGrid::Tps};
    EmulatorGridModel m_stepModel{*this, EmuGrid::Step};
};

}  // namespace kaldor
