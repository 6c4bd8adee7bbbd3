#pragma once
// Page 4 (no caption): the seven correction maps (PanelAdvanced, CorrectionMapsPanel) and the
// cut-off, CDi emulator, enabled errors and "ADVANCED" groups (PanelAdvanced2, CutOffCdiGroups).
// Both panels and the cut-off group stay hidden until the window's first activation.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include <array>
#include <memory>

#include "diagnostics/enabled_errors.h"
#include "maps/correction_maps.h"
#include "model/refresh_step.h"
#include "model/revision_rules.h"

namespace kaldor {

struct ControllerSession;
class CorrectionMapsPanel;
class CutOffCdiGroups;
class PageBindings;

class AdvancedPage : public QWidget {
    Q_OBJECT

public:
    explicit AdvancedPage(QWidget* parent = nullptr);
    ~AdvancedPage() override;

    // Connects the handlers to the session the page works on.
    void attach(ControllerSession& session);

    // Refresh steps, in the refresh's order.
    void refreshEnabledErrors();
    void showRevisionGroups(const RevisionGroups& groups);
    void refreshCorrectionEnables();
    void refreshCorrectionMaps();
    // The bound controls of a refresh step shown from the image: by the refresh,
    // and when another page has stored their fields (a preset, a "SET" button).
    void showFields(RefreshStep step);

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
    QCheckBox* CheckBoxErr1 = nullptr;
    QCheckBox* CheckBoxErr2 = nullptr;
    QCheckBox* CheckBoxErr4 = nullptr;
    QCheckBox* CheckBoxErr5 = nullptr;
    QCheckBox* CheckBoxErr6 = nullptr;
    QCheckBox* CheckBoxErr9 = nullptr;
    QCheckBox* CheckBoxErr10 = nullptr;
    QCheckBox* CheckBoxErr11 = nullptr;
    QPushButton* ButtonSaveErrEn = nullptr;
    QGroupBox* GroupBoxAdvanced = nullptr;

    // The seven correction-map grids in the controller's order of the maps.
    [[nodiscard]] const std::array<QTableWidget*, kCorrectionMapCount>& correctionGrids() const;
    [[nodiscard]] CorrectionMapsPanel& correctionMaps() const { return *m_correction; }
    // The setting groups' controls (the cruise engine speed the main map stores again).
    [[nodiscard]] CutOffCdiGroups& settings() const { return *m_groups; }

    // Shows the controls that wait for the first activation.
    void showAdvancedControls();
    // "SAVE" of the enabled errors: the ticked boxes into word 276, which is sent.
    void SaveEnabledErrors();

private:
    void buildEnabledErrors();
    void showEnabledErrors(const EnabledErrorStates& states);

    ControllerSession* m_session = nullptr;
    CorrectionMapsPanel* m_correction = nullptr;  // owned by PanelAdvanced
    CutOffCdiGroups* m_groups = nullptr;          // owned by GroupBoxCutOff
    std::unique_ptr<PageBindings> m_bindings;
    std::array<QCheckBox*, kEnabledErrorBoxCount> m_errorBoxes{};  // in the mask table's order
};

}  // namespace kaldor
