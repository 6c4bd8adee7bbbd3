#include "ui/bindings.h"

#include <QCheckBox>
#include <QComboBox>

#include "emulation/emulator_settings.h"
#include "model/codec.h"
#include "widgets/ab_num_spin.h"

namespace kaldor {
namespace {

using F = FieldId;
using S = RefreshStep;

constexpr bool kChangeOnly = false;
// Marks a control whose plain edit is connected.
constexpr const char* kEditConnected = "kaldorEditConnected";

// The emulator settings' rows (the steps from DtpsLimits to EmulatorSettings) are the core's
// table; the rows below follow.
std::vector<ControlBinding> withEmulatorBindings(const std::vector<ControlBinding>& rows) {
    std::vector<ControlBinding> all;
    for (const EmulatorBinding& b : kEmulatorBindings)
        all.push_back({b.control, b.field, b.refreshStep, b.plainEdit});
    all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

// In refresh-step order.
const std::vector<ControlBinding> kBindings = withEmulatorBindings({
    {"AbNumSpinCrusRpm", F::CruiseRpmPeriod, S::CruiseSettings, true},
    {"AbNumSpinCrusBar", F::CruisePressure, S::CruiseSettings, true},
    {"AbNumSpinCrusTime", F::CruiseTime, S::CruiseSettings, true},
    {"ComboBoxCruise", F::CruiseMode, S::CruiseSettings, true},
    {"ComboBoxFreqAlg", F::FreqAlgorithm, S::FrequencyEmulator, true},
    {"ComboBoxFreqFullGr", F::FreqFullGrid, S::FrequencyEmulator, true},
    {"ComboBoxDK", F::DynamicKOn, S::DynamicK, true, kChangeOnly},
    {"AbNumSpinDynamicK", F::DynamicK, S::DynamicK, true},
    {"AbNumSpinTpsCutOff", F::TpsCutOffLevel, S::CutOff, false},
    {"AbNumSpinCutOffTime", F::CutOffTime, S::CutOff, true},
    {"ComboBoxTpsCutOff", F::TpsCutOffMode, S::CutOff, true},
    {"ComboBoxDoubleTime", F::DoubleInjectionTime, S::DoubleInjectionTime, false},
    {"ComboBoxEmulatorType", F::CdiEmulatorType, S::CdiEmulator, true},
    {"AbNumSpinCdi1", F::CdiThreshold1, S::CdiEmulator, false},
    {"AbNumSpinCdi2", F::CdiThreshold2, S::CdiEmulator, false},
    {"AbNumSpinCdi3", F::CdiThreshold3, S::CdiEmulator, false},
    {"AbNumSpinV1", F::CdiValue1, S::CdiEmulator, false},
    {"AbNumSpinV2", F::CdiValue2, S::CdiEmulator, false},
    {"AbNumSpinV3", F::CdiValue3, S::CdiEmulator, false},
    {"AbNumSpinV4", F::CdiValue4, S::CdiEmulator, false},
    {"ComboBoxRegulatorVacum", F::RegulatorVacuumConnected, S::RpmSignal, false},
    {"AbNumSpinRpmVar", F::RpmSignalThreshold, S::RpmSignal, true},
    {"ComboBoxRpmPower", F::RpmSignalLevel, S::RpmSignal, false},
    {"ComboBoxCoilType", F::RpmSignalType, S::RpmSignal, false},
    {"ComboBoxEGT", F::EgtSensorOn, S::EgtAndTurbo, true},
    {"ComboBoxEGT_Temp", F::EgtMaxLevel, S::EgtAndTurbo, true},
    {"ComboBoxTurbo", F::TurboOn, S::EgtAndTurbo, true},
    {"ComboBoxTGsensor", F::GasTempSensorType, S::Sensors, true},
    {"ComboBoxTRsensor", F::ReducerTempSensorType, S::Sensors, true},
    {"ComboBoxPresSensor", F::GasPressureSensorType, S::Sensors, true},
    {"ComboBoxMAPSensType", F::MapSensorType, S::Sensors, true},
    {"AbNumSpinMinPsys", F::MinSystemPressure, S::Pressures, false},
    {"AbNumSpinOffDelay", F::PressureDelay, S::Pressures, true},
    {"ComboBoxTempOn", F::OnTemperature, S::OnTemperature, true},
    {"AbNumSpinRpm", F::OnRpmPeriod, S::SwitchOn, false},
    {"AbNumSpinOnDelay", F::OnDelay, S::SwitchOn, true},
    {"ComboBoxLevelSensor", F::LevelSensorType, S::LevelSensor, false},
    {"AbNumSpinRezRef", F::LevelRefTime, S::LevelSensor, true},
    {"CheckBoxLevelSensorNegativ", F::LevelSensorNormal, S::LevelSensor, true},
    {"CheckBoxWskaznikZasilany", F::LevelValvePowered, S::LevelSensor, true},
    {"AbNumSpinPoz34", F::LevelPoint34, S::LevelPoints, true},
    {"AbNumSpinPoz24", F::LevelPoint24, S::LevelPoints, true},
    {"AbNumSpinPoz14", F::LevelPoint14, S::LevelPoints, true},
    {"AbNumSpinPozE", F::LevelPointE, S::LevelPoints, true},
    {"AbNumSpinCisnieniePracy", F::WorkingPressure, S::WorkingPressure, true},
    {"ComboBoxGazAutoOn", F::AutoReturnToGas, S::ReturnToGasAndMainMap, true},
    // Hidden, and never refreshed: nothing shows them.
    {"AbNumSpinWzbogacenieGlowne", F::MainEnrichment, S::None, true},
    {"AbNumSpinOffsetGlowny", F::MainOffset, S::None, true},
    {"CheckBoxFreq", F::FreqEmuOn, S::None, true, kChangeOnly},
    {"ComboBoxFreqEmuWyp", F::FreqEmuDuty, S::None, true, kChangeOnly},
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

void PageBindings::refresh(RefreshStep step) const {
    for (const Bound& b : m_bound)
        if (b.binding->refreshStep == step)
            showField(b.control, m_session.image, b.binding->field);
}

}  // namespace kaldor
