#include "diagnostics/enabled_errors.h"

#include "model/fields.h"

namespace kaldor {

EnabledErrorStates enabledErrorStates(const EcuImage& image) {
    const std::uint32_t mask = readField(image, FieldId::EnabledErrors);
    EnabledErrorStates states{};
    for (std::size_t i = 0; i < kEnabledErrorBoxCount; ++i)
        states[i] = ((mask >> kEnabledErrorBoxes[i].bit) & 1u) != 0;
    return states;
}

EnabledErrorStates saveEnabledErrors(EcuImage& image, FieldSender& sender,
                                     const EnabledErrorStates& ticked) {
    std::uint32_t mask = readField(image, FieldId::EnabledErrors);
    for (std::size_t i = 0; i < kEnabledErrorBoxCount; ++i) {
        const std::uint32_t bit = 1u << kEnabledErrorBoxes[i].bit;
        mask = ticked[i] ? (mask | bit) : (mask & ~bit);
    }
    storeField(image, FieldId::EnabledErrors, mask);
    sender.sendField(FieldId::EnabledErrors);
    return enabledErrorStates(image);
}

}  // namespace kaldor
