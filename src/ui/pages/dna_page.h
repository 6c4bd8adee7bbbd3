#pragma once
// Page 5 (no caption): the chain regulation group and the mapping chart, inside
// PanelDNADigitAll, which stays hidden until the window's first activation.
#include <QFrame>
#include <QGroupBox>
#include <QWidget>

namespace kaldor {

struct ControllerSession;
class ChainRegulationGroup;

class DnaPage : public QWidget {
    Q_OBJECT

public:
    explicit DnaPage(QWidget* parent = nullptr);

    void attach(ControllerSession& session);
    void refreshChainRegulation();  // refresh step 8

    [[nodiscard]] ChainRegulationGroup& chainRegulation() const { return *m_chainRegulation; }

    QFrame* PanelDNADigitAll = nullptr;
    QGroupBox* GroupBoxDNA = nullptr;
    QWidget* PaintBoxMapowanie = nullptr;

private:
    ChainRegulationGroup* m_chainRegulation = nullptr;  // owned by GroupBoxDNA
};

}  // namespace kaldor
