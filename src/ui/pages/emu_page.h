#pragma once
// Page 6, "EMU": the DNA emulator group with its live texts and the two emulator maps.
#include <QGroupBox>
#include <QLabel>

#include <QTableWidget>
#include <QWidget>
#include "live/readings.h"
#include "model/revision_rules.h"
#include "widgets/live_label.h"

namespace kaldor {

struct ControllerSession;
class FrequencyEmulatorGroup;

class EmuPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kEmuGridRows = 3;
    static constexpr int kEmuGridColumns = 13;

    explicit EmuPage(QWidget* parent = nullptr);

    // Registers the page's share of the live display with the session.
    void attach(ControllerSession& session);

    void showRevisionGroups(const RevisionGroups& groups);  // refresh step 16
    // What the live display works out depends on what this page shows: the emulator extremes
    // move while the emulator group is part of the page (also while another page is current),
    // the texts only while the page itself is shown.
    [[nodiscard]] DisplayVisibility displayVisibility() const;
    // The live display's share: the emulator texts, voltages and extremes.
    void showReadings(const Readings& r);

    QGroupBox* GroupBoxDnaSimple = nullptr;
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

    QGroupBox* GroupBoxMapsEmu = nullptr;
    QTableWidget* StringGridTpsEmulator = nullptr;
    QTableWidget* StringGridStepEmu = nullptr;

    FrequencyEmulatorGroup* GroupBoxFreqAlg = nullptr;
};

}  // namespace kaldor
