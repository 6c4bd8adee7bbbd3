#pragma once
// What assistive technology (screen readers, magnifiers, UI test robots) reads of the window,
// done once for every page instead of control by control:
//
//   - every control that takes the focus, and every instrument, gets a name of its own: its
//     caption, or the label beside it (the label becomes its buddy: the label before it in its
//     row, or above it in its column), or, where neither exists, a short description;
//   - the gauges are read with the unit of the live signal they show;
//   - the tab order of every page follows the page's layout: row by row, and a group's controls
//     together before the next group's.
//
// Names taken from labels follow the language by themselves; names composed of translated texts
// are composed again after every language load.
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "files/text_ids.h"

class QWidget;

namespace kaldor {

// Once, after the window's controls exist: buddies, units, the tab order and the names.
void prepareAccessibility(QWidget& window);

// The composed names again: at creation and after every language load.
void nameControls(QWidget& window);

// Texts a screen reader says that the window shows nowhere (SpokenText): the lamps' states, the
// names of the controls without a caption of their own.
// Every text back to English: a language file that lacks one leaves it English.
void resetSpokenTexts();
// Text `index` (SpokenText order); an index past the list is ignored.
void setSpokenText(int index, const std::string& text);
[[nodiscard]] QString spokenText(SpokenText text);

// The controls under root in the order Tab visits them (the order prepareAccessibility sets).
[[nodiscard]] std::vector<QWidget*> tabChain(QWidget& root);

// Whether the widget is one a user reaches with Tab and so must carry a name.
[[nodiscard]] bool takesTabFocus(const QWidget* widget);

// The name assistive technology reads for the widget.
[[nodiscard]] QString accessibleNameOf(QWidget* widget);

}  // namespace kaldor
