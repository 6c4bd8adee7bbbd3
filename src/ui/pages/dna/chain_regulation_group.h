#pragma once
// The group GroupBoxDNA ("DNA chain regulation data") of the DNA page: the settings of the
// controller's own learning of the diesel and diesel-gas characteristics, all plain bindings
// shown by refresh step EmulatorSettings, and the two commands that make it forget what it learned.
// The group folds away when its frame is clicked.
#include <QObject>

#include <memory>

class QComboBox;
class QGroupBox;
class QPushButton;
class AbNumSpin;

namespace kaldor {

struct ControllerSession;
class FoldingFrame;
class PageBindings;

class ChainRegulationGroup : public QObject {
    Q_OBJECT

public:
    // Builds the controls inside `group`.
    explicit ChainRegulationGroup(QGroupBox* group);
    ~ChainRegulationGroup() override;

    void attach(ControllerSession& session);
    void refresh();  // refresh step EmulatorSettings

    [[nodiscard]] FoldingFrame& folding() const { return *m_folding; }

    QComboBox* ComboBoxMappingTempOK = nullptr;
    QComboBox* ComboBoxMappingRozdz = nullptr;
    QComboBox* ComboBoxMappingTpsDelta = nullptr;
    QComboBox* ComboBoxTpsType = nullptr;
    QComboBox* ComboBoxMappingIteracja = nullptr;
    AbNumSpin* AbNumSpinMaxTps = nullptr;
    AbNumSpin* AbNumSpinMinTps = nullptr;
    QPushButton* ButtonEraseDiesel = nullptr;
    QPushButton* Button12 = nullptr;

private:
    QGroupBox* m_group;
    FoldingFrame* m_folding = nullptr;
    std::unique_ptr<PageBindings> m_bindings;
};

}  // namespace kaldor
