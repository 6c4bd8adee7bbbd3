#pragma once
// Where a language file's texts land in the window: the control, menu item or page a text
// target names, found by objectName under the main window, and how a text is put on each kind
// of target and read back from it.
#include <QString>

#include <optional>
#include <string_view>

#include "files/text_ids.h"

class QObject;
class QWidget;

namespace kaldor {

// The object named `name` under root (root itself when it carries the name): a widget first,
// then a menu item; nullptr when there is none.
[[nodiscard]] QObject* findTextTarget(QWidget& root, std::string_view name);

// Puts the text on the target as its kind says: a caption (label, check box, button, group
// box, indicator lamp, or the tab of a page), a menu item's or menu's text, a two-state
// button's TextOn or TextOff, or entry `index` of a list. False, changing nothing, when the
// object cannot hold that kind of text or the list has no such entry. Error and status texts
// are not controls and are never set here.
bool setTargetText(QObject& object, const TextTarget& target, const QString& text);

// The text the target shows for that kind; nothing when the object cannot hold it.
[[nodiscard]] std::optional<QString> targetText(const QObject& object, const TextTarget& target);

}  // namespace kaldor
