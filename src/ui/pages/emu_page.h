#pragma once
// Page 6, "EMU": the DNA emulator group with its live texts and the two emulator maps.
#include <QGroupBox>
#include <QLabel>
#include <QTableWidget>
#include <QWidget>

namespace kaldor {

class EmuPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kEmuGridRows = 3;
    static constexpr int kEmuGridColumns = 13;

    explicit EmuPage(QWidget* parent = nullptr);

    QGroupBox* GroupBoxDnaSimple = nullptr;
    QLabel* LabelK1 = nullptr;
    QLabel* LabelK2 = nullptr;
    QLabel* LabelDTPS1 = nullptr;
    QLabel* LabelDTPS2 = nullptr;
    QLabel* LabelDTPSout1 = nullptr;
    QLabel* LabelDTPSout2 = nullptr;
    QLabel* LabelFreq1Val = nullptr;
    QLabel* LabelFreq1ValOut = nullptr;
    QLabel* LabelOperationsPer100 = nullptr;
    QLabel* LabelVemu1 = nullptr;
    QLabel* LabelVemu2 = nullptr;
    QLabel* LabelDnaMaxMinK1 = nullptr;
    QLabel* LabelDnaMaxMinK2 = nullptr;

    QGroupBox* GroupBoxMapsEmu = nullptr;
    QTableWidget* StringGridTpsEmulator = nullptr;
    QTableWidget* StringGridStepEmu = nullptr;
};

}  // namespace kaldor
