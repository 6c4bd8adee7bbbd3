#include "ui/pages/chain_regulation_group.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "ui/bindings.h"
#include "ui/folding_frame.h"
#include "ui/pages/emulator_controls.h"
#include "ui/session.h"

namespace kaldor {

namespace {

constexpr const char* kVoltsFormat = "#0.0#";
constexpr int kControlsPerRow = 2;

}  // namespace

ChainRegulationGroup::ChainRegulationGroup(QGroupBox* group) : QObject(group), m_group(group) {
    auto* contents = new QWidget(group);
    ComboBoxMappingTempOK = emuList(contents, "ComboBoxMappingTempOK", kMappingTempOkItems);
    ComboBoxMappingRozdz = emuList(contents, "ComboBoxMappingRozdz", kMappingSpreadItems);
    ComboBoxMappingTpsDelta = emuList(contents, "ComboBoxMappingTpsDelta", kMappingTpsDeltaItems);
    ComboBoxTpsType = emuList(contents, "ComboBoxTpsType", kTpsTypeItems);
    ComboBoxMappingIteracja = emuList(contents, "ComboBoxMappingIteracja", kMappingIterationItems);
    AbNumSpinMaxTps = emuSpin(contents, "AbNumSpinMaxTps", kVoltsFormat);
    AbNumSpinMinTps = emuSpin(contents, "AbNumSpinMinTps", kVoltsFormat);
    ButtonEraseDiesel = emuButton(contents, "ButtonEraseDiesel", "erase diesel");
    Button12 = emuButton(contents, "Button12", "erase diesel-gas");

    const struct {
        const char* label;
        const char* caption;
        QWidget* control;
    } rows[] = {
        {"LabelMappingTempOK", "Temp.Start[C]:", ComboBoxMappingTempOK},
        {"LabelMappingRozdz", "Mapp.Vacum[dV]", ComboBoxMappingRozdz},
        {"LabelMappingTpsDelta", "Mapp.V[dT]:", ComboBoxMappingTpsDelta},
        {"LabelTpsType", "V Type:", ComboBoxTpsType},
        {"LabelMappingIteracja", "IterationTime[s]:", ComboBoxMappingIteracja},
        {"LabelMaxTps", "Max V[V]:", AbNumSpinMaxTps},
        {"LabelMinTps", "Min V[V]:", AbNumSpinMinTps},
    };
    auto* grid = new QGridLayout(contents);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    int i = 0;
    for (const auto& r : rows) {
        const int row = i / kControlsPerRow;
        const int column = 2 * (i % kControlsPerRow);
        grid->addWidget(namedLabel(contents, r.label, QString::fromLatin1(r.caption)), row, column);
        grid->addWidget(r.control, row, column + 1);
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
