#include "ui/map_grid/grid_headers.h"

#include <QLocale>
#include <QTableWidget>

#include "ui/ui_build.h"

namespace kaldor {

char localeDecimalPoint() {
    // A separator outside ASCII (none of the system formats has one) falls back to '.'.
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

QString headingCellText(int value, HeadingFormat format) {
    return QString::fromStdString(headingText(value, format, localeDecimalPoint()));
}

void writeFixedGridHeaders(QWidget* root) {
    if (root == nullptr)
        return;
    for (std::size_t i = 0; i < fixedHeadingCount(); ++i) {
        const GridHeading& heading = fixedHeading(i);
        auto* grid = root->findChild<QTableWidget*>(QString::fromLatin1(heading.grid));
        for (int c = 0; grid != nullptr && c < heading.count; ++c)
            setCellText(grid, heading.firstColumn + c, 0,
                        headingCellText(heading.values[c], heading.format));
    }
    for (std::size_t i = 0; i < fixedHeadingTextCount(); ++i) {
        const GridHeadingText& cell = fixedHeadingText(i);
        if (auto* grid = root->findChild<QTableWidget*>(QString::fromLatin1(cell.grid)))
            setCellText(grid, cell.column, cell.row, QString::fromLatin1(cell.text));
    }
}

}  // namespace kaldor
