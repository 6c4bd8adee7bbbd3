#pragma once
// The group GroupBoxMapsEmu ("DNA MAPS") of the EMU page: the throttle and step emulator grids,
// each bound through the grid editor to the core's EmulatorMaps, with their value buttons; the
// two map switches; the input selection with its axis conversion; the presets of
// ComboBoxDnaType; "SET" building the throttle axis from the measured range; axis editing with
// CheckBoxModCharDNA; and the live columns, moved while the page is shown. The refresh steps from
// TpsEmulatorTable to DnaType show the tables and the preset they hold.
#include <QObject>

#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QTableWidget;
class AbNumSpin;

namespace kaldor {

class EmulatorExtremes;
struct ControllerSession;
struct PresetShown;
class EmulatorMaps;
class LiveFrame;
class MapGrid;

class EmuMapsPanel : public QObject {
    Q_OBJECT

public:
    static constexpr int kGridRows = 3;
    static constexpr int kGridColumns = 13;

    // Builds the controls inside `group`; the live columns move while `page` is shown.
    EmuMapsPanel(QGroupBox* group, QWidget* page);
    ~EmuMapsPanel() override;

    // `measured`: the page's channel extremes, which "SET" turns into the axis.
    void attach(ControllerSession& session, const EmulatorExtremes& measured);

    // Refresh steps, in the refresh's order.
    void refreshTpsTable();
    void refreshStepTable();
    void refreshDnaType();

    // The emulator tables of the defaults reset: both maps off and cleared, the axis over a K1
    // signal, everything sent and shown.
    void resetTables();

    [[nodiscard]] EmulatorMaps& maps() { return *m_maps; }
    [[nodiscard]] MapGrid& tpsGrid() { return *m_tpsGrid; }
    [[nodiscard]] MapGrid& stepGrid() { return *m_stepGrid; }

    QComboBox* ComboBoxDnaType = nullptr;
    QPushButton* ButtonPlusMinusMode = nullptr;
    QPushButton* ButtonPlusMinusDynamic = nullptr;
    QComboBox* ComboBoxTpsEmul = nullptr;
    QComboBox* ComboBoxEmulatorStep = nullptr;
    QComboBox* ComboBoxActivInput = nullptr;
    QCheckBox* CheckBoxModCharDNA = nullptr;
    AbNumSpin* AbNumSpinDnaMin1 = nullptr;
    AbNumSpin* AbNumSpinDnaMax1 = nullptr;
    QPushButton* ButtonDnaSet = nullptr;
    QTableWidget* StringGridTpsEmulator = nullptr;
    QPushButton* ButtonInc5DnaV = nullptr;
    QPushButton* ButtonDec5DnaV = nullptr;
    QPushButton* ButtonInc1DnaV = nullptr;
    QPushButton* ButtonDec1DnaV = nullptr;
    QTableWidget* StringGridStepEmu = nullptr;
    QPushButton* ButtonInc5DnaStep = nullptr;
    QPushButton* ButtonDec5DnaStep = nullptr;
    QPushButton* ButtonInc1DnaStep = nullptr;
    QPushButton* ButtonDec1DnaStep = nullptr;

private:
    void buildLayout(QGroupBox* group);
    void connectHandlers();
    [[nodiscard]] std::array<QPushButton*, 4> tpsButtons() const;
    [[nodiscard]] std::array<QPushButton*, 4> stepButtons() const;
    void CheckBoxModCharDNAClick(bool ticked);
    void ButtonDnaSetClick();
    void showPreset(const PresetShown& shown);
    void message(const std::string& text);
    void UpdateLiveColumns(const LiveFrame& frame);

    QWidget* m_page;
    ControllerSession* m_session = nullptr;
    const EmulatorExtremes* m_measured = nullptr;
    // The maps outlive the grids bound to them.
    std::unique_ptr<EmulatorMaps> m_maps;
    std::unique_ptr<MapGrid> m_tpsGrid;
    std::unique_ptr<MapGrid> m_stepGrid;
};

}  // namespace kaldor
