#pragma once
// The group "DO NOT MODIFY" of the EMU page (GroupBoxFreqAlg): the controller's frequency
// emulator options, stored and sent as chosen. Shown only for software revision 10 and above on
// hardware other than revision 1; the emulator's switch and duty stay hidden.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>

#include <memory>

#include "model/revision_rules.h"

namespace kaldor {

struct ControllerSession;
class PageBindings;

class FrequencyEmulatorGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit FrequencyEmulatorGroup(QWidget* parent = nullptr);
    ~FrequencyEmulatorGroup() override;

    void attach(ControllerSession& session);

    void refresh();                                         // refresh step FrequencyEmulator
    void showRevisionGroups(const RevisionGroups& groups);  // refresh step RevisionGroups

    QComboBox* ComboBoxFreqAlg = nullptr;
    QComboBox* ComboBoxFreqFullGr = nullptr;
    QCheckBox* CheckBoxFreq = nullptr;
    QComboBox* ComboBoxFreqEmuWyp = nullptr;

private:
    std::unique_ptr<PageBindings> m_bindings;
};

}  // namespace kaldor
