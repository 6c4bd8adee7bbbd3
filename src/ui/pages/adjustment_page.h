#pragma once
// Page 2, "[F4]adjustment": the cruise-control map with its step buttons at the top (PanelAdj),
// the cruise and cut-off panel with its lamps (PanelTpsCrus), the main map grid and, under it,
// the map tools (PanelMapAdj). The cruise map, its buttons and PanelTpsCrus stay hidden until
// the window's first activation.
#include <QFrame>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "widgets/ab_led.h"

namespace kaldor {

class AdjustmentPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMainMapRows = 17;
    static constexpr int kMainMapColumns = 9;
    static constexpr int kCruiseMapRows = 2;
    static constexpr int kCruiseMapColumns = 24;

    explicit AdjustmentPage(QWidget* parent = nullptr);

    QFrame* PanelAdj = nullptr;
    QTableWidget* StringGridMapaTempomatu = nullptr;
    QPushButton* ButtonTempoP5 = nullptr;
    QPushButton* ButtonTempoP1 = nullptr;
    QPushButton* ButtonTempoM1 = nullptr;
    QPushButton* ButtonTempoM5 = nullptr;

    QFrame* PanelTpsCrus = nullptr;
    AbLED* AbLEDCutOff = nullptr;
    AbLED* AbLEDCruise = nullptr;

    QTableWidget* StringGridMapa = nullptr;
    QFrame* PanelMapAdj = nullptr;

    // Shows the controls that wait for the first activation.
    void showAdvancedControls();
};

}  // namespace kaldor
