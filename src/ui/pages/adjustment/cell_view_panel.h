#pragma once
// The cell view of the main map ("cells"): over StringGridMapa, the main map with each cell the
// engine used in a recording showing the chosen statistic (time, a signal's mean or maximum)
// beside its map value, coloured by it; the recording and signal named above. "open
// recording..." picks a "demo.log" or its CSV export; a file the running logger writes into
// shows the lines it holds so far, as in the log viewer. Cells selected here are selected in
// StringGridMapa, so its tools (scale, interpolate, the step buttons) apply to them.
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "live/recording.h"
#include "maps/cell_view.h"
#include "service/setup_description.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kaldor {

struct ControllerSession;
class MainMapEditor;
class MapGrid;

class CellViewPanel : public QWidget {
    Q_OBJECT

public:
    // `mapGrid` is the grid bound to StringGridMapa; the panel is its child, over it.
    CellViewPanel(MainMapEditor& editor, MapGrid& mapGrid, ControllerSession& session,
                  QWidget* parent);
    ~CellViewPanel() override;

    // Where the running logger's lines are, while it logs into `path`; nothing otherwise.
    using LoggedPath = std::function<std::optional<std::string>(const std::string& path)>;
    void setLoggedPath(LoggedPath loggedPath) { m_loggedPath = std::move(loggedPath); }

    // "open recording...": the open dialog, then the file's table.
    void openRecording();
    // Reads `path` (or the running logger's lines of it) and shows its table.
    bool showRecording(const std::string& path);
    // The map's texts or axes changed: the table again, once the current events are done.
    void mapChanged();
    // After a language load (the captions are the language's by then): the names made of them,
    // the signal list and "-" for no recording in the language.
    void setTexts(const SetupTexts& texts);

    [[nodiscard]] CellViewModel& model() { return *m_model; }
    [[nodiscard]] MapGrid& grid() { return *m_grid; }

    QLabel* LabelCellsRecordingCaption = nullptr;
    QLabel* LabelCellsRecording = nullptr;
    QPushButton* ButtonCellsOpen = nullptr;
    QLabel* LabelCellsStatisticCaption = nullptr;
    QComboBox* ComboBoxCellsStatistic = nullptr;
    QLabel* LabelCellsSignalCaption = nullptr;
    QComboBox* ComboBoxCellsSignal = nullptr;
    QTableWidget* StringGridCells = nullptr;

private:
    void recompute();
    void selectInMap();
    [[nodiscard]] RecordingSetup setup() const;

    MainMapEditor& m_editor;
    MapGrid& m_mapGrid;
    ControllerSession& m_session;
    std::unique_ptr<CellViewModel> m_model;
    std::unique_ptr<MapGrid> m_grid;
    std::shared_ptr<const Recording> m_recording;
    LoggedPath m_loggedPath;
    bool m_recomputePending = false;
};

}  // namespace kaldor
