#include "ui/pages/emu_page.h"

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
}

}  // namespace kaldor
