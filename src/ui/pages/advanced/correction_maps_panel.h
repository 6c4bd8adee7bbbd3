#pragma once
// The seven correction maps on PanelAdvanced of the advanced page: per map its label, its grid
// (axis texts above, the signed percentages below) bound through the grid editor to the core's
// CorrectionMapsModel, its "OFF"/"ON" combo and the field of the correction the controller
// applies now, its "cells" button showing the map's cell view beneath it. While the page is
// shown every live record moves the live columns and the applied corrections.
#include <QObject>

#include <array>
#include <memory>

#include "maps/correction_maps.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace kaldor {

class AxisCellViewPanel;
struct ControllerSession;
class CorrectionGridModel;
class CorrectionMapsModel;
class LiveFrame;
class MapGrid;

class CorrectionMapsPanel : public QObject {
    Q_OBJECT

public:
    template <class T>
    using PerMap = std::array<T, kCorrectionMapCount>;

    // Builds the maps on panel, in the order of the correction-map table.
    explicit CorrectionMapsPanel(QFrame* panel);
    ~CorrectionMapsPanel() override;

    // page: the advanced page; its live update runs only while it is shown.
    void attach(ControllerSession& session, QWidget* page);

    void refreshEnables();  // refresh step CorrectionEnables
    void refreshMaps();     // refresh step CorrectionMaps
    // One live record: the applied corrections, and the live columns repainted where they moved.
    void liveUpdate(const LiveFrame& frame);

    [[nodiscard]] const PerMap<QTableWidget*>& grids() const { return m_gridWidgets; }
    [[nodiscard]] CorrectionMapsModel& model() { return *m_model; }
    [[nodiscard]] const PerMap<AxisCellViewPanel*>& cellViews() const { return m_cellViews; }

private:
    ControllerSession* m_session = nullptr;
    PerMap<QTableWidget*> m_gridWidgets{};
    PerMap<QComboBox*> m_enables{};
    PerMap<QLineEdit*> m_applied{};
    PerMap<AxisCellViewPanel*> m_cellViews{};
    // The model and its grid models outlive the grids bound to them.
    std::unique_ptr<CorrectionMapsModel> m_model;
    PerMap<std::unique_ptr<CorrectionGridModel>> m_gridModels;
    PerMap<std::unique_ptr<MapGrid>> m_grids;
};

}  // namespace kaldor
