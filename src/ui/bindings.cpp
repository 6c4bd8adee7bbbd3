#include "ui/bindings.h"

#include <QCheckBox>
#include <QComboBox>

#include "emulation/emulator_settings.h"
#include "model/codec.h"
#include "widgets/ab_num_spin.h"

namespace kaldor {
namespace {

using F = FieldId;

// The emulator settings' rows (refresh steps 6 to 8) are the core's table; the rows below follow.
std::vector<ControlBinding> withEmulatorBindings(const std::vector<ControlBinding>& rows) {
    std::vector<ControlBinding> all;
    for (const EmulatorBinding& b : kEmulatorBindings)
        all.push_back({b.control, b.field, b.refreshStep, b.plainEdit});
    all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

// In refresh-step order.
const std::vector<ControlBinding> kBindings = withEmulatorBindings({
    {"ComboBoxRegulatorVacum", F::RegulatorVacuumConnected, 20, false},
    {"AbNumSpinRpmVar", F::RpmSignalThreshold, 20, true},
    {"ComboBoxRpmPower", F::RpmSignalLevel, 20, false},
    {"ComboBoxCoilType", F::RpmSignalType, 20, false},
    {"ComboBoxEGT", F::EgtSensorOn, 21, true},
    {"ComboBoxEGT_Temp", F::EgtMaxLevel, 21, true},
    {"ComboBoxTurbo", F::TurboOn, 21, true},
    {"ComboBoxTGsensor", F::GasTempSensorType, 22, true},
    {"ComboBoxTRsensor", F::ReducerTempSensorType, 22, true},
    {"ComboBoxPresSensor", F::GasPressureSensorType, 22, true},
    {"ComboBoxMAPSensType", F::MapSensorType, 22, true},
    {"AbNumSpinMinPsys", F::MinSystemPressure, 23, false},
    {"AbNumSpinOffDelay", F::PressureDelay, 23, true},
    {"ComboBoxTempOn", F::OnTemperature, 24, true},
    {"AbNumSpinRpm", F::OnRpmPeriod, 25, false},
    {"AbNumSpinOnDelay", F::OnDelay, 25, true},
    {"ComboBoxLevelSensor", F::LevelSensorType, 26, false},
    {"AbNumSpinRezRef", F::LevelRefTime, 26, true},
    {"CheckBoxLevelSensorNegativ", F::LevelSensorNormal, 26, true},
    {"CheckBoxWskaznikZasilany", F::LevelValvePowered, 26, true},
    {"AbNumSpinPoz34", F::LevelPoint34, 28, true},
    {"AbNumSpinPoz24", F::LevelPoint24, 28, true},
    {"AbNumSpinPoz14", F::LevelPoint14, 28, true},
    {"AbNumSpinPozE", F::LevelPointE, 28, true},
    {"AbNumSpinCisnieniePracy", F::WorkingPressure, 32, true},
    {"ComboBoxGazAutoOn", F::AutoReturnToGas, 33, true},
    // Hidden, and never refreshed: nothing shows them.
    {"AbNumSpinWzbogacenieGlowne", F::MainEnrichment, 0, true},
    {"AbNumSpinOffsetGlowny", F::MainOffset, 0, true},
});

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
        box->setCurrentIndex(index >= 0 && index < box->count() ? static_cast<int>(index) : -1);
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
        if (!binding.plainEdit)
            continue;
        const FieldId field = binding.field;
        ParameterEditor& editor = session.editor;
        if (auto* box = qobject_cast<QComboBox*>(control))
            session.gate.onEdit(box, [&editor, field](int i) { editor.edit(field, i); });
        else if (auto* spin = qobject_cast<AbNumSpin*>(control))
            session.gate.onEdit(spin, [&editor, field](double v) { editor.edit(field, v); });
        else if (auto* tick = qobject_cast<QCheckBox*>(control))
            session.gate.onEdit(tick, [&editor, field](bool t) { editor.edit(field, t ? 1 : 0); });
    }
}

void PageBindings::refresh(int step) const {
    for (const Bound& b : m_bound)
        if (b.binding->refreshStep == step)
            showField(b.control, m_session.image, b.binding->field);
}

}  // namespace kaldor
