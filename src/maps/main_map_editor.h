#pragma once
// Everything the adjustment page does with the main map, without a window: the grid's texts, the
// refresh from the image, cell edits, preset maps, smoothing, map types, axis presets, the
// characteristic-point mode and the axis save. The page binds StringGridMapa to grid() and its
// controls to the functions here, and shows what they return.
//
// Every changed map cell goes the same way: the image first, then the byte to the controller,
// then one progress step, then the grid text. Cell edits touch map cells only, never the axes,
// and send whether or not a controller is connected; the axis save stores the axes either way
// and sends them only when one is.
#include <string>

#include "maps/grid_texts.h"
#include "maps/main_map.h"
#include "maps/map_grid_model.h"
#include "maps/map_types.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/prompts.h"

namespace kaldor {

inline constexpr const char* kMsgEcuOptionNa = "ECU OPTION N/A";

// What the controls around the grid show.
struct MainMapLayout {
    int mapType = 0;  // ComboBoxMapa item; -1 for a type the list does not hold
    int colCount = kMainMapGridColumns;
    bool tpsTypShown = false;  // ComboBoxTpsTyp
    int tpsTypItem = 0;
};

struct AxisSaveOutcome {
    enum class Result { NotConnected, Saved, Refused };
    Result result = Result::NotConnected;
    std::string message;  // why a refused save changed and sent nothing
};

struct MapTypeOutcome {
    MainMapLayout layout;
    std::string refusal;  // "ECU OPTION N/A" when the chosen type was replaced
    AxisSaveOutcome save;
    bool changed = false;  // false: nothing done (no item chosen); a refusal shows the message
};

// The grid and the preset lists while the axes are edited.
struct CharPointLayout {
    bool on = false;            // CheckBoxModPchar
    int fixedCells = 1;         // fixed columns and fixed rows of the grid
    bool presetsShown = false;  // ComboBoxRpmDefs, ComboBoxInjTdefs
    int presetItem = 0;         // the item both lists show after leaving the mode
    AxisSaveOutcome save;       // the save leaving the mode ran
};

class MainMapEditor final : public MapGridModel {
public:
    MainMapEditor(EcuImage& image, FieldSender& sender, ProgressSink& progress,
                  char decimalPoint = '.');

    [[nodiscard]] GridTexts& grid() { return m_grid; }
    [[nodiscard]] const GridTexts& grid() const { return m_grid; }
    [[nodiscard]] GridTexts& texts() override { return m_grid; }
    [[nodiscard]] const MainMapLayout& layout() const { return m_layout; }

    // The whole map from the image: type, layout, axes and cells (refresh step
    // ReturnToGasAndMainMap). The pressure-only map leaves row 0 alone but for cell (1, 0).
    MainMapLayout ShowMainMap();

    // The cell the engine works in, moved by every live record (see UpdateOperatingPoint).
    [[nodiscard]] MapOperatingPoint& operatingPoint() { return m_point; }
    [[nodiscard]] const MapOperatingPoint& operatingPoint() const { return m_point; }
    // True when the highlighted cell moved: repaint the grid then, if the page is shown.
    bool updateOperatingPoint(const LiveFrame& frame, bool running) {
        return UpdateOperatingPoint(m_point, frame, m_image, running);
    }
    // How the grid paints one cell, from its text, the selection and the operating point.
    [[nodiscard]] MapCellLook cellLook(int column, int row, bool selected) const override {
        return mainMapCellLook(column, row, m_grid.text(column, row), selected, m_point);
    }

    // Typed entry: the text the dialog starts with, then the edit once it is confirmed. The entry
    // is parsed before the first cell, so a bad entry changes nothing.
    [[nodiscard]] bool takesTypedEntry() const override { return true; }
    [[nodiscard]] std::string entryPrefill(GridRect selection, EntryMode mode) const override;
    MapEditOutcome typedEntry(GridRect selection, EntryMode mode,
                              const std::string& entry) override;
    // "+5", "+1", "-1", "-5" and the plus and minus keys: each cell from its own text. A text
    // that does not parse stops there; the cells before it keep their new values.
    MapEditOutcome stepSelection(GridRect selection, int step) override;
    // The plus keys step up, the minus keys down, by 5 with Shift.
    [[nodiscard]] std::optional<int> keyStep(int key, bool shift) const override {
        return mainMapKeyStep(key, shift);
    }

    // ButtonMap1..4: preset k of the set the vacuum line chooses into the image and the grid;
    // nothing is sent. False for another k.
    bool loadPresetMap(int k);
    // ComboBoxMapReset: items 1..4 load their preset and send all 128 bytes. Returns the item the
    // list shows afterwards.
    int mapResetChosen(int item);
    // "smooth": four passes over all 128 cells, then all 128 bytes sent.
    void smooth();

    // ComboBoxMapa: software revisions below 2 refuse type 4 with a message before anything is
    // stored or sent; the layout is then the one in force.
    MapTypeOutcome mapTypeChosen(int item, unsigned softwareRevision);
    // ComboBoxTpsTyp: the flag, the throttle rows and columns, then the axis save. The page
    // sets both axis preset lists back to item 0.
    MapTypeOutcome tpsKindChosen(int item);
    // ComboBoxRpmDefs and ComboBoxInjTdefs: axis texts only; they are stored by the axis save.
    // False when the item or the map type takes no preset.
    bool columnPresetChosen(int item);
    bool rowPresetChosen(int item);

    // CheckBoxModPchar. Leaving the mode saves the axes.
    CharPointLayout charPointModeChanged(bool ticked);
    [[nodiscard]] bool charPointMode() const { return m_charPointMode; }
    // StringGridMapaClick: whether the grid edits the clicked cell in place (axis cells only,
    // only in characteristic-point mode).
    [[nodiscard]] bool axisCellEditable(int column, int row) const;
    [[nodiscard]] bool editableInPlace(int column, int row) const override {
        return axisCellEditable(column, row);
    }

    // ButtonSaveMapCharP: every axis text is checked first, so a bad one changes and sends
    // nothing; then the words are stored and, when a controller is connected, all 24 sent,
    // 10 ms apart (NotConnected: stored only).
    AxisSaveOutcome saveAxes();

    // After the rpm signal type changed (the coil type's follow-up, for the engine-speed map):
    // the rpm texts of row 0 converted again with the new type and sent, then the cruise engine
    // speed the page shows stored and sent again. Returns a message when an rpm text refused
    // (then no axis word changes).
    std::string rpmAxisAfterSignalTypeChange(double cruiseRpmShown);

private:
    // One cell into the image and to the controller, a step of the bar; writeCell shows it too.
    void storeCell(int column, int row, int value);
    void writeCell(int column, int row, int value);
    void sendWholeMap();
    void showCells();
    void showAxes(unsigned type);
    void putDefaultAxes(unsigned type);
    void putColumnTexts(const ColumnAxisTexts& texts);
    void putRowTexts(const RowAxisTexts& texts);
    void resetProgress(int maximum);

    EcuImage& m_image;
    FieldSender& m_sender;
    ProgressSink& m_progress;
    char m_decimalPoint;
    GridTexts m_grid{kMainMapGridColumns, kMainMapGridRows};
    MainMapLayout m_layout;
    MapOperatingPoint m_point;
    bool m_charPointMode = false;
};

}  // namespace kaldor
