#include "model/controller_defaults.h"

#include "model/controller_parts.h"

namespace kaldor {
namespace {

// The part of the image the reset clears before it sets anything: words 0-191.
constexpr std::size_t kClearedBytes = 384;

template <std::size_t N, typename T>
void storeElements(EcuImage& image, FieldId id, const std::array<T, N>& values) {
    for (std::size_t i = 0; i < N; ++i)
        storeField(image, id, values[i], i);
}

}  // namespace

void applyControllerDefaults(EcuImage& image, const WorkTimes& workTimes,
                             std::uint16_t controllerPin) {
    const EcuImage before = image;
    for (std::size_t b = 0; b < kClearedBytes; ++b)
        image.setByte(b, 0);
    for (std::size_t i = 0; i < fieldDef(FieldId::CorrectionMaps).count; ++i)
        storeField(image, FieldId::CorrectionMaps, 0, i);
    storeElements(image, FieldId::MainMap, kMainMapDefault);
    restoreControllerParts(image, before, controllerPin);

    storeElements(image, FieldId::CruiseMap, kCruiseMapDefault);
    storeElements(image, FieldId::MainMapColumnAxis, kMainMapColumnAxisDefault);
    storeElements(image, FieldId::MainMapRowAxis, kMainMapRowAxisDefault);
    for (const FieldDefault& d : kFieldDefaults)
        storeField(image, d.id, d.value);
    for (const FieldDefault& d : kCdiDefaults)
        storeField(image, d.id, d.value);
    for (const ByteDefault& d : kByteDefaults)
        image.setByte(d.offset, d.value);
    for (const BitsDefault& d : kBitsDefaults)
        image.setBits(d.offset, d.firstBit, d.width, d.value);
    for (const WordDefault& d : kWordDefaults)
        image.setWord(d.index, d.value);
    storeField(image, FieldId::DieselWorkTime, workTimes.diesel);
    storeField(image, FieldId::GasWorkTime, workTimes.gas);
}

}  // namespace kaldor
