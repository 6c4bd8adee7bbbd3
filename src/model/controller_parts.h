#pragma once
// The locations of the image that belong to the controller itself: its serial number, the
// reserved byte 51 and the reserved tail. Whatever replaces the image as a whole (a configuration
// loaded into the controller, the factory defaults) keeps them, and writes back as the PIN the
// one the controller holds, so the installer's protection is never lost on the way.
#include <array>
#include <cstdint>

#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

inline constexpr std::array<FieldId, 3> kControllerParts{{
    FieldId::ControllerSerialNumber,
    FieldId::ReservedByte51,
    FieldId::ReservedTail,
}};

// Copies the controller's parts from `before` (the image as it was) into `image` and stores
// `controllerPin`, the PIN the controller holds, as the PIN.
void restoreControllerParts(EcuImage& image, const EcuImage& before, std::uint16_t controllerPin);

}  // namespace kaldor
