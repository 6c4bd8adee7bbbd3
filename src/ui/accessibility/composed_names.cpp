// The names composed from a control's place: the label that becomes a control's buddy (the one
// before it in its row, or above it in its column), the labels beside a control, the title of
// its group and of its page, the tabs' names, and the names of the controls left without one.
#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QTabBar>
#include <QTabWidget>

#include <map>

#include "ui/accessibility/accessible_names.h"
#include "ui/accessibility/accessible_names_internal.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"

namespace kaldor {

QString plainText(QString text) {
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

namespace {

// Whether the control shows its own caption, so a label beside it is not its name.
bool hasOwnCaption(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return !button->text().isEmpty();
    if (const auto* bar = qobject_cast<const AbBar*>(widget))
        return !bar->caption().isEmpty();
    if (const auto* meter = qobject_cast<const AbRoundMeter*>(widget))
        return !meter->caption().isEmpty();
    if (const auto* led = qobject_cast<const AbLED*>(widget))
        return !led->caption().isEmpty();
    return false;
}

bool wantsBuddy(const QWidget* widget) {
    return widget != nullptr && (takesTabFocus(widget) || isInstrument(widget)) &&
           !hasOwnCaption(widget);
}

bool isBuddyOfSomeLabel(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (parent == nullptr)
        return false;
    for (const QObject* child : parent->children())
        if (const auto* label = qobject_cast<const QLabel*>(child);
            label && label->buddy() == widget)
            return true;
    return false;
}

// The first control in a layout item that wants a name, for a label followed by a row of them.
QWidget* firstWanting(QLayoutItem* item) {
    if (item == nullptr)
        return nullptr;
    if (QWidget* widget = item->widget())
        return wantsBuddy(widget) ? widget : nullptr;
    if (QLayout* inner = item->layout()) {
        for (int i = 0; i < inner->count(); ++i)
            if (QWidget* found = firstWanting(inner->itemAt(i)))
                return found;
    }
    return nullptr;
}

// The control a label names: the one after it in its row, or the one under it in its column.
QWidget* labelledControl(const QLabel* label, QLayout* layout) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            if (QWidget* found = labelledControl(label, inner))
                return found;
            continue;
        }
        if (item->widget() != label)
            continue;
        if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            if (QWidget* beside = firstWanting(grid->itemAtPosition(row, column + columnSpan)))
                return beside;
            return firstWanting(grid->itemAtPosition(row + rowSpan, column));
        }
        return i + 1 < layout->count() ? firstWanting(layout->itemAt(i + 1)) : nullptr;
    }
    return nullptr;
}

// The layout item holding `widget` in `layout` (searched through nested layouts), with the
// layout it sits in and its index there.
bool findInLayout(QLayout* layout, const QWidget* widget, QLayout*& owner, int& index) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget) {
            owner = layout;
            index = i;
            return true;
        }
        if (item->layout() != nullptr && findInLayout(item->layout(), widget, owner, index))
            return true;
    }
    return false;
}

QString labelText(QLayoutItem* item) {
    const auto* label = item != nullptr ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
    return label != nullptr ? plainText(label->text()) : QString();
}

// The texts of the labels before (left of, or above) and after (right of) a widget in its
// parent's layout; a wrapper's own place counts for the control inside it.
struct Neighbours {
    QString before;
    QString after;
};

Neighbours neighboursOf(const QWidget* control) {
    Neighbours found;
    int depth = 0;
    for (const QWidget* w = control; w != nullptr && w->parentWidget() != nullptr && depth < 3;
         w = w->parentWidget(), ++depth) {
        QLayout* layout = w->parentWidget()->layout();
        QLayout* owner = nullptr;
        int index = -1;
        if (layout == nullptr || !findInLayout(layout, w, owner, index))
            continue;
        if (auto* grid = qobject_cast<QGridLayout*>(owner)) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            if (column > 0)
                found.before = labelText(grid->itemAtPosition(row, column - 1));
            // A row headed by a label names the row's other controls by it and their place
            // ("EGT 3" for the third control of the row "EGT").
            for (int c = column - 2; found.before.isEmpty() && c >= 0; --c) {
                const QString head = labelText(grid->itemAtPosition(row, c));
                if (!head.isEmpty())
                    found.before = head + QLatin1Char(' ') + QString::number(column - c);
            }
            if (found.before.isEmpty() && row > 0)
                found.before = labelText(grid->itemAtPosition(row - 1, column));
            found.after = labelText(grid->itemAtPosition(row, column + columnSpan));
        } else {
            if (index > 0)
                found.before = labelText(owner->itemAt(index - 1));
            if (index + 1 < owner->count())
                found.after = labelText(owner->itemAt(index + 1));
        }
        if (!found.before.isEmpty() || !found.after.isEmpty())
            return found;
    }
    return found;
}

