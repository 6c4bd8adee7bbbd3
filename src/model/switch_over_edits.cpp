#include "model/switch_over_edits.h"

#include "model/codec.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr std::array<FieldId, kCdiThresholdCount> kCdiThresholds{
    FieldId::CdiThreshold1, FieldId::CdiThreshold2, FieldId::CdiThreshold3};
constexpr std::array<FieldId, kCdiValueCount> kCdiValues{FieldId::CdiValue1, FieldId::CdiValue2,
                                                         FieldId::CdiValue3, FieldId::CdiValue4};

// The power class index the dynamic coefficient of the highest class plus one step stands for.
constexpr int kPowerClassBase = 220;
constexpr int kPowerClassStep = 20;
constexpr int kEmulatorModeStep = 10;

}  // namespace

SwitchOverEditor::SwitchOverEditor(EcuImage& image, FieldSender& sender)
    : m_image(image), m_sender(sender) {}

void SwitchOverEditor::cutOffLevelEdited(double volts) {
    storeShown(m_image, FieldId::TpsCutOffLevel, volts);
    m_sender.sendField(FieldId::TpsCutOffLevel);
}

bool SwitchOverEditor::storeInRange(FieldId field, double value, int maximum) {
    const std::int64_t v = truncateToInt(value);
    if (v < 0 || v > maximum)
        return false;
    storeField(m_image, field, static_cast<std::uint32_t>(v));
    m_sender.sendField(field);
    return true;
}

bool SwitchOverEditor::cdiThresholdEdited(int which, double value) {
    if (which < 0 || which >= kCdiThresholdCount)
        return false;
    // The threshold is judged as the signed word it would become: 65536 counts as 0.
    const auto asWord = fromSignedWord(static_cast<std::uint16_t>(truncateToInt(value) & 0xFFFF));
    return storeInRange(kCdiThresholds[static_cast<std::size_t>(which)], asWord, kCdiThresholdMax);
}

bool SwitchOverEditor::cdiValueEdited(int which, double value) {
    if (which < 0 || which >= kCdiValueCount)
        return false;
    return storeInRange(kCdiValues[static_cast<std::size_t>(which)], value, kCdiValueMax);
}

std::optional<CdiEmulatorModeShown> SwitchOverEditor::emulatorModeChosen(int index) {
    if (index < 0)
        return std::nullopt;
    if (static_cast<std::size_t>(index) < kEmulatorModes.size()) {
        const EmulatorModePreset& mode = kEmulatorModes[static_cast<std::size_t>(index)];
        storeField(m_image, FieldId::CdiEmulatorOn, mode.on ? 1u : 0u);
        storeField(m_image, FieldId::CdiEmulatorType, mode.dieselMap ? 1u : 0u);
        for (std::size_t i = 0; i < kCdiValues.size(); ++i)
            storeField(m_image, kCdiValues[i], static_cast<std::uint32_t>(mode.values[i]));
    }
    CdiEmulatorModeShown shown{};
    for (std::size_t i = 0; i < kCdiValues.size(); ++i) {
        m_sender.sendField(kCdiValues[i]);
        shown.values[i] =
            fromSignedWord(static_cast<std::uint16_t>(readField(m_image, kCdiValues[i])));
    }
    shown.emulatorType = static_cast<int>(readField(m_image, FieldId::CdiEmulatorType));
    // The on and type bits share word 274.
    m_sender.sendField(FieldId::CdiEmulatorType);
    return shown;
}

std::optional<PowerClassShown> SwitchOverEditor::enginePowerChosen(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kPowerClasses.size())
        return std::nullopt;
    const PowerClassPreset& power = kPowerClasses[static_cast<std::size_t>(index)];
    const PowerClassShown shown{power.dynamicOn ? 1 : 0, power.dynamicK};
    // The two controls' own handlers, as if the user had set them.
    storeShown(m_image, FieldId::DynamicKOn, shown.dynamicItem);
    m_sender.sendField(FieldId::DynamicKOn);
    storeShown(m_image, FieldId::DynamicK, shown.dynamicK);
    m_sender.sendField(FieldId::DynamicK);
    return shown;
}

int enginePowerItem(const EcuImage& image) {
    if (readField(image, FieldId::DynamicKOn) != 1)
        return 0;
    const int k = fromSignedWord(static_cast<std::uint16_t>(readField(image, FieldId::DynamicK)));
    return (kPowerClassBase - k) / kPowerClassStep;
}

int emulatorModeItem(const EcuImage& image) {
    if (readField(image, FieldId::CdiEmulatorOn) == 0)
        return 0;
    const int level =
        fromSignedWord(static_cast<std::uint16_t>(readField(image, FieldId::CdiValue2)));
    const bool dieselMap = readField(image, FieldId::CdiEmulatorType) == 1;
    return level / kEmulatorModeStep + (dieselMap ? kDieselMapModeOffset : 0);
}

std::optional<unsigned> assumedSoftwareRevision(int levelIndex) {
    if (levelIndex < 0)
        return std::nullopt;
    return static_cast<unsigned>(levelIndex) + 1u;
}

}  // namespace kaldor
