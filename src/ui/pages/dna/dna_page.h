#pragma once
// Page 5 (no caption): the chain regulation group and the mapping chart, inside
// PanelDNADigitAll, which stays hidden until the window's first activation.
#include <QFrame>
#include <QGroupBox>
#include <QWidget>

namespace kaldor {

struct ControllerSession;
class ChainRegulationGroup;
class MappingChartView;

class DnaPage : public QWidget {
    Q_OBJECT

public:
    explicit DnaPage(QWidget* parent = nullptr);

    // Connects the chain regulation group and lets the mapping chart draw every displayed record.
    void attach(ControllerSession& session);
    void refreshChainRegulation();
    // PanelDNADigitAll, hidden until the window's first activation.
    void showAdvancedControls();  // refresh step EmulatorSettings

    [[nodiscard]] ChainRegulationGroup& chainRegulation() const { return *m_chainRegulation; }

    QFrame* PanelDNADigitAll = nullptr;
    QGroupBox* GroupBoxDNA = nullptr;
    QWidget* PaintBoxMapowanie = nullptr;

private:
    ChainRegulationGroup* m_chainRegulation = nullptr;  // owned by GroupBoxDNA
    MappingChartView* m_chart = nullptr;                // owned by PaintBoxMapowanie
};

}  // namespace kaldor
