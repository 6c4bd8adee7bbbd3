#include "ui/pages/advanced/advanced_page.h"
#include "ui/setting_controls.h"

#include "ui/bindings.h"
#include "ui/pages/advanced/correction_maps_panel.h"
#include "ui/pages/advanced/cutoff_cdi_groups.h"
#include "ui/session.h"
#include "ui/ui_build.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kaldor {

namespace {

// The named members in the order of the correction-map table.
constexpr QTableWidget* AdvancedPage::*kGridMembers[kCorrectionMapCount] = {
    &AdvancedPage::StringGridMapaEGT,
    &AdvancedPage::StringGridMapaLambda_5V,
    &AdvancedPage::StringGridMapaTempGazu,
    &AdvancedPage::StringGridMapaCisnienieKolektora,
    &AdvancedPage::StringGridMapaCisnienieGazu,
    &AdvancedPage::StringGridMapaTempReduktora,
    &AdvancedPage::StringGridMapaCisnienieRoznicowe,
};

// The named check boxes in the order of the enabled-errors table.
constexpr QCheckBox* AdvancedPage::*kErrorBoxMembers[kEnabledErrorBoxCount] = {
    &AdvancedPage::CheckBoxErr1,  &AdvancedPage::CheckBoxErr2,  &AdvancedPage::CheckBoxErr4,
    &AdvancedPage::CheckBoxErr5,  &AdvancedPage::CheckBoxErr6,  &AdvancedPage::CheckBoxErr9,
    &AdvancedPage::CheckBoxErr10, &AdvancedPage::CheckBoxErr11,
};
constexpr int kErrorBoxesPerRow = 4;

}  // namespace

AdvancedPage::AdvancedPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet5"));

    PanelAdvanced = namedPanel(this, "PanelAdvanced");
    m_correction = new CorrectionMapsPanel(PanelAdvanced);
    for (std::size_t i = 0; i < kCorrectionMapCount; ++i)
        this->*kGridMembers[i] = m_correction->grids()[i];
    PanelAdvanced->hide();

    PanelAdvanced2 = namedPanel(this, "PanelAdvanced2");
    GroupBoxCutOff = settingGroup(PanelAdvanced2, "GroupBoxCutOff");
    GroupBoxCutOff->hide();
    GroupBoxCdiEmu = settingGroup(PanelAdvanced2, "GroupBoxCdiEmu");
    GroupBoxAdvanced = settingGroup(PanelAdvanced2, "GroupBoxAdvanced");
    m_groups = new CutOffCdiGroups(GroupBoxCutOff, GroupBoxCdiEmu, GroupBoxAdvanced);
    GroupBoxEnError = settingGroup(GroupBoxCdiEmu, "GroupBoxEnError");
    buildEnabledErrors();
    m_groups->cdiLayout()->addWidget(GroupBoxEnError);
    auto* groups = new QVBoxLayout(PanelAdvanced2);
    groups->setContentsMargins(3, 3, 3, 3);
    groups->addWidget(GroupBoxCutOff);
    groups->addWidget(GroupBoxCdiEmu);
    groups->addWidget(GroupBoxAdvanced);
    groups->addStretch(1);
    PanelAdvanced2->setMaximumWidth(260);
    PanelAdvanced2->hide();

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(PanelAdvanced, 1);
    page->addWidget(PanelAdvanced2);
}

AdvancedPage::~AdvancedPage() = default;

const std::array<QTableWidget*, kCorrectionMapCount>& AdvancedPage::correctionGrids() const {
    return m_correction->grids();
}

void AdvancedPage::buildEnabledErrors() {
    auto* boxes = new QGridLayout(GroupBoxEnError);
    boxes->setContentsMargins(4, 4, 4, 4);
    boxes->setSpacing(2);
    for (std::size_t i = 0; i < kEnabledErrorBoxCount; ++i) {
        const EnabledErrorBox& def = kEnabledErrorBoxes[i];
        const std::string name(def.checkBox);
        auto* box = named<QCheckBox>(GroupBoxEnError, name.c_str());
        box->setText(QString::fromUtf8(def.caption.data(), static_cast<int>(def.caption.size())));
        boxes->addWidget(box, static_cast<int>(i) / kErrorBoxesPerRow,
                         static_cast<int>(i) % kErrorBoxesPerRow);
        this->*kErrorBoxMembers[i] = box;
        m_errorBoxes[i] = box;
    }
    ButtonSaveErrEn = named<QPushButton>(GroupBoxEnError, "ButtonSaveErrEn");
    ButtonSaveErrEn->setText(QStringLiteral("SAVE"));
    const int row = static_cast<int>(kEnabledErrorBoxCount) / kErrorBoxesPerRow;
    boxes->addWidget(ButtonSaveErrEn, row, 0, 1, kErrorBoxesPerRow);
}

void AdvancedPage::showAdvancedControls() {
    PanelAdvanced->show();
    PanelAdvanced2->show();
    GroupBoxCutOff->show();
}

void AdvancedPage::attach(ControllerSession& session) {
    m_session = &session;
    m_bindings = std::make_unique<PageBindings>(this, session);
    m_correction->attach(session, this);
    m_groups->attach(session);
    // The boxes send nothing of their own; only "SAVE" writes the mask.
    session.gate.onClick(ButtonSaveErrEn, [this] { SaveEnabledErrors(); });
}

void AdvancedPage::showFields(RefreshStep step) {
    const EditGate::Hold hold(m_session->gate);
    m_bindings->refresh(step);
}

void AdvancedPage::refreshEnabledErrors() {
    showEnabledErrors(enabledErrorStates(m_session->image));
}

void AdvancedPage::SaveEnabledErrors() {
    EnabledErrorStates ticked{};
    for (std::size_t i = 0; i < kEnabledErrorBoxCount; ++i)
        ticked[i] = m_errorBoxes[i]->isChecked();
    showEnabledErrors(saveEnabledErrors(m_session->image, m_session->transfer, ticked));
}

void AdvancedPage::showEnabledErrors(const EnabledErrorStates& states) {
    for (std::size_t i = 0; i < kEnabledErrorBoxCount; ++i)
        m_errorBoxes[i]->setChecked(states[i]);
}

void AdvancedPage::showRevisionGroups(const RevisionGroups& groups) {
    // Shown again for a later controller of a newer revision in the same run.
    PanelAdvanced->setVisible(!groups.hideAdvanced);
    GroupBoxCdiEmu->setVisible(!groups.hideAdvanced);
    GroupBoxAdvanced->setVisible(!groups.hideAdvanced);
    // The cut-off group goes with the cruise controls.
    GroupBoxCutOff->setVisible(groups.cruiseShown);
}

void AdvancedPage::refreshCorrectionEnables() {
    m_correction->refreshEnables();
}

void AdvancedPage::refreshCorrectionMaps() {
    m_correction->refreshMaps();
}

}  // namespace kaldor
