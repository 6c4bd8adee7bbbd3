#pragma once
// Page 4 (no caption): the seven correction maps (PanelAdvanced) and the cut-off, CDi emulator,
// enabled errors and "ADVANCED" groups (PanelAdvanced2). Both panels and the cut-off group stay
// hidden until the window's first activation.
#include <QFrame>
#include <QGroupBox>
#include <QTableWidget>
#include <QWidget>

#include <array>

#include "maps/correction_maps.h"
#include "model/revision_rules.h"

namespace kaldor {

struct ControllerSession;

class AdvancedPage : public QWidget {
    Q_OBJECT

public:
    explicit AdvancedPage(QWidget* parent = nullptr);

    // Connects the handlers to the session the page works on.
    void attach(ControllerSession& session);

    // Refresh steps, in the refresh's numbering.
    void showRevisionGroups(const RevisionGroups& groups);  // 16
    void refreshCorrectionMaps();                           // 31

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
    [[nodiscard]] const std::array<QTableWidget*, kCorrectionMapCount>& correctionGrids() const {
        return m_correctionGrids;
    }

    // Shows the controls that wait for the first activation.
    void showAdvancedControls();

private:
    ControllerSession* m_session = nullptr;
    std::array<QTableWidget*, kCorrectionMapCount> m_correctionGrids{};
};

}  // namespace kaldor
