#pragma once
// What the files of accessible_names share: the marks a control's name leaves on it, a caption's
// plain text, the walk in reading order (tab_order.cpp) and the names composed from a control's
// place (composed_names.cpp). For accessible_names.cpp, tab_order.cpp and composed_names.cpp only.
#include <QString>

#include <vector>

class QTabBar;
class QWidget;

namespace kaldor {

// Set on controls whose name was composed here, so a language load composes it again.
inline constexpr char kComposedProperty[] = "kaldorComposedName";
// Set on controls named from the tables of accessible_names.cpp, which the general rules leave
// alone.
inline constexpr char kNamedByTableProperty[] = "kaldorNamedByTable";

// A caption as it is read: without its mnemonic, on one line, without a trailing colon.
[[nodiscard]] QString plainText(QString text);

// A gauge or a lamp: it carries a name though Tab does not stop at it.
[[nodiscard]] bool isInstrument(const QWidget* widget);

// Everything below root that carries a name: the Tab stops and the instruments, in reading
// order.
void collectNamed(QWidget* widget, std::vector<QWidget*>& out);

// Every label with a text that has no buddy takes the control it names as its buddy.
void setBuddies(QWidget& root);

// The names of the bar's tabs that have no caption.
void nameTabs(QTabBar& bar);

// The names of the controls still without one, composed from their place.
void composeNames(QWidget& window);

// The name the tables give the page's tab, or empty.
[[nodiscard]] QString tabNameByTable(const QWidget* page);

}  // namespace kaldor
