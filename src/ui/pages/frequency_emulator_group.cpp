#include "ui/pages/frequency_emulator_group.h"

#include <QGridLayout>

#include <array>

#include "ui/bindings.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

constexpr std::array kFreqAlgItems{"n/s", "80", "76", "70", "66", "60-normal", "56", "50",
                                   "46",  "40", "36", "30", "26", "20",        "16"};
constexpr std::array kFreqFullGrItems{"SQ", "FL"};
constexpr std::array kFreqEmuWypItems{"7/8 ( 87.5% )", "6/8 ( 75.0% )", "5/8 ( 62.5% )",
                                      "4/8 ( 50.0% )", "3/8 ( 37.5% )", "2/8 ( 25.0% )",
                                      "1/8 ( 12.5% )"};

}  // namespace

FrequencyEmulatorGroup::FrequencyEmulatorGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("GroupBoxFreqAlg"));
    setTitle(QStringLiteral("DO NOT MODIFY"));
    ComboBoxFreqAlg = namedList(this, "ComboBoxFreqAlg", kFreqAlgItems);
    ComboBoxFreqFullGr = namedList(this, "ComboBoxFreqFullGr", kFreqFullGrItems);
    CheckBoxFreq = named<QCheckBox>(this, "CheckBoxFreq", QStringLiteral("FQ Emu D1"));
    ComboBoxFreqEmuWyp = namedList(this, "ComboBoxFreqEmuWyp", kFreqEmuWypItems);
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
