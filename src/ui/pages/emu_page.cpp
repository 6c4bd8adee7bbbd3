#include "ui/pages/emu_page.h"

#include "ui/pages/frequency_emulator_group.h"
#include "ui/session.h"
#include "ui/ui_build.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace kaldor {

namespace {

struct LiveText {
    LiveLabel* EmuPage::*member;
    const char* name;
};

// Laid out two to a row, in pairs of K1 and K2.
constexpr LiveText kLiveLabels[] = {
    {&EmuPage::LabelK1, "LabelK1"},
    {&EmuPage::LabelK2, "LabelK2"},
    {&EmuPage::LabelDTPS1, "LabelDTPS1"},
    {&EmuPage::LabelDTPS2, "LabelDTPS2"},
    {&EmuPage::LabelDTPSout1, "LabelDTPSout1"},
    {&EmuPage::LabelDTPSout2, "LabelDTPSout2"},
    {&EmuPage::LabelFreq1Val, "LabelFreq1Val"},
    {&EmuPage::LabelFreq1ValOut, "LabelFreq1ValOut"},
    {&EmuPage::LabelVemu1, "LabelVemu1"},
    {&EmuPage::LabelVemu2, "LabelVemu2"},
    {&EmuPage::LabelDnaMaxMinK1, "LabelDnaMaxMinK1"},
    {&EmuPage::LabelDnaMaxMinK2, "LabelDnaMaxMinK2"},
    {&EmuPage::LabelOperationsPer100, "LabelOperationsPer100"},
};

constexpr int kEmuColumnWidth = 44;

}  // namespace

EmuPage::EmuPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet10"));

    GroupBoxDnaSimple = namedGroup(this, "GroupBoxDnaSimple", QStringLiteral("DNA"));
    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(12);
    for (int i = 0; i < static_cast<int>(std::size(kLiveLabels)); ++i) {
        LiveLabel* label = named<LiveLabel>(GroupBoxDnaSimple, kLiveLabels[i].name);
        texts->addWidget(label, i / 2, i % 2);
        this->*kLiveLabels[i].member = label;
    }

    GroupBoxMapsEmu = namedGroup(GroupBoxDnaSimple, "GroupBoxMapsEmu", QStringLiteral("DNA MAPS"));
    StringGridTpsEmulator = namedGrid(GroupBoxMapsEmu, "StringGridTpsEmulator", kEmuGridRows,
                                      kEmuGridColumns, 1, 1, kEmuColumnWidth);
    StringGridStepEmu = namedGrid(GroupBoxMapsEmu, "StringGridStepEmu", kEmuGridRows,
                                  kEmuGridColumns, 1, 1, kEmuColumnWidth);
    auto* maps = new QVBoxLayout(GroupBoxMapsEmu);
    for (QTableWidget* grid : {StringGridTpsEmulator, StringGridStepEmu}) {
        spreadColumns(grid);
        fitHeightToRows(grid);
        maps->addWidget(grid);
    }

    auto* group = new QVBoxLayout(GroupBoxDnaSimple);
    group->addLayout(texts);
    group->addWidget(GroupBoxMapsEmu);
    group->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(GroupBoxDnaSimple);
    GroupBoxFreqAlg = new FrequencyEmulatorGroup(this);
    page->addWidget(GroupBoxFreqAlg);
}

void EmuPage::showRevisionGroups(const RevisionGroups& groups) {
    GroupBoxDnaSimple->setVisible(groups.dnaSimple);
}

DisplayVisibility EmuPage::displayVisibility() const {
    DisplayVisibility visible;
    visible.dnaGroup = GroupBoxDnaSimple->isVisibleTo(this);
    visible.emulatorPage = isVisible();
    return visible;
}

void EmuPage::showReadings(const Readings& r) {
    if (r.emulatorTexts) {
        setLiveText(LabelK1, r.labelK1);
        setLiveText(LabelK2, r.labelK2);
        setLiveText(LabelDTPS1, r.labelDtps1);
        setLiveText(LabelDTPS2, r.labelDtps2);
        setLiveText(LabelDTPSout1, r.labelDtpsOut1);
        setLiveText(LabelDTPSout2, r.labelDtpsOut2);
        setLiveText(LabelFreq1Val, r.labelFreq1Val);
        setLiveText(LabelFreq1ValOut, r.labelFreq1ValOut);
        setLiveText(LabelOperationsPer100, r.labelOperations);
    }
    if (r.emulatorVoltages) {
        setLiveText(LabelVemu1, r.labelVemu1);
        setLiveText(LabelVemu2, r.labelVemu2);
    }
    setLiveText(LabelDnaMaxMinK1, r.labelDnaMaxMinK1);
    setLiveText(LabelDnaMaxMinK2, r.labelDnaMaxMinK2);
}

void EmuPage::attach(ControllerSession& session) {
    session.live.add(LiveStage::Display,
                     [this](const LiveRecord& record) { showReadings(record.readings); });
}

}  // namespace kaldor
