#include "model/parameter_edits.h"

#include "model/codec.h"
#include "model/pin.h"
#include "model/units.h"

namespace kaldor {
namespace {
constexpr double kMinPressureWithoutVacuum = 1.1;
constexpr double kMinPressureVacuumNormal = 0.5;
constexpr double kMinPressureVacuumDisconnected = 1.2;
constexpr std::uint16_t kRpmSignalAuxValue = 4;
}  // namespace

RpmSignalVisibility rpmSignalVisibility(unsigned level) {
    if (level == 0)
        return {false, false};
    if (level == 1)
        return {true, false};
    return {false, true};
}

ParameterEditor::ParameterEditor(EcuImage& image, FieldSender& sender)
    : m_image(image), m_sender(sender) {}

void ParameterEditor::storeAndSend(FieldId field, std::uint32_t raw) {
    storeField(m_image, field, raw);
    m_sender.sendField(field);
}

bool ParameterEditor::edit(FieldId field, double shown) {
    if (!storeShown(m_image, field, shown))
        return false;
    m_sender.sendField(field);
    return true;
}

double ParameterEditor::minPressureEdited(double bar) {
    if (readField(m_image, FieldId::RegulatorVacuumConnected) == 0 &&
        bar < kMinPressureWithoutVacuum)
        bar = kMinPressureWithoutVacuum;
    edit(FieldId::MinSystemPressure, bar);
    return bar;
}

std::optional<double> ParameterEditor::vacuumChosen(int index) {
    if (index < 0)
        return std::nullopt;
    edit(FieldId::RegulatorVacuumConnected, index);
    const bool connected = (index & 1) != 0;
    return minPressureEdited(connected ? kMinPressureVacuumNormal : kMinPressureVacuumDisconnected);
}

double ParameterEditor::switchOnRpmEdited(double rpm) {
    edit(FieldId::OnRpmPeriod, rpm);
    return shownValue(m_image, FieldId::OnRpmPeriod).value_or(0.0);
}

std::optional<double> ParameterEditor::coilTypeChosen(int index, double shownRpm) {
    if (index < 0)
        return std::nullopt;
    edit(FieldId::RpmSignalType, index);
    const double shown = switchOnRpmEdited(shownRpm);
    if (readField(m_image, FieldId::MainMapType) == 1 && m_coilFollowUp)
        m_coilFollowUp();
    return shown;
}

std::optional<RpmSignalVisibility> ParameterEditor::rpmSignalLevelChosen(int index) {
    if (index < 0)
        return std::nullopt;
    edit(FieldId::RpmSignalLevel, index);
    storeAndSend(FieldId::RpmSignalAux, kRpmSignalAuxValue);
    return rpmSignalVisibility(static_cast<unsigned>(index) & 3u);
}

std::optional<LevelSensorShown> ParameterEditor::levelSensorChosen(int index,
                                                                   std::array<double, 4> shown) {
    if (index < 0)
        return std::nullopt;
    storeField(m_image, FieldId::LevelSensorType, static_cast<std::uint32_t>(index));
    if (static_cast<std::size_t>(index) < kLevelSensorPresets.size()) {
        const LevelSensorPreset& preset = kLevelSensorPresets[static_cast<std::size_t>(index)];
        shown = preset.points;
        storeField(m_image, FieldId::LevelSensorNormal, preset.normal ? 1u : 0u);
    }
    constexpr std::array<FieldId, 4> kPoints{FieldId::LevelPointE, FieldId::LevelPoint14,
                                             FieldId::LevelPoint24, FieldId::LevelPoint34};
    for (std::size_t i = 0; i < kPoints.size(); ++i)
        storeShown(m_image, kPoints[i], shown[i]);
    // Byte 130, then word 270 with the sensor bit, then the four points.
    m_sender.sendField(FieldId::LevelSensorType);
    m_sender.sendField(FieldId::LevelSensorNormal);
    for (FieldId point : kPoints)
        m_sender.sendField(point);
    return LevelSensorShown{shown, readField(m_image, FieldId::LevelSensorNormal) == 0};
}

PinCheckOutcome checkControllerPin(EcuImage& image, Prompts& prompts) {
    const std::uint32_t pin = readField(image, FieldId::ControllerPin);
    if (pin == 0)
        return PinCheckOutcome::NoPin;
    const std::optional<PinDigits> digits = prompts.askPin();
    storeField(image, FieldId::ControllerPin, 0);
    if (digits && packPin((*digits)[0], (*digits)[1], (*digits)[2], (*digits)[3]) == pin)
        return PinCheckOutcome::Accepted;
    return PinCheckOutcome::Refused;
}

bool setControllerPin(EcuImage& image, FieldSender& sender, Prompts& prompts) {
    const std::optional<PinDigits> digits = prompts.askNewPin();
    if (!digits)
        return false;
    storeField(image, FieldId::ControllerPin,
               packPin((*digits)[0], (*digits)[1], (*digits)[2], (*digits)[3]));
    sender.sendField(FieldId::ControllerPin);
    return true;
}

}  // namespace kaldor
