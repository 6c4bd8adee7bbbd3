#pragma once
// The three setting groups of the advanced page's PanelAdvanced2: "TPS CUTOFF" (the cut-off
// threshold and time, the cruise engine speed, pressure and time), "CDi EMULATOR" (the emulator
// type, its three thresholds and four levels; the enabled errors below them belong to the page)
// and "ADVANCED" (the dynamic coefficient and the software revision assumed without a
// controller). The plain controls store through the binding table; the cut-off threshold, the
// CDi thresholds and levels and the revision have rules of their own, connected here.
#include <QObject>

#include <array>
#include <memory>

#include "model/switch_over_edits.h"

class QComboBox;
class QGroupBox;
class QVBoxLayout;
class AbNumSpin;

namespace kaldor {

struct ControllerSession;

class CutOffCdiGroups : public QObject {
    Q_OBJECT

public:
    // Builds the controls into the three groups; the CDi group's layout is left open below them
    // (cdiLayout()) for the enabled errors.
    CutOffCdiGroups(QGroupBox* cutOff, QGroupBox* cdi, QGroupBox* advanced);
    ~CutOffCdiGroups() override;

    void attach(ControllerSession& session);
    [[nodiscard]] QVBoxLayout* cdiLayout() const { return m_cdiLayout; }

    AbNumSpin* AbNumSpinTpsCutOff = nullptr;
    AbNumSpin* AbNumSpinCutOffTime = nullptr;
    AbNumSpin* AbNumSpinCrusRpm = nullptr;
    AbNumSpin* AbNumSpinCrusBar = nullptr;
    AbNumSpin* AbNumSpinCrusTime = nullptr;
    QComboBox* ComboBoxEmulatorType = nullptr;
    std::array<AbNumSpin*, kCdiThresholdCount> AbNumSpinCdi{};  // AbNumSpinCdi1..3
    std::array<AbNumSpin*, kCdiValueCount> AbNumSpinV{};        // AbNumSpinV1..4
    QComboBox* ComboBoxDK = nullptr;
    AbNumSpin* AbNumSpinDynamicK = nullptr;
    QComboBox* ComboBoxLevel = nullptr;

private:
    void buildCutOff(QGroupBox* group);
    void buildCdi(QGroupBox* group);
    void buildAdvanced(QGroupBox* group);

    QVBoxLayout* m_cdiLayout = nullptr;
    std::unique_ptr<SwitchOverEditor> m_editor;
};

}  // namespace kaldor
