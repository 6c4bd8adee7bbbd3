#include "ui/pages/storage_page.h"

#include "ui/ui_build.h"

namespace kaldor {

namespace {

struct HiddenGrid {
    QTableWidget* StoragePage::*member;
    const char* name;
};

constexpr HiddenGrid kGrids[] = {
    {&StoragePage::StringGridBenz, "StringGridBenz"},
    {&StoragePage::StringGridGaz, "StringGridGaz"},
    {&StoragePage::StringGrid3dKor, "StringGrid3dKor"},
    {&StoragePage::StringGridKorektuj, "StringGridKorektuj"},
};

struct HiddenButton {
    QPushButton* StoragePage::*member;
    const char* name;
    const char* caption;
};

constexpr HiddenButton kButtons[] = {
    {&StoragePage::Button19, "Button19", "Delete Diesel"},
    {&StoragePage::Button18, "Button18", "Delete Gaz"},
    {&StoragePage::Button20, "Button20", "Odswiez"},
    {&StoragePage::ButtonNaniesPunkty, "ButtonNaniesPunkty", "Nanies Punkty"},
};

}  // namespace

StoragePage::StoragePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet11"));
    for (const HiddenGrid& entry : kGrids) {
        QTableWidget* grid = namedGrid(this, entry.name, kRows, kColumns, 1, 1);
        grid->hide();
        this->*entry.member = grid;
    }
    for (const HiddenButton& entry : kButtons) {
        auto* button = named<QPushButton>(this, entry.name);
        button->setText(QString::fromLatin1(entry.caption));
        button->hide();
        this->*entry.member = button;
    }
}

}  // namespace kaldor
