#include "ui/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>
#include <array>
#include <map>

#include "files/text_ids.h"
#include "service/setting_rows.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"
#include "widgets/instrument_accessibility.h"

namespace kaldor {
namespace {

// Set on controls whose name was composed here, so a language load composes it again.
constexpr char kComposedProperty[] = "kaldorComposedName";
// Set on controls named from the tables below, which the general rules leave alone.
constexpr char kNamedByTableProperty[] = "kaldorNamedByTable";

constexpr std::size_t kSpokenCount = static_cast<std::size_t>(SpokenText::Count);

QString englishSpoken(std::size_t index) {
    const std::string_view text = spokenTextEnglish(static_cast<SpokenText>(index));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::array<QString, kSpokenCount>& spokenTexts() {
    static std::array<QString, kSpokenCount> texts = [] {
        std::array<QString, kSpokenCount> english;
        for (std::size_t i = 0; i < kSpokenCount; ++i)
            english[i] = englishSpoken(i);
        return english;
    }();
    return texts;
}

// The scope's selectors by the trace they choose, numbered as the recorder numbers its channels
// (0 the black trace, 1 the red one, 2 and 3 the green and the blue), and its colour as drawn
// (the selectors' names do not say their colours).
struct TraceName {
    const char* control;
    int trace;
    SpokenText colour;
};
constexpr TraceName kTraceNames[] = {
    {"ComboBoxScopType", 0, SpokenText::Black},
    {"ComboBoxScopeTypeRed", 1, SpokenText::Red},
    {"ComboBoxScopeTypeBlue", 2, SpokenText::Green},
    {"ComboBoxScopeTypeGreen", 3, SpokenText::Blue},
};

// Gauges without caption or label, read by the quantity they show.
struct QuantityName {
    const char* control;
    SpokenText name;
};
constexpr QuantityName kQuantityNames[] = {
    {"Ab270MeterRPM", SpokenText::EngineSpeed},
    {"Ab180MeterPasDifP", SpokenText::PressureDifference},
};

// Grids without a caption, read by what they hold (as the set-up report heads them).
constexpr QuantityName kGridNames[] = {
    {"StringGridErrorMemory", SpokenText::ErrorMemory},
    {"StringGridMapa", SpokenText::MainMap},
    {"StringGridMapaTempomatu", SpokenText::CruiseMap},
};

// Controls of no setting without a caption, label or tool tip, read by what they hold (the
// settings' controls are named by their rows); a family of numbered controls shares one text
// with its number for "%1" (0: none).
struct HeldName {
    const char* control;
    SpokenText name;
    int number;
};
constexpr HeldName kHeldNames[] = {
    {"ComboBoxLevel", SpokenText::AssumedRevision, 0},
    {"ComboBoxRpmDefs", SpokenText::ColumnPresets, 0},
    {"ComboBoxInjTdefs", SpokenText::RowPresets, 0},
    {"EditDieselL", SpokenText::DieselConsumption, 0},
    {"EditGazL", SpokenText::PropaneConsumption, 0},
    {"StringGridBenz", SpokenText::DieselTable, 0},
    {"StringGridGaz", SpokenText::GasTable, 0},
    {"StringGrid3dKor", SpokenText::CorrectionTable, 0},
    {"StringGridKorektuj", SpokenText::GasDieselDifference, 0},
    {"StringGridTpsEmulator", SpokenText::TpsEmulatorTable, 0},
    {"StringGridStepEmu", SpokenText::StepEmulatorTable, 0},
};

// Pages without a caption of their own and nothing on them to name their tab by.
constexpr QuantityName kTabNames[] = {{"TabSheet11", SpokenText::CalibrationTables}};

// The side panel's tank lamps have no captions; they are named by their row's label and the
// caption of the readings page's lamp for the same level ("tank 3/4").
struct BorrowedName {
    const char* control;
    const char* label;
    const char* captionOf;
};
constexpr BorrowedName kBorrowedNames[] = {
    {"AbLedPasLev1", "LabelPasLevel2", "AbLEDOdPoz0"},
    {"AbLedPasLev2", "LabelPasLevel2", "AbLEDOdPoz1"},
    {"AbLedPasLev3", "LabelPasLevel2", "AbLEDOdPoz2"},
    {"AbLedPasLev4", "LabelPasLevel2", "AbLEDOdPoz3"},
    {"AbLedPasLev5", "LabelPasLevel2", "AbLEDOdPoz4"},
};

bool isInstrument(const QWidget* widget) {
    return qobject_cast<const AbBar*>(widget) != nullptr ||
           qobject_cast<const AbRoundMeter*>(widget) != nullptr ||
           qobject_cast<const AbLED*>(widget) != nullptr;
}

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

// Everything below root that carries a name: the Tab stops and the instruments.
void collectNamed(QWidget* widget, std::vector<QWidget*>& out) {
    for (QWidget* child : visualChildren(widget)) {
        if (takesTabFocus(child) || isInstrument(child))
            out.push_back(child);
        if (!isLeafControl(child))
            collectNamed(child, out);
    }
}

QString plainText(QString text) {
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

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

QString shownCaption(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return plainText(label->text());
    if (const auto* led = qobject_cast<const AbLED*>(widget))
        return plainText(led->caption());
    return {};
}

void nameByTable(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    control->setProperty(kNamedByTableProperty, true);
}

// What the window shows under an objectName: a label's, a check box's or a group's text.
std::string shownText(const QWidget& window, std::string_view name, std::string_view builtIn) {
    const QWidget* widget = window.findChild<QWidget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        text = group->title();
    else
        return std::string(builtIn);
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.trimmed().toStdString();
}

QWidget* findNamed(QWidget& window, std::string_view name) {
    return window.findChild<QWidget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

// A setting's control with a label beside it is the label's buddy, read by the label as Qt reads
// a buddy (a sibling); inside a wrapper it is named by the label's text.
void settingBuddies(QWidget& window) {
    for (const SettingRow& row : pageSettings()) {
        QWidget* control = findNamed(window, row.control);
        auto* label = qobject_cast<QLabel*>(findNamed(window, row.label));
        if (row.captionFrom == CaptionFrom::Label && control != nullptr && label != nullptr &&
            label->parentWidget() == control->parentWidget())
            label->setBuddy(control);
    }
}

// The other settings' controls by the caption their rows compose, in the texts now shown.
void nameSettings(QWidget& window) {
    CaptionTexts texts;
    texts.shown = [&window](std::string_view name, std::string_view builtIn) {
        return shownText(window, name, builtIn);
    };
    texts.spoken = [](SpokenText text) { return spokenText(text).toStdString(); };
    for (const SettingRow& row : pageSettings()) {
        QWidget* control = findNamed(window, row.control);
        if (control == nullptr || row.captionFrom == CaptionFrom::Own)
            continue;
        if (row.captionFrom != CaptionFrom::Label) {
            nameByTable(control, QString::fromStdString(settingCaption(row, texts)));
            continue;
        }
        const auto* label = qobject_cast<const QLabel*>(findNamed(window, row.label));
        if (label != nullptr && label->parentWidget() != control->parentWidget())
            nameByTable(control, plainText(label->text()));
    }
}

// The names of the tables above, in the texts of the language loaded.
void nameFromTables(QWidget& window) {
    auto find = [&window](const char* name) {
        return window.findChild<QWidget*>(QString::fromLatin1(name));
    };
    for (const TraceName& entry : kTraceNames)
        if (QWidget* control = find(entry.control))
            nameByTable(
                control,
                spokenText(SpokenText::ScopeTrace).arg(entry.trace).arg(spokenText(entry.colour)));
    for (const QuantityName& entry : kQuantityNames)
        if (QWidget* control = find(entry.control))
            instrument_accessibility::setFallbackName(control, spokenText(entry.name));
    for (const QuantityName& entry : kGridNames)
        if (QWidget* control = find(entry.control))
            nameByTable(control, spokenText(entry.name));
    nameSettings(window);
    for (const HeldName& entry : kHeldNames)
        if (QWidget* control = find(entry.control))
            nameByTable(control, entry.number > 0 ? spokenText(entry.name).arg(entry.number)
                                                  : spokenText(entry.name));
    for (const BorrowedName& entry : kBorrowedNames) {
        QWidget* control = find(entry.control);
        const QWidget* label = find(entry.label);
        const QWidget* captioned = find(entry.captionOf);
        if (control != nullptr && label != nullptr && captioned != nullptr)
            nameByTable(control, shownCaption(label) + QLatin1Char(' ') + shownCaption(captioned));
    }
    // The transfers' progress bars have no caption and no label.
    for (QProgressBar* bar : window.findChildren<QProgressBar*>())
        if (bar->accessibleName().isEmpty() || bar->property(kNamedByTableProperty).toBool())
            nameByTable(bar, spokenText(SpokenText::Progress));
    instrument_accessibility::setLampWords(spokenText(SpokenText::LampOn),
                                           spokenText(SpokenText::LampOff));
}

}  // namespace

void resetSpokenTexts() {
    for (std::size_t i = 0; i < kSpokenCount; ++i)
        spokenTexts()[i] = englishSpoken(i);
}

void setSpokenText(int index, const std::string& text) {
    if (index >= 0 && static_cast<std::size_t>(index) < kSpokenCount)
        spokenTexts()[static_cast<std::size_t>(index)] = QString::fromStdString(text);
}

QString spokenText(SpokenText text) {
    return spokenTexts()[static_cast<std::size_t>(text)];
}

bool takesTabFocus(const QWidget* widget) {
    // A widget that hands its focus to another (a page control to its tab bar) is no stop.
    return widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) != 0 &&
           !widget->isWindow() && !isScrollFrame(widget) && widget->focusProxy() == nullptr;
}

QString accessibleNameOf(QWidget* widget) {
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget))
        return iface->text(QAccessible::Name);
    return widget->accessibleName();
}

std::vector<QWidget*> tabChain(QWidget& root) {
    std::vector<QWidget*> chain;
    collectChain(&root, chain);
    return chain;
}

// A tab without a caption is read by the title of the first group on its page, else as the page's
// tab by number. A tab bar is read by its current tab.
void nameTabs(QTabBar& bar) {
    const auto* tabs = qobject_cast<const QTabWidget*>(bar.parentWidget());
    for (int i = 0; i < bar.count(); ++i) {
        if (!plainText(bar.tabText(i)).isEmpty())
            continue;
        QString name;
        for (const QuantityName& entry : kTabNames)
            if (tabs != nullptr && tabs->widget(i) != nullptr &&
                tabs->widget(i)->objectName() == QLatin1String(entry.control))
                name = spokenText(entry.name);
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

void nameControls(QWidget& window) {
    for (QTabBar* bar : window.findChildren<QTabBar*>())
        nameTabs(*bar);
    nameFromTables(window);
    std::vector<QWidget*> controls;
    collectNamed(&window, controls);
    // Controls without a name of their own are named by their tool tip, else by their group (or
    // page) and their place among the group's unnamed controls.
    std::map<QString, int> counts;
    for (QWidget* control : controls) {
        if (qobject_cast<QTabBar*>(control) != nullptr ||
            control->property(kNamedByTableProperty).toBool())
            continue;  // read by its tabs, or named above
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

void prepareAccessibility(QWidget& window) {
    instrument_accessibility::install();
    resetSpokenTexts();
    instrument_accessibility::adopt(window);
    for (QComboBox* list : window.findChildren<QComboBox*>())
        instrument_accessibility::nameByLabel(list);
    // A scroll frame passes the focus on to its controls and scrolls to them; it is no stop.
    for (QScrollArea* scroll : window.findChildren<QScrollArea*>())
        scroll->setFocusPolicy(Qt::NoFocus);
    settingBuddies(window);
    setBuddies(window);
    const std::vector<QWidget*> chain = tabChain(window);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    nameControls(window);
}

}  // namespace kaldor
