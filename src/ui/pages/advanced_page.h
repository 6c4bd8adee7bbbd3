#pragma once
// Page 4 (no caption): the seven correction maps (PanelAdvanced) and the cut-off, CDi emulator,
// enabled errors and "ADVANCED" groups (PanelAdvanced2). Both panels and the cut-off group stay
// hidden until the window's first activation.
#include <QFrame>
#include <QGroupBox>
#include <QTableWidget>
#include <QWidget>

#include <array>

namespace kaldor {

class AdvancedPage : public QWidget {
    Q_OBJECT

public:
    explicit AdvancedPage(QWidget* parent = nullptr);

    QFrame* PanelAdvanced = nullptr;
    QTableWidget* StringGridMapaEGT = nullptr;
    QTableWidget* StringGridMapaLambda_5V = nullptr;
    QTableWidget* StringGridMapaTempGazu = nullptr;
    QTableWidget* StringGridMapaCisnienieKolektora = nullptr;
    QTableWidget* StringGridMapaCisnienieGazu = nullptr;
    QTableWidget* StringGridMapaTempReduktora = nullptr;
    QTableWidget* StringGridMapaCisnienieRoznicowe = nullptr;

    QFrame* PanelAdvanced2 = nullptr;
    QGroupBox* GroupBoxCutOff = nullptr;
    QGroupBox* GroupBoxCdiEmu = nullptr;
    QGroupBox* GroupBoxEnError = nullptr;
    QGroupBox* GroupBoxAdvanced = nullptr;

    // The seven correction-map grids in the controller's order of the maps.
    [[nodiscard]] std::array<QTableWidget*, 7> correctionGrids() const;

    // Shows the controls that wait for the first activation.
    void showAdvancedControls();
};

}  // namespace kaldor
