#include "model/parameter_edits.h"

#include "model/pin.h"
#include "model/units.h"

namespace kaldor {
namespace {
constexpr double kMinPressureWithoutVacuum = 1.1;
constexpr double kMinPressureVacuumNormal = 0.5;
constexpr double kMinPressureVacuumDisconnected = 1.2;
constexpr std::uint16_t kRpmSignalAuxValue = 4;
constexpr int kEgtStep = 81;
constexpr int kOnTemperatureBase = 20;

std::uint32_t wordOf(std::int64_t raw) {
    return toWordField(raw);
}
}  // namespace

RpmSignalVisibility rpmSignalVisibility(unsigned level) {
    if (level == 0)
        return {false, false};
    if (level == 1)
        return {true, false};
    return {false, true};
}

ParameterEditor::ParameterEditor(EcuImage& image, ImageTransfer& transfer)
    : m_image(image), m_transfer(transfer) {}

void ParameterEditor::storeAndSend(FieldId field, std::uint32_t raw) {
    storeField(m_image, field, raw);
    m_transfer.sendField(field);
}

void ParameterEditor::onTemperatureChosen(int index) {
    if (index < 0)
        return;
    storeAndSend(FieldId::OnTemperature, static_cast<std::uint32_t>(index + kOnTemperatureBase));
}

void ParameterEditor::sensorTypeChosen(FieldId field, int index) {
    if (index < 0)
        return;
    storeAndSend(field, static_cast<std::uint32_t>(index));
}

void ParameterEditor::flagChosen(FieldId field, int index) {
    if (index < 0)
        return;
    storeAndSend(field, static_cast<std::uint32_t>(index) & 1u);
}

void ParameterEditor::egtMaxLevelChosen(int index) {
    if (index < 0)
        return;
    storeAndSend(FieldId::EgtMaxLevel, static_cast<std::uint32_t>(index * kEgtStep));
}

void ParameterEditor::onDelayEdited(double seconds) {
    storeAndSend(FieldId::OnDelay, wordOf(SecondsToCentiseconds(seconds)));
}

void ParameterEditor::pressureDelayEdited(double seconds) {
    storeAndSend(FieldId::PressureDelay, wordOf(SecondsToCentiseconds(seconds)));
}

double ParameterEditor::minPressureEdited(double bar) {
    if (readField(m_image, FieldId::RegulatorVacuumConnected) == 0 &&
        bar < kMinPressureWithoutVacuum)
        bar = kMinPressureWithoutVacuum;
    storeAndSend(FieldId::MinSystemPressure, wordOf(BarToMillibar(bar)));
    return bar;
}

std::optional<double> ParameterEditor::vacuumChosen(int index) {
    if (index < 0)
        return std::nullopt;
    storeAndSend(FieldId::RegulatorVacuumConnected, static_cast<std::uint32_t>(index) & 1u);
    const bool connected = (index & 1) != 0;
    return minPressureEdited(connected ? kMinPressureVacuumNormal : kMinPressureVacuumDisconnected);
}

double ParameterEditor::switchOnRpmEdited(double rpm) {
    const int type = static_cast<int>(readField(m_image, FieldId::RpmSignalType));
    const std::int64_t whole = truncateToInt(rpm);
    const auto asked = static_cast<std::uint32_t>(whole < 0 ? 0 : whole);
    storeAndSend(FieldId::OnRpmPeriod, periodForField(RpmToPeriod(asked, type)));
    return static_cast<double>(PeriodToRpm(readField(m_image, FieldId::OnRpmPeriod), type));
}

std::optional<double> ParameterEditor::coilTypeChosen(int index, double shownRpm) {
    if (index < 0)
        return std::nullopt;
    storeAndSend(FieldId::RpmSignalType, static_cast<std::uint32_t>(index));
    const double shown = switchOnRpmEdited(shownRpm);
    if (readField(m_image, FieldId::MainMapType) == 1 && m_coilFollowUp)
        m_coilFollowUp();
    return shown;
}

std::optional<RpmSignalVisibility> ParameterEditor::rpmSignalLevelChosen(int index) {
    if (index < 0)
        return std::nullopt;
    storeAndSend(FieldId::RpmSignalLevel, static_cast<std::uint32_t>(index) & 3u);
    storeAndSend(FieldId::RpmSignalAux, kRpmSignalAuxValue);
    return rpmSignalVisibility(static_cast<unsigned>(index) & 3u);
}

void ParameterEditor::rpmThresholdEdited(double volts) {
    storeAndSend(FieldId::RpmSignalThreshold, wordOf(RpmThresholdToRaw(volts)));
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
        storeField(m_image, kPoints[i], wordOf(VoltsToAdc(shown[i])));
    // Byte 130, then word 270 with the sensor bit, then the four points.
    m_transfer.sendField(FieldId::LevelSensorType);
    m_transfer.sendField(FieldId::LevelSensorNormal);
    for (FieldId point : kPoints)
        m_transfer.sendField(point);
    return LevelSensorShown{shown, readField(m_image, FieldId::LevelSensorNormal) == 0};
}

void ParameterEditor::levelPointEdited(FieldId point, double volts) {
    storeAndSend(point, wordOf(VoltsToAdc(volts)));
}

void ParameterEditor::levelRefTimeEdited(double seconds) {
    storeAndSend(FieldId::LevelRefTime, wordOf(PlainToRaw(seconds)));
}

void ParameterEditor::invertSensorTicked(bool ticked) {
    storeAndSend(FieldId::LevelSensorNormal, ticked ? 0u : 1u);
}

void ParameterEditor::valvePoweredTicked(bool ticked) {
    storeAndSend(FieldId::LevelValvePowered, ticked ? 1u : 0u);
}

void ParameterEditor::enrichmentEdited(double percent) {
    storeAndSend(FieldId::MainEnrichment, wordOf(EnrichmentToRaw(percent)));
}

void ParameterEditor::mainOffsetEdited(double ms) {
    storeAndSend(FieldId::MainOffset, wordOf(InjTimeToRaw(ms)));
}

void ParameterEditor::workingPressureEdited(double bar) {
    storeAndSend(FieldId::WorkingPressure, wordOf(BarToMillibar(bar)));
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

bool setControllerPin(EcuImage& image, ImageTransfer& transfer, Prompts& prompts) {
    const std::optional<PinDigits> digits = prompts.askNewPin();
    if (!digits)
        return false;
    storeField(image, FieldId::ControllerPin,
               packPin((*digits)[0], (*digits)[1], (*digits)[2], (*digits)[3]));
    transfer.sendField(FieldId::ControllerPin);
    return true;
}

}  // namespace kaldor
