#include "ui/pages/dna/chain_regulation_group.h"
#include "ui/setting_controls.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "ui/bindings.h"
#include "ui/folding_frame.h"
#include "ui/pages/emu/emulator_controls.h"
#include "ui/session.h"

namespace kaldor {

namespace {

constexpr int kControlsPerRow = 2;

}  // namespace

ChainRegulationGroup::ChainRegulationGroup(QGroupBox* group) : QObject(group), m_group(group) {
    auto* contents = new QWidget(group);
    ComboBoxMappingTempOK = settingList(contents, "ComboBoxMappingTempOK");
    ComboBoxMappingRozdz = settingList(contents, "ComboBoxMappingRozdz");
    ComboBoxMappingTpsDelta = settingList(contents, "ComboBoxMappingTpsDelta");
    ComboBoxTpsType = settingList(contents, "ComboBoxTpsType");
    ComboBoxMappingIteracja = settingList(contents, "ComboBoxMappingIteracja");
    AbNumSpinMaxTps = settingSpin(contents, "AbNumSpinMaxTps");
    AbNumSpinMinTps = settingSpin(contents, "AbNumSpinMinTps");
    ButtonEraseDiesel = emuButton(contents, "ButtonEraseDiesel", "erase diesel");
    Button12 = emuButton(contents, "Button12", "erase diesel-gas");

    QWidget* const rows[] = {
        ComboBoxMappingTempOK,   ComboBoxMappingRozdz, ComboBoxMappingTpsDelta, ComboBoxTpsType,
        ComboBoxMappingIteracja, AbNumSpinMaxTps,      AbNumSpinMinTps};
    auto* grid = new QGridLayout(contents);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    int i = 0;
    for (QWidget* control : rows) {
        const int row = i / kControlsPerRow;
        const int column = 2 * (i % kControlsPerRow);
        grid->addWidget(settingLabel(contents, control), row, column);
        grid->addWidget(control, row, column + 1);
        ++i;
    }
    const int buttonRow = (i + kControlsPerRow - 1) / kControlsPerRow;
    grid->addWidget(ButtonEraseDiesel, buttonRow, 0, 1, 2);
    grid->addWidget(Button12, buttonRow, 2, 1, 2);
    grid->setColumnStretch(4, 1);

    auto* outer = new QVBoxLayout(group);
    outer->setContentsMargins(4, 2, 4, 4);
    outer->addWidget(contents);
    m_folding = new FoldingFrame(group, contents);
}

ChainRegulationGroup::~ChainRegulationGroup() = default;

void ChainRegulationGroup::attach(ControllerSession& session) {
    m_bindings = std::make_unique<PageBindings>(m_group, session);
    CommandSet& commands = session.commands;
    session.gate.onClick(ButtonEraseDiesel, [&commands] { eraseDiesel(commands); });
    session.gate.onClick(Button12, [&commands] { eraseDieselGas(commands); });
}

void ChainRegulationGroup::refresh() {
    m_bindings->refresh(RefreshStep::EmulatorSettings);
}

}  // namespace kaldor
