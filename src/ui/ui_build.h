#pragma once
// Small helpers the window and its pages build their controls with. Every control carries the
// name the rest of the program knows it by, so creation always goes through named().
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QString>
#include <QTableWidget>
#include <QWidget>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <string>
#include <string_view>

#include <array>

#include "widgets/ab_led.h"
#include "widgets/ab_num_spin.h"
#include "widgets/live_label.h"

namespace kaldor {

template <class W, class... Args>
W* named(QWidget* parent, const char* name, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A push button as wide as its text needs and at least leastWidth, without the least width the
// style gives buttons with a text: for the short buttons beside a list, whose text a language
// may lengthen.
class FittedButton : public QPushButton {
public:
    FittedButton(const QString& text, int leastWidth, QWidget* parent = nullptr);
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

private:
    int m_leastWidth;
};

// A plain panel with a sunken or raised frame, as the panels of the window are drawn.
QFrame* namedPanel(QWidget* parent, const char* name, QFrame::Shadow shadow = QFrame::Raised);

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text);

QGroupBox* namedGroup(QWidget* parent, const char* name, const QString& title);

AbLED* namedLed(QWidget* parent, const char* name, const QString& caption);

// A drop-down list with its items.
template <std::size_t N>
QComboBox* namedList(QWidget* parent, const char* name, const std::array<const char*, N>& items) {
    auto* box = named<QComboBox>(parent, name);
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
    return box;
}

// Live texts: set only when they changed, so an unchanged value repaints nothing.
void setLiveText(LiveLabel* label, const std::string& text);
void setLiveText(QLineEdit* edit, const std::string& text);

// A drop-down list with the items of a core table.
template <std::size_t N>
QComboBox* namedList(QWidget* parent, const char* name,
                     const std::array<std::string_view, N>& items) {
    auto* box = named<QComboBox>(parent, name);
    for (std::string_view item : items)
        box->addItem(QString::fromUtf8(item.data(), static_cast<int>(item.size())));
    return box;
}

// The design values of a number spin editor.
struct SpinSpec {
    double minimum, maximum, step;
    const char* format;
    double initial;
};
AbNumSpin* namedSpin(QWidget* parent, const char* name, const SpinSpec& design);

// A string grid: cell (column c, row r) is item(r, c). The first fixedRows rows and
// fixedColumns columns are heading cells: filled with empty, non-editable items drawn in the
// button colour. The grid has no header sections of its own and is not edited in place unless
// its owner switches that on.
QTableWidget* namedGrid(QWidget* parent, const char* name, int rows, int columns, int fixedRows,
                        int fixedColumns, int columnWidth = 40, int rowHeight = 18);

// The font a notch smaller, for grids with many narrow columns.
[[nodiscard]] QFont smallerFont(const QFont& font);

// Columns share the grid's width equally, texts are clipped rather than elided and there is no
// horizontal scroll bar: for the one-row maps whose whole axis must be seen at once.
void spreadColumns(QTableWidget* grid);
// Makes the grid exactly as high as its rows, with no vertical scroll bar.
void fitHeightToRows(QTableWidget* grid);

// Sets the text of cell (column, row), creating the item when needed. Cells outside the grid
// are ignored.
void setCellText(QTableWidget* grid, int column, int row, const QString& text);
// The text of cell (column, row); empty for a cell outside the grid or never written.
[[nodiscard]] QString cellText(const QTableWidget* grid, int column, int row);

}  // namespace kaldor
