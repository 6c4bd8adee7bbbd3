#include "ui/bindings.h"

#include <QCheckBox>
#include <QComboBox>

#include "emulation/emulator_settings.h"
#include "model/codec.h"
#include "widgets/ab_num_spin.h"

namespace kaldor {
namespace {

using F = FieldId;

constexpr bool kChangeOnly = false;
// Marks a control whose plain edit is connected.
constexpr const char* kEditConnected = "kaldorEditConnected";

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
    {"AbNumSpinCrusRpm", F::CruiseRpmPeriod, 4, true},
    {"AbNumSpinCrusBar", F::CruisePressure, 4, true},
    {"AbNumSpinCrusTime", F::CruiseTime, 4, true},
    {"ComboBoxCruise", F::CruiseMode, 4, true},
    {"ComboBoxFreqAlg", F::FreqAlgorithm, 5, true},
    {"ComboBoxFreqFullGr", F::FreqFullGrid, 5, true},
    {"ComboBoxDK", F::DynamicKOn, 12, true, kChangeOnly},
    {"AbNumSpinDynamicK", F::DynamicK, 12, true},
    {"AbNumSpinTpsCutOff", F::TpsCutOffLevel, 13, false},
    {"AbNumSpinCutOffTime", F::CutOffTime, 13, true},
    {"ComboBoxTpsCutOff", F::TpsCutOffMode, 13, true},
    {"ComboBoxDoubleTime", F::DoubleInjectionTime, 14, false},
    {"ComboBoxEmulatorType", F::CdiEmulatorType, 19, true},
    {"AbNumSpinCdi1", F::CdiThreshold1, 19, false},
    {"AbNumSpinCdi2", F::CdiThreshold2, 19, false},
    {"AbNumSpinCdi3", F::CdiThreshold3, 19, false},
    {"AbNumSpinV1", F::CdiValue1, 19, false},
    {"AbNumSpinV2", F::CdiValue2, 19, false},
    {"AbNumSpinV3", F::CdiValue3, 19, false},
    {"AbNumSpinV4", F::CdiValue4, 19, false},
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
    {"CheckBoxFreq", F::FreqEmuOn, 0, true, kChangeOnly},
    {"ComboBoxFreqEmuWyp", F::FreqEmuDuty, 0, true, kChangeOnly},
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

void PageBindings::refresh(int step) const {
    for (const Bound& b : m_bound)
        if (b.binding->refreshStep == step)
            showField(b.control, m_session.image, b.binding->field);
}

}  // namespace kaldor
