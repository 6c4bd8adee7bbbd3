#pragma once
// Page 2, "[F4]adjustment": the cruise-control map with its step buttons at the top (PanelAdj),
// the cruise and cut-off panel with its lamps (PanelTpsCrus), the main map grid and, under it,
// the map tools (PanelMapAdj), both owned by MainMapPanel. The cruise map, its buttons and
// PanelTpsCrus stay hidden until the window's first activation.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include <array>
#include <memory>

#include "model/refresh_step.h"
#include "model/revision_rules.h"
#include "widgets/ab_led.h"
#include "widgets/ab_num_spin.h"

namespace kaldor {

struct ControllerSession;
struct LiveRecord;
class AxisCellViewPanel;
class CruisePanel;
class MainMapPanel;
class PageBindings;

class AdjustmentPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMainMapRows = 17;
    static constexpr int kMainMapColumns = 9;
    static constexpr int kCruiseMapRows = 2;
    static constexpr int kCruiseMapColumns = 24;

    explicit AdjustmentPage(QWidget* parent = nullptr);
    ~AdjustmentPage() override;

    // Connects the handlers to the session the page works on.
    void attach(ControllerSession& session);

    // Refresh steps, in the refresh's order.
    void showFields(RefreshStep step);  // the bound controls of one step
    void showRevisionGroups(const RevisionGroups& groups);
    void refreshCruiseHeading();
    void refreshCruiseMap();
    void refreshWorkPressure();
    void ShowMainMap();
    // The live display's share: the cut-off and cruise lamps.
    void showRecord(const LiveRecord& record);

    QFrame* PanelAdj = nullptr;
    QLabel* LabelCisnieniePracy = nullptr;
    AbNumSpin* AbNumSpinCisnieniePracy = nullptr;
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
    // The main map's grid editor and the tools on PanelMapAdj.
    [[nodiscard]] MainMapPanel& mainMap() const { return *m_mainMap; }
    // The cruise map with its buttons and the cruise and cut-off controls of PanelTpsCrus.
    [[nodiscard]] CruisePanel& cruise() const { return *m_cruise; }
    // The cruise map's cell view beneath PanelAdj, shown by its "cells" button beside the map.
    [[nodiscard]] AxisCellViewPanel& cruiseCells() const { return *m_cruiseCells; }

    // Shows the controls that wait for the first activation.
    void showAdvancedControls();

signals:
    // Fields whose controls sit on another page were stored: the refresh step that shows them.
    void fieldsStored(kaldor::RefreshStep step);

private:
    [[nodiscard]] std::array<QWidget*, 7> cruiseControls() const;

    ControllerSession* m_session = nullptr;
    std::unique_ptr<PageBindings> m_bindings;
    std::unique_ptr<MainMapPanel> m_mainMap;
    CruisePanel* m_cruise = nullptr;  // owned by PanelTpsCrus
    AxisCellViewPanel* m_cruiseCells = nullptr;
};

}  // namespace kaldor
