#include "ui/pages/emu/frequency_emulator_group.h"
#include "ui/setting_controls.h"

#include <QGridLayout>

#include <array>

#include "model/list_items.h"
#include "ui/bindings.h"
#include "ui/ui_build.h"

namespace kaldor {

FrequencyEmulatorGroup::FrequencyEmulatorGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("GroupBoxFreqAlg"));
    setTitle(settingGroupTitle("GroupBoxFreqAlg"));
    ComboBoxFreqAlg = settingList(this, "ComboBoxFreqAlg");
    ComboBoxFreqFullGr = settingList(this, "ComboBoxFreqFullGr");
    CheckBoxFreq = settingTick(this, "CheckBoxFreq");
    ComboBoxFreqEmuWyp = settingList(this, "ComboBoxFreqEmuWyp");
    CheckBoxFreq->hide();
    ComboBoxFreqEmuWyp->hide();
    auto* layout = new QGridLayout(this);
    layout->addWidget(ComboBoxFreqAlg, 0, 0);
    layout->addWidget(ComboBoxFreqFullGr, 0, 1);
    layout->addWidget(CheckBoxFreq, 1, 0);
    layout->addWidget(ComboBoxFreqEmuWyp, 1, 1);
    hide();
}

FrequencyEmulatorGroup::~FrequencyEmulatorGroup() = default;

void FrequencyEmulatorGroup::attach(ControllerSession& session) {
    m_bindings = std::make_unique<PageBindings>(this, session);
}

void FrequencyEmulatorGroup::refresh() {
    m_bindings->refresh(RefreshStep::FrequencyEmulator);
}

void FrequencyEmulatorGroup::showRevisionGroups(const RevisionGroups& groups) {
    setVisible(groups.frequencyAlgorithm);
}

}  // namespace kaldor
