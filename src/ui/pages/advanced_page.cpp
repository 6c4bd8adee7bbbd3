#include "ui/pages/advanced_page.h"

#include "ui/ui_build.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kaldor {

namespace {

struct CorrectionGrid {
    QTableWidget* AdvancedPage::*member;
    const char* name;
    int columns;
};

// Two rows each: the axis above, the percentages below.
constexpr CorrectionGrid kCorrectionGrids[] = {
    {&AdvancedPage::StringGridMapaEGT, "StringGridMapaEGT", 24},
    {&AdvancedPage::StringGridMapaLambda_5V, "StringGridMapaLambda_5V", 24},
    {&AdvancedPage::StringGridMapaTempGazu, "StringGridMapaTempGazu", 24},
    {&AdvancedPage::StringGridMapaCisnienieKolektora, "StringGridMapaCisnienieKolektora", 24},
    {&AdvancedPage::StringGridMapaCisnienieGazu, "StringGridMapaCisnienieGazu", 24},
    {&AdvancedPage::StringGridMapaTempReduktora, "StringGridMapaTempReduktora", 24},
    {&AdvancedPage::StringGridMapaCisnienieRoznicowe, "StringGridMapaCisnienieRoznicowe", 16},
};

constexpr int kCorrectionRows = 2;
constexpr int kCorrectionColumnWidth = 26;
constexpr int kRowHeight = 18;

}  // namespace

AdvancedPage::AdvancedPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet5"));

    PanelAdvanced = namedPanel(this, "PanelAdvanced");
    auto* maps = new QVBoxLayout(PanelAdvanced);
    maps->setContentsMargins(3, 3, 3, 3);
    maps->setSpacing(3);
    for (const CorrectionGrid& entry : kCorrectionGrids) {
        QTableWidget* grid = namedGrid(PanelAdvanced, entry.name, kCorrectionRows, entry.columns, 1,
                                       0, kCorrectionColumnWidth, kRowHeight);
        grid->setFont(smallerFont(grid->font()));
        spreadColumns(grid);
        fitHeightToRows(grid);
        maps->addWidget(grid);
        this->*entry.member = grid;
    }
    maps->addStretch(1);
    PanelAdvanced->hide();

    PanelAdvanced2 = namedPanel(this, "PanelAdvanced2");
    GroupBoxCutOff = namedGroup(PanelAdvanced2, "GroupBoxCutOff", QStringLiteral("TPS CUTOFF"));
    new QVBoxLayout(GroupBoxCutOff);
    GroupBoxCutOff->hide();
    GroupBoxCdiEmu = namedGroup(PanelAdvanced2, "GroupBoxCdiEmu", QStringLiteral("CDi emulator"));
    GroupBoxEnError =
        namedGroup(GroupBoxCdiEmu, "GroupBoxEnError", QStringLiteral("Enabled Errors"));
    new QVBoxLayout(GroupBoxEnError);
    auto* cdi = new QVBoxLayout(GroupBoxCdiEmu);
    cdi->addWidget(GroupBoxEnError);
    GroupBoxAdvanced = namedGroup(PanelAdvanced2, "GroupBoxAdvanced", QStringLiteral("ADVANCED"));
    new QVBoxLayout(GroupBoxAdvanced);
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

std::array<QTableWidget*, 7> AdvancedPage::correctionGrids() const {
    return {StringGridMapaEGT,
            StringGridMapaLambda_5V,
            StringGridMapaTempGazu,
            StringGridMapaCisnienieKolektora,
            StringGridMapaCisnienieGazu,
            StringGridMapaTempReduktora,
            StringGridMapaCisnienieRoznicowe};
}

void AdvancedPage::showAdvancedControls() {
    PanelAdvanced->show();
    PanelAdvanced2->show();
    GroupBoxCutOff->show();
}

}  // namespace kaldor
