#include "ui/pages/dna/dna_page.h"
#include "ui/setting_controls.h"

#include "ui/pages/dna/chain_regulation_group.h"
#include "ui/pages/dna/mapping_chart_view.h"
#include "ui/ui_build.h"

#include <QVBoxLayout>

namespace kaldor {

DnaPage::DnaPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet9"));

    PanelDNADigitAll = namedPanel(this, "PanelDNADigitAll");
    GroupBoxDNA = settingGroup(PanelDNADigitAll, "GroupBoxDNA");
    m_chainRegulation = new ChainRegulationGroup(GroupBoxDNA);
    PaintBoxMapowanie = named<QWidget>(PanelDNADigitAll, "PaintBoxMapowanie");
    PaintBoxMapowanie->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    PaintBoxMapowanie->setMinimumSize(160, 120);
    m_chart = new MappingChartView(PaintBoxMapowanie);

    auto* panel = new QVBoxLayout(PanelDNADigitAll);
    panel->setContentsMargins(3, 3, 3, 3);
    panel->addWidget(GroupBoxDNA);
    panel->addWidget(PaintBoxMapowanie, 1);
    PanelDNADigitAll->hide();

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(PanelDNADigitAll);
}

void DnaPage::attach(ControllerSession& session) {
    m_chainRegulation->attach(session);
    m_chart->attach(session);
}

void DnaPage::showAdvancedControls() {
    PanelDNADigitAll->show();
}

void DnaPage::refreshChainRegulation() {
    m_chainRegulation->refresh();
}

}  // namespace kaldor
