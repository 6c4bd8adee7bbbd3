#include "ui/pages/advanced/cutoff_cdi_groups.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <string>

#include "model/codec.h"
#include "model/list_items.h"
#include "ui/session.h"
#include "ui/setting_controls.h"
#include "ui/ui_build.h"

namespace kaldor {

namespace {

constexpr std::array kLevelItems{"IdS 1", "IdS 2", "IdS 3"};

struct UnitSpin {
    AbNumSpin* CutOffCdiGroups::*member;
    const char* name;
};
constexpr UnitSpin kCutOffSpins[] = {
    {&CutOffCdiGroups::AbNumSpinTpsCutOff, "AbNumSpinTpsCutOff"},
    {&CutOffCdiGroups::AbNumSpinCutOffTime, "AbNumSpinCutOffTime"},
    {&CutOffCdiGroups::AbNumSpinCrusRpm, "AbNumSpinCrusRpm"},
    {&CutOffCdiGroups::AbNumSpinCrusBar, "AbNumSpinCrusBar"},
    {&CutOffCdiGroups::AbNumSpinCrusTime, "AbNumSpinCrusTime"},
};

std::string numbered(const char* stem, std::size_t i) {
    return stem + std::to_string(i + 1);
}

}  // namespace

CutOffCdiGroups::CutOffCdiGroups(QGroupBox* cutOff, QGroupBox* cdi, QGroupBox* advanced)
    : QObject(cutOff) {
    buildCutOff(cutOff);
    buildCdi(cdi);
    buildAdvanced(advanced);
}

CutOffCdiGroups::~CutOffCdiGroups() = default;

void CutOffCdiGroups::buildCutOff(QGroupBox* group) {
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    int row = 0;
    for (const UnitSpin& s : kCutOffSpins) {
        AbNumSpin* spin = settingSpin(group, s.name);
        grid->addWidget(spin, row, 0);
        grid->addWidget(settingLabel(group, s.name), row, 1);
        this->*s.member = spin;
        ++row;
    }
}

void CutOffCdiGroups::buildCdi(QGroupBox* group) {
    ComboBoxEmulatorType = settingList(group, "ComboBoxEmulatorType");
    auto* levels = new QGridLayout;
    levels->setSpacing(2);
    for (std::size_t i = 0; i < AbNumSpinCdi.size(); ++i) {
        AbNumSpinCdi[i] = settingSpin(group, numbered("AbNumSpinCdi", i).c_str());
        levels->addWidget(AbNumSpinCdi[i], 0, static_cast<int>(i) + 1);
    }
    for (std::size_t i = 0; i < AbNumSpinV.size(); ++i) {
        AbNumSpinV[i] = settingSpin(group, numbered("AbNumSpinV", i).c_str());
        levels->addWidget(AbNumSpinV[i], 1, static_cast<int>(i));
    }
    m_cdiLayout = new QVBoxLayout(group);
    m_cdiLayout->addWidget(ComboBoxEmulatorType);
    m_cdiLayout->addLayout(levels);
}

void CutOffCdiGroups::buildAdvanced(QGroupBox* group) {
    ComboBoxDK = settingList(group, "ComboBoxDK");
    AbNumSpinDynamicK = settingSpin(group, "AbNumSpinDynamicK");
    ComboBoxLevel = namedList(group, "ComboBoxLevel", kLevelItems);
    auto* row = new QHBoxLayout(group);
    row->addWidget(ComboBoxDK);
    row->addWidget(AbNumSpinDynamicK);
    row->addWidget(ComboBoxLevel);
}

void CutOffCdiGroups::attach(ControllerSession& session) {
    m_editor = std::make_unique<SwitchOverEditor>(session.image, session.transfer);
    EditGate& gate = session.gate;
    SwitchOverEditor& e = *m_editor;
    gate.onEdit(AbNumSpinTpsCutOff, [&e](double volts) { e.cutOffLevelEdited(volts); });
    for (std::size_t i = 0; i < AbNumSpinCdi.size(); ++i) {
        const int which = static_cast<int>(i);
        gate.onEdit(AbNumSpinCdi[i],
                    [&e, which](double v) { (void)e.cdiThresholdEdited(which, v); });
    }
    for (std::size_t i = 0; i < AbNumSpinV.size(); ++i) {
        const int which = static_cast<int>(i);
        gate.onEdit(AbNumSpinV[i], [&e, which](double v) { (void)e.cdiValueEdited(which, v); });
    }
    gate.onChange(ComboBoxLevel, [&session](int item) {
        if (const std::optional<unsigned> revision = assumedSoftwareRevision(item))
            session.state.softwareRevision = *revision;
    });
}

}  // namespace kaldor
