#pragma once
// Page 6, "EMU": the group GroupBoxDnaSimple ("DNA") with the signal emulator's settings in the
// folding group GroupBoxSignalEmulator (the emulator switch and relay mode, which keep each other
// and "DNA MAPS" in step, the signal directions, the limits of the digital throttle signal, the
// live texts and the measured channel extremes with their "Reset"), a place for the frequency
// emulator's group beside it, and the emulator maps (EmuMapsPanel) in GroupBoxMapsEmu.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include <memory>
#include <optional>

#include "emulation/emulator_extremes.h"
#include "emulation/emulator_settings.h"
#include "model/revision_rules.h"
#include "widgets/live_label.h"

class QBoxLayout;
class QComboBox;
class AbNumSpin;

namespace kaldor {

struct ControllerSession;
struct LiveRecord;
class EmuMapsPanel;
class FoldingFrame;
class PageBindings;
class FrequencyEmulatorGroup;

class EmuPage : public QWidget {
    Q_OBJECT

public:
    explicit EmuPage(QWidget* parent = nullptr);
    ~EmuPage() override;

    // Connects the handlers (its groups' too) and registers the page's share of the live
    // display.
    void attach(ControllerSession& session);

    // Refresh steps, in the refresh's order.
    void refreshFrequencyEmulator();
    void refreshDtpsLimits();
    void refreshInput();
    void refreshEmulatorSettings();
    void refreshTpsTable();
    void refreshStepTable();
    void refreshDnaType();
    void showRevisionGroups(const RevisionGroups& groups);

    // The emulator tables of the defaults reset, sent and shown.
    void resetEmulatorTables();

    // The live display's share: the emulator texts, voltages and extremes. The extremes move
    // while the emulator group is part of the page (also while another page is current), the
    // texts only while the page itself is shown.
    void showRecord(const LiveRecord& record);
    // The channel extremes measured so far ("Reset" starts them again).
    [[nodiscard]] EmulatorExtremes& extremes() { return m_extremes; }

    [[nodiscard]] EmuMapsPanel& mapsPanel() const { return *m_maps; }
    [[nodiscard]] FoldingFrame& signalEmulatorFolding() const { return *m_folding; }

    QGroupBox* GroupBoxDnaSimple = nullptr;
    QGroupBox* GroupBoxSignalEmulator = nullptr;
    QComboBox* ComboBoxDNAEmuSelect = nullptr;
    QComboBox* ComboBoxeEmulatorRelayOn = nullptr;
    QComboBox* ComboBoxDnaSigRis1 = nullptr;
    QComboBox* ComboBoxDnaSigRis2 = nullptr;
    AbNumSpin* AbNumSpinMaxDTps = nullptr;
    AbNumSpin* AbNumSpinMinDTps = nullptr;
    LiveLabel* LabelK1 = nullptr;
    LiveLabel* LabelK2 = nullptr;
    LiveLabel* LabelDTPS1 = nullptr;
    LiveLabel* LabelDTPS2 = nullptr;
    LiveLabel* LabelDTPSout1 = nullptr;
    LiveLabel* LabelDTPSout2 = nullptr;
    LiveLabel* LabelFreq1Val = nullptr;
    LiveLabel* LabelFreq1ValOut = nullptr;
    LiveLabel* LabelOperationsPer100 = nullptr;
    LiveLabel* LabelVemu1 = nullptr;
    LiveLabel* LabelVemu2 = nullptr;
    LiveLabel* LabelDnaMaxMinK1 = nullptr;
    LiveLabel* LabelDnaMaxMinK2 = nullptr;
    QPushButton* ButtonResetDnaMaxMin = nullptr;

    QGroupBox* GroupBoxMapsEmu = nullptr;
    QTableWidget* StringGridTpsEmulator = nullptr;
    QTableWidget* StringGridStepEmu = nullptr;

    FrequencyEmulatorGroup* GroupBoxFreqAlg = nullptr;

private:
    [[nodiscard]] QWidget* buildSignalEmulator();
    void connectHandlers();
    void showMode(const std::optional<EmulatorModeShown>& shown);

    ControllerSession* m_session = nullptr;
    std::unique_ptr<PageBindings> m_bindings;
    FoldingFrame* m_folding = nullptr;  // owned by GroupBoxSignalEmulator
    EmuMapsPanel* m_maps = nullptr;     // owned by GroupBoxMapsEmu
    EmulatorExtremes m_extremes;
};

}  // namespace kaldor