QString groupTitleOf(const QWidget* widget) {
    for (const QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget())
        if (const auto* group = qobject_cast<const QGroupBox*>(w))
            return plainText(group->title());
    return {};
}

// The caption of the page the widget sits on ("[F2]readings" is read "readings").
QString pageTitleOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QWidget* stack = w->parentWidget();
        const auto* tabs =
            stack != nullptr ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs == nullptr)
            continue;
        QString caption = plainText(tabs->tabText(tabs->indexOf(const_cast<QWidget*>(w))));
        if (caption.startsWith(QLatin1Char('[')) && caption.contains(QLatin1Char(']')))
            caption = caption.mid(caption.indexOf(QLatin1Char(']')) + 1);
        // A page without a caption is read by the name its tab is read by.
        if (caption.isEmpty())
            caption = tabs->tabBar()->accessibleTabName(tabs->indexOf(const_cast<QWidget*>(w)));
        if (!caption.isEmpty())
            return caption;
    }
    return plainText(widget->window()->windowTitle());
}

// The name a control has without one composed here.
QString plainName(QWidget* widget) {
    if (widget->property(kComposedProperty).toBool())
        return {};
    return plainText(accessibleNameOf(widget));
}

// A name that is the control's own: not empty and not merely the title of the group it sits in.
bool hasOwnName(QWidget* widget, const QString& name) {
    return !name.isEmpty() && name != groupTitleOf(widget);
}

}  // namespace

void setBuddies(QWidget& root) {
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (label->buddy() != nullptr || plainText(label->text()).isEmpty())
            continue;
        QWidget* parent = label->parentWidget();
        if (parent == nullptr || parent->layout() == nullptr)
            continue;
        QWidget* control = labelledControl(label, parent->layout());
        // Qt reads a buddy's name from its siblings only.
        if (control != nullptr && control->parentWidget() == parent && !isBuddyOfSomeLabel(control))
            label->setBuddy(control);
    }
}

// A tab without a caption is read by the title of the first group on its page, else as the page's
// tab by number. A tab bar is read by its current tab.
void nameTabs(QTabBar& bar) {
    const auto* tabs = qobject_cast<const QTabWidget*>(bar.parentWidget());
    for (int i = 0; i < bar.count(); ++i) {
        if (!plainText(bar.tabText(i)).isEmpty())
            continue;
        QString name = tabs != nullptr ? tabNameByTable(tabs->widget(i)) : QString();
        if (name.isEmpty() && tabs != nullptr && tabs->widget(i) != nullptr) {
            for (const QGroupBox* group : tabs->widget(i)->findChildren<QGroupBox*>()) {
                name = plainText(group->title());
                if (!name.isEmpty())
                    break;
            }
            for (const QLabel* label : tabs->widget(i)->findChildren<QLabel*>()) {
                if (!name.isEmpty())
                    break;
                name = plainText(label->text());
            }
        }
        // A page with nothing to read on it (the calibration tables, shown only as grids) is
        // read by its number.
        if (name.isEmpty()) {
            const QString page = pageTitleOf(&bar);
            name =
                (page == plainText(bar.window()->windowTitle()) ? QStringLiteral("page") : page) +
                QLatin1Char(' ') + QString::number(i + 1);
        }
        bar.setAccessibleTabName(i, name);
    }
}

// Controls without a name of their own are named by their tool tip, else by their group (or
// page) and their place among the group's unnamed controls.
void composeNames(QWidget& window) {
    std::vector<QWidget*> controls;
    collectNamed(&window, controls);
    std::map<QString, int> counts;
    for (QWidget* control : controls) {
        if (qobject_cast<QTabBar*>(control) != nullptr ||
            control->property(kNamedByTableProperty).toBool())
            continue;  // read by its tabs, or named by the tables
        const bool composed = control->property(kComposedProperty).toBool();
        if (!composed && !control->accessibleName().isEmpty())
            continue;
        if (composed)
            control->setAccessibleName(QString());
        if (hasOwnName(control, plainName(control))) {
            control->setProperty(kComposedProperty, QVariant());
            continue;
        }
        // The label before it; or what it holds, told by its group and the unit after it
        // ("TPS CUTOFF, rpm"); or its tool tip.
        const Neighbours labels = neighboursOf(control);
        QString name = labels.before;
        if (name.isEmpty() && !labels.after.isEmpty()) {
            QString context = groupTitleOf(control);
            if (context.isEmpty())
                context = pageTitleOf(control);
            name = context.isEmpty() ? labels.after : context + QStringLiteral(", ") + labels.after;
        }
        if (name.isEmpty())
            name = plainText(control->toolTip());
        if (name.isEmpty()) {
            QString group = groupTitleOf(control);
            if (group.isEmpty())
                group = pageTitleOf(control);
            const int place = ++counts[group];
            name = group + QLatin1Char(' ') + QString::number(place);
        }
        control->setAccessibleName(name);
        control->setProperty(kComposedProperty, true);
    }
}

}  // namespace kaldor
