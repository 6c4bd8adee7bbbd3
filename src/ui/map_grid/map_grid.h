#pragma once
// The one grid editor of the program: binds a named QTableWidget to a core table model
// (maps/map_grid_model.h) and gives every map grid the same behaviour.
//
//   - Cells are owner-drawn: the model's cellLook() decides the fill (map colour, a highlighted
//     operating point or live column) and the text; a cell without a fill of its own keeps the
//     grid's colours, the selection colour included.
//   - The texts are the model's: a change the model makes repaints that one cell; a text typed
//     into the grid's in-place editor is written back to the model.
//   - The user selects one rectangle of cells. A key released on the grid (whose press the grid
//     also had) steps the selection by model.keyStep(); Enter opens the text-entry dialog
//     (TForm2) when one is set and the model takes typed entry. Step buttons do what their key
//     does. Every edit runs through the edit gate; a message in its outcome goes to the prompts.
//   - A click on a cell (or the current cell moving) switches the in-place editing on for a cell
//     the model lets edit in place, and off for any other.
//   - The current cell is always a map cell: the first one ((1,1), or the first cell of a
//     one-row map) until the user moves it, and never a heading, so the step keys and buttons
//     and Enter work before any click and never act on a heading.
//   - Only what changed is repainted: a changed text, or the cells the owner names (the old and
//     new operating point, a live column).
//
// Use:
//   auto* grid = new MapGrid(StringGridX, model, session.gate, session.prompts, owner);
//   grid->setFixedCells(1, 0);              // heading rows and columns, as the grid has them
//   grid->addStepButton(ButtonInc5, 5);     // and the other step buttons
//   grid->setEntryDialog(&form2);           // only grids with typed entry
//   live sink: if (moved && grid->isShown()) { grid->repaintCell(old); grid->repaintCell(now); }
#include <QObject>
#include <QSet>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "maps/grid_tools.h"
#include "maps/map_grid_model.h"

class QAbstractButton;
class QMenu;
class QTableWidget;
class QKeyEvent;
class QWidget;

namespace kaldor {

class EditGate;
class Prompts;
class TForm2;
class MapCellDelegate;

struct SetupTexts;

class MapGrid : public QObject {
    Q_OBJECT

public:
    // The widget's texts at this moment (headings written when the window was built) become the
    // model's where the model has none; from then on the model's texts are shown.
    MapGrid(QTableWidget* grid, MapGridModel& model, EditGate& gate, Prompts& prompts,
            QObject* parent = nullptr);
    ~MapGrid() override;

    [[nodiscard]] QTableWidget* widget() const { return m_grid; }
    [[nodiscard]] bool isShown() const;

    void setEntryDialog(TForm2* dialog) { m_dialog = dialog; }
    void addStepButton(QAbstractButton* button, int step);

    // Layout, as the owner's model decides it. Columns removed keep their texts in the model
    // and show them again when the grid grows.
    void setColumnCount(int columns);
    // Heading rows and columns: drawn as headings, never selected. 0 makes them ordinary cells.
    void setFixedCells(int rows, int columns);
    // The grid's in-place editor: on opens it on the current cell; off commits and closes it.
    void setInPlaceEditing(bool on);

    // The selected rectangle without its heading cells; the current cell when nothing is
    // selected.
    [[nodiscard]] std::optional<GridRect> selection() const;

    // What the user does, as the keys and buttons run it.
    void step(int step);
    void typedEntry();
    void keyReleased(int key, bool shift);
    // The grid's click handler: in-place editing follows the cell now current.
    void cellClicked();

    // The selection tools of a grid whose model has tool cells: its buttons, its context menu
    // and Ctrl+H (interpolate horizontally), Ctrl+U (vertically), Ctrl+B (bilinear from the
    // corners), Ctrl+E (set to a value), Ctrl+R (scale by a percentage); the value and the
    // percentage are asked for. Ctrl+C copies the selection as tab-separated text, Ctrl+V pastes
    // such text at its corner.
    void applyTool(GridTool tool);
    void copySelection();
    void pasteClipboard();
    [[nodiscard]] QMenu* toolMenu() const { return m_toolMenu; }
    // The tool buttons in a row, for the owner to lay out beside the step buttons; named after
    // the grid ("<grid>InterpH", "<grid>InterpV", "<grid>InterpHV", "<grid>SetValue",
    // "<grid>Scale").
    QWidget* createToolButtons(QWidget* parent);
    // The tools' captions and questions in the language of `texts`, which outlive the grid.
    void showTexts(const SetupTexts& texts);
    // Every grid alive: the pages own theirs outside the window's object tree.
    [[nodiscard]] static const std::vector<MapGrid*>& all();

    void repaintCell(int column, int row);
    void repaintColumn(int column);
    void repaintAll();

signals:
    // A cell's text was shown again (an edit, a refresh).
    void textShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showText(int column, int row);
    void styleCell(int column, int row);
    void styleCells(int fromColumn);
    void textEdited(int column, int row);
    void report(const MapEditOutcome& outcome);
    // A grid edit as one step of the undo history, named `what` with the cells it wrote.
    void edit(const std::string& what, const std::function<MapEditOutcome()>& action);
    void buildToolMenu();
    [[nodiscard]] bool toolKey(const QKeyEvent& key);
    // Moves the current cell off the headings: back to the cell it came from, or the nearest
    // map cell.
    void keepCurrentOnMapCell(int previousColumn = -1, int previousRow = -1);
    [[nodiscard]] bool isMapCell(int column, int row) const;

    QTableWidget* m_grid;
    MapGridModel& m_model;
    EditGate& m_gate;
    Prompts& m_prompts;
    MapCellDelegate* m_delegate = nullptr;
    TForm2* m_dialog = nullptr;  // lives as long as the window
    QMenu* m_toolMenu = nullptr;
    QWidget* m_toolButtons = nullptr;
    const SetupTexts* m_texts = nullptr;  // nothing: the built-in English
    int m_fixedRows = 1;
    int m_fixedColumns = 1;
    bool m_showing = false;  // the program is writing cells: no text comes back from the grid
    bool m_shownOnce = false;
    QSet<int> m_pressed;  // keys pressed on the grid and not yet released
};

// The Windows key code of a key event, the codes the models speak (13 Enter, 107 and 187 plus,
// 109 and 189 minus, 37 to 40 arrows, letters and digits as themselves); 0 for any other key.
[[nodiscard]] int windowsKeyCode(const QKeyEvent& event);

}  // namespace kaldor
