#include "widgets/instrument_accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QVariant>

#include <optional>

#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_led.h"
#include "widgets/instrument_reading.h"
#include "widgets/live_label.h"

namespace instrument_accessibility {
namespace {

constexpr char kFollowsEntryProperty[] = "kaldorFollowsEntry";
// A widget drawn by the program (a chart) says what it is by this property (a QAccessible::Role).
constexpr char kRoleProperty[] = "kaldorAccessibleRole";

// A text that can be read but not edited or selected: what a screen reader reads through the
// text interface (the only way a value that is no plain number reaches it on AT-SPI).
class ReadOnlyText : public QAccessibleTextInterface {
public:
    [[nodiscard]] virtual QString readText() const = 0;

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return readText().mid(start, end < 0 ? -1 : end - start);
    }
    int characterCount() const override { return static_cast<int>(readText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }
};

// Bars, round meters and lamps: read-only values.
class InstrumentAccessible final : public QAccessibleWidget,
                                   public QAccessibleValueInterface,
                                   public ReadOnlyText {
public:
    InstrumentAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString readText() const override { return valueTextOf(widget()); }
    using ReadOnlyText::text;

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name)
            return nameOf(widget());
        if (type == QAccessible::Value)
            return valueTextOf(widget());
        return QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        if (const auto* led = qobject_cast<const AbLED*>(widget())) {
            s.checkable = true;
            s.checked = led->isLit();
        }
        return s;
    }

    QVariant currentValue() const override {
        if (const auto* led = qobject_cast<const AbLED*>(widget()))
            return led->isLit() ? 1 : 0;
        const std::optional<GaugeReading> reading = gaugeReading(widget());
        return reading ? QVariant(reading->shown) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override {
        if (qobject_cast<const AbLED*>(widget()) != nullptr)
            return 1;
        const std::optional<GaugeReading> reading = gaugeReading(widget());
        return reading ? QVariant(reading->maximum) : QVariant();
    }
    QVariant minimumValue() const override {
        if (qobject_cast<const AbLED*>(widget()) != nullptr)
            return 0;
        const std::optional<GaugeReading> reading = gaugeReading(widget());
        return reading ? QVariant(reading->minimum) : QVariant();
    }
    QVariant minimumStepSize() const override { return 0; }
};

// A live text reads as what it shows, as a label does.
class LiveTextAccessible final : public QAccessibleWidget {
public:
    explicit LiveTextAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name || type == QAccessible::Value) {
            if (type == QAccessible::Name && !widget()->accessibleName().isEmpty())
                return widget()->accessibleName();
            return static_cast<const LiveLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(type);
    }
};

// The popup's selected row is the current entry, as a screen reader looks for it among the
// list's children. Only the selection: its current row, which the list answers with a highlight
// signal, is the popup's own, and the popup selects the entry itself when it opens.
void selectCurrentRow(QComboBox* list) {
    QItemSelectionModel* selection = list->view()->selectionModel();
    if (selection == nullptr)
        return;
    const QModelIndex row =
        list->model()->index(list->currentIndex(), list->modelColumn(), list->rootModelIndex());
    if (!row.isValid())
        selection->clearSelection();
    else if (!selection->isSelected(row))
        selection->select(row, QItemSelectionModel::ClearAndSelect);
}

// Keeps the popup's selected row on the list's current entry; once per list.
void followEntry(QComboBox* list) {
    if (list->property(kFollowsEntryProperty).toBool())
        return;
    list->setProperty(kFollowsEntryProperty, true);
    selectCurrentRow(list);
    QObject::connect(list, &QComboBox::currentIndexChanged, list,
                     [list] { selectCurrentRow(list); });
    // Entries replaced (a language load) drop the selection, and the list may take its entry
    // back with its signals blocked: the row is selected again once that is done.
    auto later = [list] {
        QMetaObject::invokeMethod(
            list, [list] { selectCurrentRow(list); }, Qt::QueuedConnection);
    };
    QAbstractItemModel* model = list->model();
    QObject::connect(model, &QAbstractItemModel::modelReset, list, later);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, list, later);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, list, later);
    QObject::connect(model, &QAbstractItemModel::dataChanged, list, later);
}

