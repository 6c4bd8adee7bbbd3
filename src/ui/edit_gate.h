#pragma once
// The one gate every control's handler goes through. A user's change runs the handler; a change
// the program makes (the refresh, a preset, the lock, a language) never does and sends nothing:
// handlers listen to the user-only signals, and while the program holds the gate, or the
// controller is locked, no handler runs at all (a focus leaving a control during a refresh or a
// PIN question would otherwise store a shown value back).
//
// The focus leaving a control runs its handler only when the user changed the shown value since
// the program last showed it (a typed text not yet confirmed counts): tabbing through controls
// nobody touched sends nothing, whatever they show for the controller's values (a spin clamps a
// stored value outside its range, a list shows no item for a value it does not offer).
#include <QObject>

#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class AbNumSpin;

namespace kaldor {

class EditGate {
public:
    // Runs the handler on the user's change and again when the focus leaves the control for
    // another control of the window (not for a dialog, a message box or the list's popup), if
    // the user changed what it shows since the program last set it.
    void onEdit(QComboBox* box, std::function<void(int)> handler);
    void onEdit(QCheckBox* box, std::function<void(bool)> handler);
    void onEdit(AbNumSpin* spin, std::function<void(double)> handler);
    // Runs the handler on the user's change only.
    void onChange(QComboBox* box, std::function<void(int)> handler);
    void onChange(QCheckBox* box, std::function<void(bool)> handler);
    void onClick(QAbstractButton* button, std::function<void()> handler);

    // Runs an action through the gate: nothing happens while it is shut.
    void run(const std::function<void()>& action) const;
    [[nodiscard]] bool open() const { return m_holds == 0 && !m_locked; }

    // The controller lock: no handler runs until it is lifted.
    void setLocked(bool locked) { m_locked = locked; }
    [[nodiscard]] bool locked() const { return m_locked; }

    // Held while the program sets controls; handlers stay quiet until the last hold ends.
    class Hold {
    public:
        explicit Hold(EditGate& gate) : m_gate(gate) { ++m_gate.m_holds; }
        ~Hold() { --m_gate.m_holds; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        EditGate& m_gate;
    };

private:
    // Watches a control for its focus leaving it for another control.
    static void onFocusLeft(QObject* control, std::function<void()> action);

    int m_holds = 0;
    bool m_locked = false;
};

}  // namespace kaldor
