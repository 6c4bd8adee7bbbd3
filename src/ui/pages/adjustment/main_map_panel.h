#pragma once
// The main map on the adjustment page: StringGridMapa bound through the grid editor to the
// core's MainMapEditor, and the map tools on PanelMapAdj (map type, throttle-signal kind,
// characteristic points with their axis presets, map reset, smoothing, the step buttons and
// ProgressBarMapa). It shows the map at refresh step ReturnToGasAndMainMap, moves the operating
// point with every live record, and re-converts the engine-speed axis after a new rpm signal type.
#include <QObject>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kaldor {

struct ControllerSession;
struct AxisSaveOutcome;
struct MainMapLayout;
class LiveFrame;
class MainMapEditor;
class MapGrid;
class MapSurfaceView;
class CellViewPanel;
class ProgressBarSink;
class TForm2;

class MainMapPanel : public QObject {
    Q_OBJECT

public:
    // Builds the tools on panel; grid is StringGridMapa.
    MainMapPanel(QTableWidget* grid, QFrame* panel);
    ~MainMapPanel() override;

    void attach(ControllerSession& session);
    // TForm2, which the window logic owns; Enter on the grid opens it.
    void setEntryDialog(TForm2* dialog);
    // Whether demo playback feeds the live records (the operating point moves then as well).
    void setDemoPlayback(std::function<bool()> running) { m_demoPlayback = std::move(running); }
    // The cruise engine speed as its control shows it, stored again after a new rpm signal
    // type. Until a control is plugged in, the value the last refresh showed is used.
    void setCruiseRpmShown(std::function<double()> shown) { m_cruiseRpmShown = std::move(shown); }

    // Refresh step ReturnToGasAndMainMap: the map with its type, layout and axes.
    void ShowMainMap();
    // The action of ButtonSaveMapCharP: the axis save (sent only while connected), a refusal
    // shown. The defaults reset runs it too.
    void saveAxes();
    // Grid geometry: column width, row height and font size follow the grid's size.
    void TabSheet3Resize();

    [[nodiscard]] MainMapEditor& editor() { return *m_editor; }
    [[nodiscard]] MapGrid& mapGrid() { return *m_mapGrid; }

    QTableWidget* StringGridMapa = nullptr;
    QLabel* LabelMapTyp = nullptr;
    QComboBox* ComboBoxMapa = nullptr;
    QComboBox* ComboBoxTpsTyp = nullptr;
    QCheckBox* CheckBoxModPchar = nullptr;
    QComboBox* ComboBoxRpmDefs = nullptr;
    QComboBox* ComboBoxInjTdefs = nullptr;
    QPushButton* ButtonSaveMapCharP = nullptr;
    QLabel* LabelMapDefine = nullptr;
    QComboBox* ComboBoxMapReset = nullptr;
    QPushButton* ButtonMap1 = nullptr;
    QPushButton* ButtonMap2 = nullptr;
    QPushButton* ButtonMap3 = nullptr;
    QPushButton* ButtonMap4 = nullptr;
    QLabel* LabelMapSmooth = nullptr;
    QPushButton* ButtonMapSmooth = nullptr;
    QPushButton* ButtonInc5 = nullptr;
    QPushButton* ButtonInc1 = nullptr;
    QPushButton* ButtonDecr1 = nullptr;
    QPushButton* ButtonDecr5 = nullptr;
    QPushButton* ButtonMap3D = nullptr;  // shows and hides the 3D view over the grid
    MapSurfaceView* surfaceView() const { return m_surface; }
    QPushButton* ButtonMapCells = nullptr;  // shows and hides the cell view over the grid
    CellViewPanel* cellView() const { return m_cells; }
    QProgressBar* ProgressBarMapa = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void applyLayout(const MainMapLayout& layout);
    void CheckBoxModPcharClick(bool ticked);
    void showSave(const AxisSaveOutcome& outcome);
    void message(const std::string& text);
    void UpdateOperatingPoint(const LiveFrame& frame);
    void rpmAxisAfterSignalTypeChange();

    ControllerSession* m_session = nullptr;
    TForm2* m_dialog = nullptr;
    std::function<bool()> m_demoPlayback;
    std::function<double()> m_cruiseRpmShown;
    double m_cruiseRpmAtRefresh = 0.0;
    std::unique_ptr<ProgressBarSink> m_progress;
    // The editor outlives the grid bound to it.
    std::unique_ptr<MainMapEditor> m_editor;
    std::unique_ptr<MapGrid> m_mapGrid;
    MapSurfaceView* m_surface = nullptr;
    CellViewPanel* m_cells = nullptr;
    QHBoxLayout* m_stepRow = nullptr;
};

}  // namespace kaldor
