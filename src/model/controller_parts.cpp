#include "model/controller_parts.h"

namespace kaldor {

void restoreControllerParts(EcuImage& image, const EcuImage& before, std::uint16_t controllerPin) {
    for (FieldId id : kControllerParts) {
        const FieldDef& def = fieldDef(id);
        for (std::size_t i = 0; i < def.byteLength(); ++i)
            image.setByte(def.offset + i, before.byte(def.offset + i));
    }
    storeField(image, FieldId::ControllerPin, controllerPin);
}

}  // namespace kaldor
