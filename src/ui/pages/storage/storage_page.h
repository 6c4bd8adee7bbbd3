#pragma once
// Page 7 (no caption, an empty tab): the working grids of the auto-calibration tables and their
// buttons, all created hidden; nothing in the program shows them. The grids take the tables the
// controller streams with every collected record (also in playback), whatever page is shown.
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include <array>
#include <memory>

#include "maps/calibration_tables.h"

namespace kaldor {

struct ControllerSession;
class CalibrationGridModel;
class MainMapEditor;
class MapGrid;

class StoragePage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 17;
    static constexpr int kColumns = 9;

    explicit StoragePage(QWidget* parent = nullptr);
    ~StoragePage() override;

    // mainMap: the columns and the operating point the tables follow.
    void attach(ControllerSession& session, const MainMapEditor& mainMap);

    // Refresh step CalibrationHeadings, and "Nanies Punkty": the pressure column and the main map's
    // heading row.
    void ButtonNaniesPunktyClick();
    // The table update of one collected record.
    void updateTables();

    [[nodiscard]] const CalibrationTables& tables() const { return m_tables; }

    QTableWidget* StringGridBenz = nullptr;
    QTableWidget* StringGridGaz = nullptr;
    QTableWidget* StringGrid3dKor = nullptr;
    QTableWidget* StringGridKorektuj = nullptr;
    QPushButton* Button19 = nullptr;
    QPushButton* Button18 = nullptr;
    QPushButton* Button20 = nullptr;
    QPushButton* ButtonNaniesPunkty = nullptr;

private:
    ControllerSession* m_session = nullptr;
    const MainMapEditor* m_mainMap = nullptr;
    CalibrationTables m_tables;
    // In CalibrationGrid order; the models outlive the grids bound to them.
    std::array<std::unique_ptr<CalibrationGridModel>, kCalibrationGridCount> m_models;
    std::array<std::unique_ptr<MapGrid>, kCalibrationGridCount> m_grids;
};

}  // namespace kaldor
