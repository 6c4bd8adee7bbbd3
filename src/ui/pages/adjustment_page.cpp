#include "ui/pages/adjustment_page.h"

#include "ui/ui_build.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kaldor {

namespace {

struct StepButton {
    const char* name;
    const char* caption;
};

constexpr StepButton kCruiseStepButtons[] = {
    {"ButtonTempoP5", "+5"},
    {"ButtonTempoP1", "+1"},
    {"ButtonTempoM1", "-1"},
    {"ButtonTempoM5", "-5"},
};

constexpr int kCruiseColumnWidth = 21;
constexpr int kCruiseRowHeight = 17;
constexpr int kMainMapColumnWidth = 60;

}  // namespace

AdjustmentPage::AdjustmentPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet3"));

    PanelAdj = namedPanel(this, "PanelAdj");
    StringGridMapaTempomatu =
        namedGrid(PanelAdj, "StringGridMapaTempomatu", kCruiseMapRows, kCruiseMapColumns, 1, 0,
                  kCruiseColumnWidth, kCruiseRowHeight);
    StringGridMapaTempomatu->setFont(smallerFont(StringGridMapaTempomatu->font()));
    spreadColumns(StringGridMapaTempomatu);
    fitHeightToRows(StringGridMapaTempomatu);
    StringGridMapaTempomatu->hide();

    auto* adj = new QHBoxLayout(PanelAdj);
    adj->setContentsMargins(3, 3, 3, 3);
    adj->addWidget(StringGridMapaTempomatu, 1);
    // Two by two beside the map, so the map keeps the width.
    auto* stepGrid = new QGridLayout;
    stepGrid->setSpacing(1);
    QPushButton** const steps[] = {&ButtonTempoP5, &ButtonTempoP1, &ButtonTempoM1, &ButtonTempoM5};
    for (int i = 0; i < static_cast<int>(std::size(steps)); ++i) {
        auto* button = named<QPushButton>(PanelAdj, kCruiseStepButtons[i].name);
        button->setText(QString::fromLatin1(kCruiseStepButtons[i].caption));
        button->setFixedSize(30, 20);
        button->hide();
        stepGrid->addWidget(button, i / 2, i % 2);
        *steps[i] = button;
    }
    adj->addLayout(stepGrid);

    PanelTpsCrus = namedPanel(this, "PanelTpsCrus");
    AbLEDCutOff = named<AbLED>(PanelTpsCrus, "AbLEDCutOff");
    AbLEDCutOff->setCaption(QStringLiteral("cut-off"));
    AbLEDCruise = named<AbLED>(PanelTpsCrus, "AbLEDCruise");
    AbLEDCruise->setCaption(QStringLiteral("cruise"));
    auto* tpsCrus = new QHBoxLayout(PanelTpsCrus);
    tpsCrus->setContentsMargins(3, 3, 3, 3);
    tpsCrus->addStretch(1);
    tpsCrus->addWidget(AbLEDCutOff);
    tpsCrus->addWidget(AbLEDCruise);
    PanelTpsCrus->hide();

    StringGridMapa =
        namedGrid(this, "StringGridMapa", kMainMapRows, kMainMapColumns, 1, 1, kMainMapColumnWidth);

    PanelMapAdj = namedPanel(this, "PanelMapAdj");
    PanelMapAdj->setMinimumHeight(40);
    new QHBoxLayout(PanelMapAdj);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(3);
    page->addWidget(PanelAdj);
    page->addWidget(PanelTpsCrus);
    page->addWidget(StringGridMapa, 1);
    page->addWidget(PanelMapAdj);
}

void AdjustmentPage::showAdvancedControls() {
    for (QWidget* widget :
         {static_cast<QWidget*>(StringGridMapaTempomatu), static_cast<QWidget*>(PanelTpsCrus),
          static_cast<QWidget*>(ButtonTempoP5), static_cast<QWidget*>(ButtonTempoP1),
          static_cast<QWidget*>(ButtonTempoM1), static_cast<QWidget*>(ButtonTempoM5)}) {
        widget->show();
    }
}

}  // namespace kaldor
