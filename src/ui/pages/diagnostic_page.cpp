#include "ui/pages/diagnostic_page.h"

#include "live/readings.h"
#include "ui/bindings.h"
#include "ui/pages/data_logger_panel.h"
#include "ui/session.h"
#include "ui/ui_build.h"

#include <QHBoxLayout>
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

    // The return to propane after an error sits with its label under the error memory.
    LabelDiagErrorAuto = namedLabel(TabSheet6, "LabelDiagErrorAuto",
                                    QStringLiteral("return to propane after error:"));
    ComboBoxGazAutoOn = namedList(TabSheet6, "ComboBoxGazAutoOn", std::array{"OFF", "ON"});
    auto* autoOn = new QHBoxLayout;
    autoOn->addWidget(LabelDiagErrorAuto);
    autoOn->addWidget(ComboBoxGazAutoOn);
    autoOn->addStretch(1);
    auto* ecu = new QVBoxLayout(TabSheet6);
    ecu->addLayout(autoOn);
    ecu->addStretch(1);
    dataLogger = new DataLoggerPanel(TabSheet8);
    (new QVBoxLayout(TabSheet8))->addWidget(dataLogger);

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

DiagnosticPage::~DiagnosticPage() = default;

void DiagnosticPage::attach(ControllerSession& session) {
    session.live.add(LiveStage::Display,
                     [this](const LiveRecord& record) { showReadings(record.readings); });
    m_bindings = std::make_unique<PageBindings>(this, session);
}

void DiagnosticPage::refreshReturnToPropane() {
    m_bindings->refresh(33);
}

void DiagnosticPage::showReadings(const Readings& r) {
    if (r.errorCounterChanged)
        emit errorCounterMoved();
}

}  // namespace kaldor
