#include "ui/commands/language_targets.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_led.h"
#include "widgets/live_label.h"

namespace kaldor {
namespace {

// The page control holding this page, with the page's index in it.
struct PageTab {
    QTabWidget* tabs = nullptr;
    int index = -1;
};

PageTab pageTabOf(const QObject& object) {
    const auto* page = qobject_cast<const QWidget*>(&object);
    if (page == nullptr)
        return {};
    // A page sits in the page control's stack, so the page control is an ancestor, not the
    // parent.
    for (QWidget* up = page->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(up)) {
            const int index = tabs->indexOf(const_cast<QWidget*>(page));
            if (index >= 0)
                return {tabs, index};
        }
    }
    return {};
}

bool setCaption(QObject& object, const QString& text) {
    if (const PageTab tab = pageTabOf(object); tab.tabs != nullptr) {
        tab.tabs->setTabText(tab.index, text);
    } else if (auto* led = qobject_cast<AbLED*>(&object)) {
        led->setCaption(text);
    } else if (auto* label = qobject_cast<QLabel*>(&object)) {
        label->setText(text);
    } else if (auto* live = qobject_cast<LiveLabel*>(&object)) {
        live->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(&object)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(&object)) {
        group->setTitle(text);
    } else {
        return false;
    }
    return true;
}

std::optional<QString> caption(const QObject& object) {
    if (const PageTab tab = pageTabOf(object); tab.tabs != nullptr)
        return tab.tabs->tabText(tab.index);
    if (const auto* led = qobject_cast<const AbLED*>(&object))
        return led->caption();
    if (const auto* label = qobject_cast<const QLabel*>(&object))
        return label->text();
    if (const auto* live = qobject_cast<const LiveLabel*>(&object))
        return live->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&object))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(&object))
        return group->title();
    return std::nullopt;
}

}  // namespace

QObject* findTextTarget(QWidget& root, std::string_view name) {
    const QString wanted = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (root.objectName() == wanted)
        return &root;
    if (auto* widget = root.findChild<QWidget*>(wanted))
        return widget;
    return root.findChild<QAction*>(wanted);
}

bool setTargetText(QObject& object, const TextTarget& target, const QString& text) {
    switch (target.kind) {
        case TextKind::Caption:
            return setCaption(object, text);
        case TextKind::Menu:
            if (auto* action = qobject_cast<QAction*>(&object)) {
                action->setText(text);
                return true;
            }
            if (auto* menu = qobject_cast<QMenu*>(&object)) {
                menu->setTitle(text);
                return true;
            }
            return false;
        case TextKind::TextOn:
        case TextKind::TextOff:
            if (auto* button = qobject_cast<AbColBitBtn*>(&object)) {
                if (target.kind == TextKind::TextOn)
                    button->setTextOn(text);
                else
                    button->setTextOff(text);
                return true;
            }
            return false;
        case TextKind::ListItem:
            if (auto* box = qobject_cast<QComboBox*>(&object); box && target.index < box->count()) {
                box->setItemText(target.index, text);
                return true;
            }
            return false;
        case TextKind::ErrorText:
        case TextKind::StatusText:
        case TextKind::ReportText:
        case TextKind::SpokenText:
        case TextKind::WindowText:
            break;
    }
    return false;
}

std::optional<QString> targetText(const QObject& object, const TextTarget& target) {
    switch (target.kind) {
        case TextKind::Caption:
            return caption(object);
        case TextKind::Menu:
            if (const auto* action = qobject_cast<const QAction*>(&object))
                return action->text();
            if (const auto* menu = qobject_cast<const QMenu*>(&object))
                return menu->title();
            return std::nullopt;
        case TextKind::TextOn:
        case TextKind::TextOff:
            if (const auto* button = qobject_cast<const AbColBitBtn*>(&object))
                return target.kind == TextKind::TextOn ? button->textOn() : button->textOff();
            return std::nullopt;
        case TextKind::ListItem:
            if (const auto* box = qobject_cast<const QComboBox*>(&object);
                box && target.index < box->count())
                return box->itemText(target.index);
            return std::nullopt;
        case TextKind::ErrorText:
        case TextKind::StatusText:
        case TextKind::ReportText:
        case TextKind::SpokenText:
        case TextKind::WindowText:
            break;
    }
    return std::nullopt;
}

}  // namespace kaldor
