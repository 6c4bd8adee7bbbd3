#pragma once
// The cruise-control map at the top of the adjustment page and the cruise and cut-off controls
// of PanelTpsCrus. StringGridMapaTempomatu is bound through the grid editor to the core's
// CruiseMapModel, with the plus and minus keys and the "+5", "+1", "-1", "-5" buttons; while the
// grid is shown every live record moves its live column (green while cruise control holds). The
// two "SET" buttons store fields whose controls sit on the advanced page: fieldsStored() names
// the refresh step that shows them again.
#include <QObject>

#include <array>
#include <memory>

#include "model/refresh_step.h"

class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kaldor {

struct ControllerSession;
class CruiseGridModel;
class CruiseMapModel;
class LiveFrame;
class MapGrid;

class CruisePanel : public QObject {
    Q_OBJECT

public:
    // grid: StringGridMapaTempomatu; steps: ButtonTempoP5, ButtonTempoP1, ButtonTempoM1,
    // ButtonTempoM5. The cut-off and cruise controls are built on panel (PanelTpsCrus) into the
    // first three columns of rows, one line each.
    CruisePanel(QTableWidget* grid, const std::array<QPushButton*, 4>& steps, QFrame* panel,
                QGridLayout* rows);
    ~CruisePanel() override;

    void attach(ControllerSession& session);

    void refreshHeading();  // refresh step CruiseHeading
    void refreshMap();      // refresh step CruiseMap
    // One live record, while the grid is shown: the live column, repainted with its old place.
    void updateLiveColumn(const LiveFrame& frame);
    // ButtonTempomatClick: the cruise mode's defaults.
    void ButtonTempomatClick();
    // ButtonSetTpsClick: the cut-off threshold from the live signal, the cut-off time reset.
    void ButtonSetTpsClick();

    [[nodiscard]] CruiseMapModel& model() { return *m_model; }
    [[nodiscard]] MapGrid& grid() { return *m_grid; }

    QLabel* LabelCutOff = nullptr;
    QComboBox* ComboBoxTpsCutOff = nullptr;
    QPushButton* ButtonSetTps = nullptr;
    QLabel* LabelTempomat = nullptr;
    QComboBox* ComboBoxCruise = nullptr;
    QPushButton* ButtonTempomat = nullptr;

signals:
    void fieldsStored(kaldor::RefreshStep step);

private:
    ControllerSession* m_session = nullptr;
    QTableWidget* m_gridWidget;
    std::array<QPushButton*, 4> m_steps;
    // The model and its grid model outlive the grid bound to them.
    std::unique_ptr<CruiseMapModel> m_model;
    std::unique_ptr<CruiseGridModel> m_gridModel;
    std::unique_ptr<MapGrid> m_grid;
};

}  // namespace kaldor