// A drop-down list: named by its given name or its label, valued by its current item, with its
// popup as its child and the press action opening it.
class ListAccessible final : public QAccessibleWidget, public ReadOnlyText {
public:
    explicit ListAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {
        followEntry(list());
    }

    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString readText() const override { return text(QAccessible::Value); }
    using ReadOnlyText::text;

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value)
            return list()->isEditable() ? list()->lineEdit()->text() : list()->currentText();
        if (type == QAccessible::Name) {
            if (!list()->accessibleName().isEmpty())
                return list()->accessibleName();
            const QString buddy = buddyText(list());
            if (!buddy.isEmpty())
                return buddy;
        }
        return QAccessibleWidget::text(type);
    }

    int childCount() const override { return list()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(list()->view());
        if (index == 1 && list()->isEditable())
            return QAccessible::queryAccessibleInterface(list()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr)
            return -1;
        if (child->object() == list()->view())
            return 0;
        if (list()->isEditable() && child->object() == list()->lineEdit())
            return 1;
        return -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// A two-state button: a command (push button) or one of a set of choices (radio button, checked
// while its state is on). Its press is a click, as the mouse's, so it sends what a click sends;
// the state stays the program's. The click comes from the event loop, after the request that
// asked for it has been answered (a click may open a dialog of its own).
class TwoStateButtonAccessible final : public QAccessibleWidget {
public:
    explicit TwoStateButtonAccessible(QWidget* widget) : QAccessibleWidget(widget) {}

    AbColBitBtn* button() const { return static_cast<AbColBitBtn*>(widget()); }

    QAccessible::Role role() const override {
        return button()->isChoice() ? QAccessible::RadioButton : QAccessible::Button;
    }
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name) {
            if (!button()->accessibleName().isEmpty())
                return button()->accessibleName();
            QString shown = button()->shownText();
            return shown.remove(QLatin1Char('&')).trimmed();
        }
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (button()->isChoice()) {
            s.checkable = true;
            s.checked = button()->state();
        }
        s.pressed = button()->isDown();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled())
            names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        // "Toggle" too, as assistive technology may ask a radio button so.
        if (action == pressAction() || action == toggleAction()) {
            if (button()->isEnabled())
                button()->animateClick();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

bool handles(const QString& className, const QObject* object) {
    if (object->property(kRoleProperty).isValid())
        return true;
    for (const char* name : {"AbBar", "AbRoundMeter", "AbLED", "LiveLabel", "AbColBitBtn"})
        if (className == QLatin1String(name))
            return true;
    return false;
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (const QVariant role = object->property(kRoleProperty); role.isValid())
        return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
    if (className == QLatin1String("AbBar") || className == QLatin1String("AbRoundMeter"))
        return new InstrumentAccessible(widget, QAccessible::ProgressBar);
    if (className == QLatin1String("AbLED"))
        return new InstrumentAccessible(widget, QAccessible::Indicator);
    if (className == QLatin1String("LiveLabel"))
        return new LiveTextAccessible(widget);
    if (className == QLatin1String("QComboBox"))
        return new ListAccessible(widget);
    if (className == QLatin1String("AbColBitBtn"))
        return new TwoStateButtonAccessible(widget);
    return nullptr;
}

}  // namespace

void install() {
    // installFactory ignores a factory installed before.
    QAccessible::installFactory(factory);
}

void adopt(QWidget& root) {
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(widget) != nullptr)
            continue;  // nameByLabel's
        const QString className = QString::fromLatin1(widget->metaObject()->className());
        QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(widget);
        const bool own = dynamic_cast<InstrumentAccessible*>(existing) != nullptr ||
                         dynamic_cast<LiveTextAccessible*>(existing) != nullptr ||
                         dynamic_cast<TwoStateButtonAccessible*>(existing) != nullptr;
        if (own || !handles(className, widget))
            continue;
        if (existing != nullptr)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
        // The cache owns it and drops it with the widget.
        QAccessible::registerAccessibleInterface(factory(className, widget));
    }
}

void nameByLabel(QComboBox* list) {
    QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(list);
    if (dynamic_cast<ListAccessible*>(existing) == nullptr) {
        if (existing != nullptr)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
        // The cache owns it and drops it with the list.
        QAccessible::registerAccessibleInterface(new ListAccessible(list));
    }
    followEntry(list);
}

void setRole(QWidget* widget, QAccessible::Role role) {
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

}  // namespace instrument_accessibility
