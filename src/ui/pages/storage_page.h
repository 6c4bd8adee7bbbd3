#pragma once
// Page 7 (no caption, an empty tab): the working grids of the auto-calibration tables and their
// buttons, all created hidden; nothing in the program shows them.
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

namespace kaldor {

class StoragePage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 17;
    static constexpr int kColumns = 9;

    explicit StoragePage(QWidget* parent = nullptr);

    QTableWidget* StringGridBenz = nullptr;
    QTableWidget* StringGridGaz = nullptr;
    QTableWidget* StringGrid3dKor = nullptr;
    QTableWidget* StringGridKorektuj = nullptr;
    QPushButton* Button19 = nullptr;
    QPushButton* Button18 = nullptr;
    QPushButton* Button20 = nullptr;
    QPushButton* ButtonNaniesPunkty = nullptr;
};

}  // namespace kaldor
