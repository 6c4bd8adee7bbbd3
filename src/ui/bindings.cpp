#include "ui/bindings.h"

#include <QCheckBox>
#include <QComboBox>

#include "model/codec.h"
#include "model/settings_table.h"
#include "widgets/ab_num_spin.h"

namespace kaldor {
namespace {

// Marks a control whose plain edit is connected.
constexpr const char* kEditConnected = "kaldorEditConnected";

// The settings table's bound rows, in its order (its control names are string literals, so their
// data stands as C strings).
std::vector<ControlBinding> boundSettings() {
    std::vector<ControlBinding> rows;
    for (const SettingRow& row : settingsTable())
        if (row.binding != SettingBinding::None)
            rows.push_back({row.control.data(), row.field, row.refreshStep,
                            row.binding == SettingBinding::Plain, row.editOnFocusLoss});
    return rows;
}

const std::vector<ControlBinding> kBindings = boundSettings();

}  // namespace

const std::vector<ControlBinding>& controlBindings() {
    return kBindings;
}

void showField(QWidget* control, const EcuImage& image, FieldId field) {
    const std::optional<double> shown = shownValue(image, field);
    if (!shown)
        return;
    if (auto* box = qobject_cast<QComboBox*>(control)) {
        const long index = static_cast<long>(*shown);
        const bool offered = index >= 0 && index < box->count();
        // No item: the list stays empty and says what the controller holds, and nothing picks
        // an item for it until the user does.
        box->setPlaceholderText(offered ? QString()
                                        : QStringLiteral("raw %1").arg(readField(image, field)));
        box->setCurrentIndex(offered ? static_cast<int>(index) : -1);
    } else if (auto* spin = qobject_cast<AbNumSpin*>(control)) {
        spin->setValue(*shown);
    } else if (auto* tick = qobject_cast<QCheckBox*>(control)) {
        tick->setChecked(*shown != 0);
    }
}

double shownOf(const QWidget* control) {
    if (const auto* box = qobject_cast<const QComboBox*>(control))
        return box->currentIndex();
    if (const auto* spin = qobject_cast<const AbNumSpin*>(control))
        return spin->value();
    if (const auto* tick = qobject_cast<const QCheckBox*>(control))
        return tick->isChecked() ? 1.0 : 0.0;
    return 0.0;
}

PageBindings::PageBindings(QWidget* page, ControllerSession& session) : m_session(session) {
    for (const ControlBinding& binding : kBindings) {
        auto* control = page->findChild<QWidget*>(QString::fromLatin1(binding.control));
        if (control == nullptr)
            continue;
        m_bound.push_back({control, &binding});
        if (!binding.plainEdit || control->property(kEditConnected).toBool())
            continue;
        control->setProperty(kEditConnected, true);
        const FieldId field = binding.field;
        ParameterEditor& editor = session.editor;
        EditGate& gate = session.gate;
        const bool onFocusLoss = binding.editOnFocusLoss;
        if (auto* box = qobject_cast<QComboBox*>(control)) {
            auto edit = [&editor, field](int i) { editor.edit(field, i); };
            onFocusLoss ? gate.onEdit(box, edit) : gate.onChange(box, edit);
        } else if (auto* spin = qobject_cast<AbNumSpin*>(control)) {
            gate.onEdit(spin, [&editor, field](double v) { editor.edit(field, v); });
        } else if (auto* tick = qobject_cast<QCheckBox*>(control)) {
            auto edit = [&editor, field](bool t) { editor.edit(field, t ? 1 : 0); };
            onFocusLoss ? gate.onEdit(tick, edit) : gate.onChange(tick, edit);
        }
    }
}

void PageBindings::refresh(RefreshStep step) const {
    for (const Bound& b : m_bound)
        if (b.binding->refreshStep == step)
            showField(b.control, m_session.image, b.binding->field);
}

}  // namespace kaldor
