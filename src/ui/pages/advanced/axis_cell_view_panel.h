#pragma once
// The cell view of a one-row map (a correction map, the cruise map): its "cells" button beside
// the map's grid shows it under the map, with the map's axis and values and beneath them the
// chosen statistic of a recording per column (time, a signal's mean or maximum), coloured by it.
// "open recording..." and the running logger's file as in the main map's cell view. Columns
// selected here are selected in the map's grid, so its keys and tools apply to them.
//
// The controls are the main map's cell view's, named after the map ("ButtonCellsOpenMapaEGT"),
// with the same captions from the language file.
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
class MapGrid;

class AxisCellViewPanel : public QWidget {
    Q_OBJECT

public:
    // `map` names the controls: the map grid's objectName without "StringGrid" ("MapaEGT");
    // `columns` is its axis' length. The "cells" button is built on buttonParent; the page
    // places both.
    AxisCellViewPanel(const std::string& map, int columns, QWidget* buttonParent, QWidget* parent);
    ~AxisCellViewPanel() override;

    using Statistics = std::function<AxisTable(const Recording&, const RecordingSetup&,
                                               std::optional<LiveSignal>)>;
    // `texts` are the map's as its grid `mapGrid` shows them; `statistics` places a recording on
    // the map.
    void attach(ControllerSession& session, const GridTexts& texts, MapGrid& mapGrid,
                Statistics statistics);

    using LoggedPath = std::function<std::optional<std::string>(const std::string& path)>;
    void setLoggedPath(LoggedPath loggedPath) { m_loggedPath = std::move(loggedPath); }

    void openRecording();
    bool showRecording(const std::string& path);
    // The map's texts changed: the view again, once the current events are done.
    void mapChanged();
    // After a language load: the captions and list entries of the main map's cell view.
    void setTexts(const SetupTexts& texts);

    [[nodiscard]] AxisCellViewModel& model() { return *m_model; }

    QPushButton* ButtonCells = nullptr;
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

    ControllerSession* m_session = nullptr;
    MapGrid* m_mapGrid = nullptr;
    Statistics m_statistics;
    std::unique_ptr<AxisCellViewModel> m_model;
    std::unique_ptr<MapGrid> m_grid;
    std::shared_ptr<const Recording> m_recording;
    LoggedPath m_loggedPath;
    bool m_recomputePending = false;
};

}  // namespace kaldor
