#pragma once
// The binding of controls to image fields, the bound rows of the settings table (control name,
// field, refresh step). For a plain control the table drives both directions: the refresh shows the
// field through its codec, and the user's edit stores the shown value through the same codec and
// sends it. Controls with rules of their own (presets, snaps, other controls set) are refreshed by
// the table too, but their pages connect their handlers themselves.
#include <QWidget>

#include <cstddef>
#include <vector>

#include "model/fields.h"
#include "model/refresh_step.h"
#include "ui/session.h"

namespace kaldor {

struct ControlBinding {
    const char* control;  // objectName
    FieldId field;
    RefreshStep refreshStep;  // the refresh step that shows it
    bool plainEdit;           // the edit only stores and sends the field
    // False: the plain edit runs on the user's change only, not again when the focus leaves.
    bool editOnFocusLoss = true;
};

[[nodiscard]] const std::vector<ControlBinding>& controlBindings();

// Shows a field in its control: a list's item (no item, and the raw value in its empty box, for a
// value it does not offer), a spin editor's value, a check box's tick. A value the codec does not
// show leaves the control.
void showField(QWidget* control, const EcuImage& image, FieldId field);
// What the control shows, as its codec takes it: item index, number, 1 or 0 for the tick.
[[nodiscard]] double shownOf(const QWidget* control);

// The bound controls of one page.
class PageBindings {
public:
    // Finds the page's bound controls and connects the plain ones' edits through the gate. A
    // control already connected by the bindings of a group inside the page is connected once.
    PageBindings(QWidget* page, ControllerSession& session);
    // Shows every bound control of the page that the given refresh step shows.
    void refresh(RefreshStep step) const;

private:
    struct Bound {
        QWidget* control;
        const ControlBinding* binding;
    };
    ControllerSession& m_session;
    std::vector<Bound> m_bound;
};

}  // namespace kaldor
