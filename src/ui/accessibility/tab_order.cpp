// The tab order and the walk of the window in reading order: a layout's widgets row by row, then
// the children placed by hand; the controls that are one Tab stop with what is inside them; the
// Tab stops under a widget in the order Tab visits them, and everything that carries a name.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>

#include "ui/accessibility/accessible_names.h"
#include "ui/accessibility/accessible_names_internal.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"

namespace kaldor {

bool isInstrument(const QWidget* widget) {
    return qobject_cast<const AbBar*>(widget) != nullptr ||
           qobject_cast<const AbRoundMeter*>(widget) != nullptr ||
           qobject_cast<const AbLED*>(widget) != nullptr;
}

namespace {

// Controls that are one stop for Tab: what is inside them (a spin's text field, a list's popup,
// a grid's viewport) belongs to them.
bool isLeafControl(const QWidget* widget) {
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSlider*>(widget) != nullptr ||
           qobject_cast<const QTabBar*>(widget) != nullptr ||
           qobject_cast<const QMenuBar*>(widget) != nullptr || isInstrument(widget);
}

// A frame around other controls that would otherwise be a nameless Tab stop of its own.
bool isScrollFrame(const QWidget* widget) {
    return qobject_cast<const QScrollArea*>(widget) != nullptr;
}

void appendLayoutWidgets(QLayout* layout, std::vector<QWidget*>& out);

void appendItem(QLayoutItem* item, std::vector<QWidget*>& out) {
    if (item == nullptr)
        return;
    if (QWidget* widget = item->widget())
        out.push_back(widget);
    else if (QLayout* inner = item->layout())
        appendLayoutWidgets(inner, out);
}

// The widgets of a layout as they stand: a grid row by row, left to right; a box in its order.
void appendLayoutWidgets(QLayout* layout, std::vector<QWidget*>& out) {
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        struct Cell {
            int row, column;
            QLayoutItem* item;
        };
        std::vector<Cell> cells;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            cells.push_back({row, column, grid->itemAt(i)});
        }
        std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        for (const Cell& cell : cells)
            appendItem(cell.item, out);
        return;
    }
    const auto* box = qobject_cast<QBoxLayout*>(layout);
    const bool reversed = box != nullptr && (box->direction() == QBoxLayout::RightToLeft ||
                                             box->direction() == QBoxLayout::BottomToTop);
    const int count = layout->count();
    for (int i = 0; i < count; ++i)
        appendItem(layout->itemAt(reversed ? count - 1 - i : i), out);
}

// The child widgets of `parent` in the order a reader's eye meets them: its layout's order, then
// the children placed by hand, top to bottom and left to right.
std::vector<QWidget*> visualChildren(QWidget* parent) {
    std::vector<QWidget*> ordered;
    if (auto* stack = qobject_cast<QStackedWidget*>(parent)) {
        for (int i = 0; i < stack->count(); ++i)
            ordered.push_back(stack->widget(i));
        return ordered;
    }
    if (auto* scroll = qobject_cast<QScrollArea*>(parent)) {
        if (scroll->widget() != nullptr)
            ordered.push_back(scroll->widget());
        return ordered;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
        ordered.push_back(tabs->tabBar());
        for (int i = 0; i < tabs->count(); ++i)
            ordered.push_back(tabs->widget(i));
        return ordered;
    }
    if (parent->layout() != nullptr)
        appendLayoutWidgets(parent->layout(), ordered);
    std::vector<QWidget*> placed;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow())
            continue;
        if (std::find(ordered.begin(), ordered.end(), widget) == ordered.end())
            placed.push_back(widget);
    }
    std::stable_sort(placed.begin(), placed.end(), [](const QWidget* a, const QWidget* b) {
        const QPoint pa = a->pos();
        const QPoint pb = b->pos();
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    // Only the layout's widgets that are this parent's own (a layout may hold a widget of
    // another parent only by mistake).
    ordered.erase(
        std::remove_if(ordered.begin(), ordered.end(),
                       [parent](const QWidget* w) { return w->parentWidget() != parent; }),
        ordered.end());
    ordered.insert(ordered.end(), placed.begin(), placed.end());
    return ordered;
}

void collectChain(QWidget* widget, std::vector<QWidget*>& out) {
    for (QWidget* child : visualChildren(widget)) {
        if (takesTabFocus(child))
            out.push_back(child);
        if (!isLeafControl(child))
            collectChain(child, out);
    }
}

}  // namespace

// Everything below root that carries a name: the Tab stops and the instruments.
void collectNamed(QWidget* widget, std::vector<QWidget*>& out) {
    for (QWidget* child : visualChildren(widget)) {
        if (takesTabFocus(child) || isInstrument(child))
            out.push_back(child);
        if (!isLeafControl(child))
            collectNamed(child, out);
    }
}

bool takesTabFocus(const QWidget* widget) {
    // A widget that hands its focus to another (a page control to its tab bar) is no stop.
    return widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) != 0 &&
           !widget->isWindow() && !isScrollFrame(widget) && widget->focusProxy() == nullptr;
}

std::vector<QWidget*> tabChain(QWidget& root) {
    std::vector<QWidget*> chain;
    collectChain(&root, chain);
    return chain;
}

}  // namespace kaldor
