#include "ui/pages/diagnostic_page.h"

#include "ui/ui_build.h"

#include <QVBoxLayout>

namespace kaldor {

DiagnosticPage::DiagnosticPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet4"));

    PageControlDiag = named<QTabWidget>(this, "PageControlDiag");
    TabSheet6 = named<QWidget>(PageControlDiag, "TabSheet6");
    TabSheet7 = named<QWidget>(PageControlDiag, "TabSheet7");
    TabSheet8 = named<QWidget>(PageControlDiag, "TabSheet8");
    PageControlDiag->addTab(TabSheet6, QStringLiteral("ECU"));
    PageControlDiag->addTab(TabSheet7, QStringLiteral("EOBD/OBD/OBDII"));
    PageControlDiag->addTab(TabSheet8, QStringLiteral("DataLogger"));

    new QVBoxLayout(TabSheet6);
    new QVBoxLayout(TabSheet8);

    AbLEDobd = named<AbLED>(TabSheet7, "AbLEDobd");
    AbLEDobd->setCaption(QStringLiteral("MIL status"));
    AbLEDobd->setColor(QColor(240, 170, 30));
    auto* obd = new QVBoxLayout(TabSheet7);
    obd->addWidget(AbLEDobd, 0, Qt::AlignLeft | Qt::AlignTop);
    obd->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(PageControlDiag);
}

}  // namespace kaldor
