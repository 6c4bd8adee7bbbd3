#include "ui/pages/cutoff_cdi_groups.h"

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
#include "ui/ui_build.h"

namespace kaldor {

namespace {

constexpr SpinSpec kTpsCutOffSpin{0, 15.5, 0.1, "#0.0#", 1};
constexpr SpinSpec kCutOffTimeSpin{0, 200, 1, "#0", 0};
constexpr SpinSpec kCrusRpmSpin{300, 4000, 50, "#0#", 900};
constexpr SpinSpec kCrusBarSpin{0, 3, 0.05, "#0.0#", 1};
constexpr SpinSpec kCrusTimeSpin{2, 100, 1, "#0#", 10};
constexpr std::array<SpinSpec, kCdiThresholdCount> kCdiSpins{{
    {0, kCdiThresholdMax, 1, "#0", 5},
    {0, kCdiThresholdMax, 1, "#0", 20},
    {0, kCdiThresholdMax, 1, "#0", 40},
}};
constexpr SpinSpec kCdiValueSpin{0, kCdiValueMax, 1, "#0", 0};
constexpr SpinSpec kDynamicKSpin{10, 200, 1, "#0#", 10};

constexpr std::array kLevelItems{"IdS 1", "IdS 2", "IdS 3"};

struct UnitSpin {
    AbNumSpin* CutOffCdiGroups::*member;
    const char* name;
    const SpinSpec* design;
    const char* label;
    const char* unit;
};
constexpr UnitSpin kCutOffSpins[] = {
    {&CutOffCdiGroups::AbNumSpinTpsCutOff, "AbNumSpinTpsCutOff", &kTpsCutOffSpin, "LabelTpsCutOff",
     "[V]"},
    {&CutOffCdiGroups::AbNumSpinCutOffTime, "AbNumSpinCutOffTime", &kCutOffTimeSpin,
     "LabelCutOffTime", "[ms]"},
    {&CutOffCdiGroups::AbNumSpinCrusRpm, "AbNumSpinCrusRpm", &kCrusRpmSpin, "LabelCrusRpm",
     "[rpm]"},
    {&CutOffCdiGroups::AbNumSpinCrusBar, "AbNumSpinCrusBar", &kCrusBarSpin, "LabelCrusBar",
     "[Bar]"},
    {&CutOffCdiGroups::AbNumSpinCrusTime, "AbNumSpinCrusTime", &kCrusTimeSpin, "LabelCrusTime",
     "[s]"},
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
        AbNumSpin* spin = namedSpin(group, s.name, *s.design);
        grid->addWidget(spin, row, 0);
        grid->addWidget(namedLabel(group, s.label, QString::fromLatin1(s.unit)), row, 1);
        this->*s.member = spin;
        ++row;
    }
}

void CutOffCdiGroups::buildCdi(QGroupBox* group) {
    ComboBoxEmulatorType = namedList(group, "ComboBoxEmulatorType", kCdiEmulatorTypeItems);
    auto* levels = new QGridLayout;
    levels->setSpacing(2);
    for (std::size_t i = 0; i < AbNumSpinCdi.size(); ++i) {
        AbNumSpinCdi[i] = namedSpin(group, numbered("AbNumSpinCdi", i).c_str(), kCdiSpins[i]);
        levels->addWidget(AbNumSpinCdi[i], 0, static_cast<int>(i) + 1);
    }
    for (std::size_t i = 0; i < AbNumSpinV.size(); ++i) {
        AbNumSpinV[i] = namedSpin(group, numbered("AbNumSpinV", i).c_str(), kCdiValueSpin);
        levels->addWidget(AbNumSpinV[i], 1, static_cast<int>(i));
    }
    m_cdiLayout = new QVBoxLayout(group);
    m_cdiLayout->addWidget(ComboBoxEmulatorType);
    m_cdiLayout->addLayout(levels);
}

void CutOffCdiGroups::buildAdvanced(QGroupBox* group) {
    ComboBoxDK = namedList(group, "ComboBoxDK", kOffOnItems);
    AbNumSpinDynamicK = namedSpin(group, "AbNumSpinDynamicK", kDynamicKSpin);
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
