#include "ui/ui_build.h"

#include <QStyle>

#include <QHeaderView>
#include <QPalette>

#include <algorithm>

namespace kaldor {

QFrame* namedPanel(QWidget* parent, const char* name, QFrame::Shadow shadow) {
    auto* panel = named<QFrame>(parent, name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(shadow);
    return panel;
}

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = named<QLabel>(parent, name);
    label->setText(text);
    return label;
}

QGroupBox* namedGroup(QWidget* parent, const char* name, const QString& title) {
    auto* group = named<QGroupBox>(parent, name);
    group->setTitle(title);
    return group;
}

AbLED* namedLed(QWidget* parent, const char* name, const QString& caption) {
    auto* led = named<AbLED>(parent, name);
    led->setCaption(caption);
    return led;
}

void setLiveText(LiveLabel* label, const std::string& text) {
    const QString q = QString::fromStdString(text);
    if (label->text() != q)
        label->setText(q);
}

void setLiveText(QLineEdit* edit, const std::string& text) {
    const QString q = QString::fromStdString(text);
    if (edit->text() != q)
        edit->setText(q);
}

AbNumSpin* namedSpin(QWidget* parent, const char* name, const SpinSpec& design) {
    auto* spin = named<AbNumSpin>(parent, name);
    spin->setRange(design.minimum, design.maximum);
    spin->setIncrement(design.step);
    spin->setFormat(QString::fromLatin1(design.format));
    spin->setValue(design.initial);
    return spin;
}

QTableWidget* namedGrid(QWidget* parent, const char* name, int rows, int columns, int fixedRows,
                        int fixedColumns, int columnWidth, int rowHeight) {
    auto* grid = named<QTableWidget>(parent, name);
    grid->setRowCount(rows);
    grid->setColumnCount(columns);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(8);
    grid->verticalHeader()->setMinimumSectionSize(8);
    grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // The arrows move within a grid; Tab goes on to the next control instead of circling the
    // cells for ever.
    grid->setTabKeyNavigation(false);
    const QBrush heading = grid->palette().brush(QPalette::Button);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (row >= fixedRows && column >= fixedColumns) {
                continue;
            }
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(heading);
            grid->setItem(row, column, item);
        }
    }
    return grid;
}

FittedButton::FittedButton(const QString& text, int leastWidth, QWidget* parent)
    : QPushButton(text, parent), m_leastWidth(leastWidth) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize FittedButton::sizeHint() const {
    QSize hint = QPushButton::sizeHint();
    // What the style puts around a button's text.
    const int frame = style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this) +
                      2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    hint.setWidth(std::max(m_leastWidth, fontMetrics().horizontalAdvance(text()) + frame + 4));
    return hint;
}

QFont smallerFont(const QFont& font) {
    constexpr double kScale = 0.85;
    QFont smaller = font;
    if (font.pointSizeF() > 0) {
        smaller.setPointSizeF(font.pointSizeF() * kScale);
    } else if (font.pixelSize() > 0) {
        smaller.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * kScale)));
    }
    return smaller;
}

void spreadColumns(QTableWidget* grid) {
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setWordWrap(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void fitHeightToRows(QTableWidget* grid) {
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int height = 2 * grid->frameWidth();
    for (int row = 0; row < grid->rowCount(); ++row) {
        height += grid->rowHeight(row);
    }
    grid->setFixedHeight(height);
}

void setCellText(QTableWidget* grid, int column, int row, const QString& text) {
    if (grid == nullptr || column < 0 || row < 0 || column >= grid->columnCount() ||
        row >= grid->rowCount()) {
        return;
    }
    if (QTableWidgetItem* item = grid->item(row, column)) {
        item->setText(text);
        return;
    }
    grid->setItem(row, column, new QTableWidgetItem(text));
}

QString cellText(const QTableWidget* grid, int column, int row) {
    if (grid == nullptr || column < 0 || row < 0 || column >= grid->columnCount() ||
        row >= grid->rowCount()) {
        return {};
    }
    const QTableWidgetItem* item = grid->item(row, column);
    return item != nullptr ? item->text() : QString();
}

}  // namespace kaldor
