#pragma once
// Page 6, "EMU": the DNA emulator group with its live texts and the two emulator maps.
#include <QGroupBox>
#include <QLabel>

#include <QTableWidget>
#include <QWidget>
#include "widgets/live_label.h"

namespace kaldor {

class EmuPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kEmuGridRows = 3;
    static constexpr int kEmuGridColumns = 13;

    explicit EmuPage(QWidget* parent = nullptr);

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
};

}  // namespace kaldor
