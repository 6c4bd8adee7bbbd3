#include "model/fields.h"

#include <array>

namespace kaldor {
namespace {

using E = Encoding;
using S = SendAs;
using F = FieldId;

constexpr FieldDef byteAt(F id, std::string_view n, unsigned off, E e, S s) {
    return {id, n, Place::Byte, static_cast<std::uint16_t>(off), 0, 8, 1, e, s};
}
constexpr FieldDef wordAt(F id, std::string_view n, unsigned index, E e, S s = S::Word) {
    return {id, n, Place::Word, static_cast<std::uint16_t>(2 * index), 0, 16, 1, e, s};
}
constexpr FieldDef dwordAt(F id, std::string_view n, unsigned index) {
    return {id, n,        Place::DWord, static_cast<std::uint16_t>(2 * index), 0, 32,
            1,  E::Plain, S::None};
}
constexpr FieldDef bitsAt(F id, std::string_view n, unsigned off, unsigned bit, unsigned width, E e,
                          S s = S::Word) {
    return {id,
            n,
            Place::Bits,
            static_cast<std::uint16_t>(off),
            static_cast<std::uint8_t>(bit),
            static_cast<std::uint8_t>(width),
            1,
            e,
            s};
}
constexpr FieldDef bytesAt(F id, std::string_view n, unsigned first, unsigned count,
                           S s = S::Byte) {
    return {id,
            n,
            Place::Bytes,
            static_cast<std::uint16_t>(first),
            0,
            8,
            static_cast<std::uint16_t>(count),
            E::Raw,
            s};
}
constexpr FieldDef wordsAt(F id, std::string_view n, unsigned firstIndex, unsigned count,
                           S s = S::Word) {
    return {id,
            n,
            Place::Words,
            static_cast<std::uint16_t>(2 * firstIndex),
            0,
            16,
            static_cast<std::uint16_t>(count),
            E::Raw,
            s};
}

// In FieldId order (checked below).
constexpr std::array<FieldDef, static_cast<std::size_t>(FieldId::Count)> kFields{{
    wordAt(F::ImageValidMarker, "ImageValidMarker", 0, E::Plain),
    dwordAt(F::DieselWorkTime, "DieselWorkTime", 6),
    dwordAt(F::GasWorkTime, "GasWorkTime", 8),
    // The input list's handler and the presets write the channel byte alone, not word 10.
    {F::EmuInputChannel, "EmuInputChannel", Place::Byte, 20, 0, 8, 1, E::InputChannel, S::Byte},
    byteAt(F::OnTemperature, "OnTemperature", 23, E::IndexPlus20, S::Byte),
    bytesAt(F::StepEmulatorTable, "StepEmulatorTable", 27, 24),  // row K1 27-38, row K2 39-50
    byteAt(F::ReservedByte51, "ReservedByte51", 51, E::Raw, S::None),
    wordsAt(F::TpsEmulatorAxis, "TpsEmulatorAxis", 26, 12),
    bytesAt(F::TpsEmulatorTable, "TpsEmulatorTable", 76, 24),  // row K1 76-87, row K2 88-99
    bytesAt(F::CruiseMap, "CruiseMap", 100, 24),
    byteAt(F::RpmSignalType, "RpmSignalType", 125, E::Index, S::Byte),
    byteAt(F::GasTempSensorType, "GasTempSensorType", 126, E::Index, S::Byte),
    byteAt(F::ReducerTempSensorType, "ReducerTempSensorType", 127, E::Index, S::Byte),
    byteAt(F::GasPressureSensorType, "GasPressureSensorType", 128, E::Index, S::Byte),
    byteAt(F::MapSensorType, "MapSensorType", 129, E::Index, S::Byte),
    byteAt(F::LevelSensorType, "LevelSensorType", 130, E::Index, S::Byte),
    byteAt(F::FreqEmuDuty, "FreqEmuDuty", 132, E::IndexPlus1, S::Byte),
    byteAt(F::CruiseTime, "CruiseTime", 140, E::Plain, S::Byte),
    byteAt(F::CutOffTime, "CutOffTime", 151, E::Plain, S::Byte),
    wordAt(F::TpsCutOffLevel, "TpsCutOffLevel", 76, E::CutOffLevel),
    wordAt(F::CruisePressure, "CruisePressure", 77, E::Millibar),
    wordAt(F::CruiseRpmPeriod, "CruiseRpmPeriod", 78, E::Period),
    bytesAt(F::MainMap, "MainMap", 167, kMainMapCells),
    wordAt(F::MainOffset, "MainOffset", 157, E::InjectionTime),
    wordAt(F::OnDelay, "OnDelay", 169, E::Centiseconds),
    wordAt(F::MainEnrichment, "MainEnrichment", 170, E::Enrichment),
    wordAt(F::DynamicK, "DynamicK", 175, E::Plain),
    wordAt(F::WorkingPressure, "WorkingPressure", 178, E::Millibar),
    wordAt(F::OnRpmPeriod, "OnRpmPeriod", 181, E::Period),
    wordAt(F::MinSystemPressure, "MinSystemPressure", 184, E::Millibar),
    wordAt(F::PressureDelay, "PressureDelay", 185, E::Centiseconds),
    wordAt(F::LevelPointE, "LevelPointE", 187, E::Volts),
    wordAt(F::LevelPoint14, "LevelPoint14", 188, E::Volts),
    wordAt(F::LevelPoint24, "LevelPoint24", 189, E::Volts),
    wordAt(F::LevelPoint34, "LevelPoint34", 190, E::Volts),
    wordAt(F::LevelRefTime, "LevelRefTime", 191, E::Plain),
    wordAt(F::DnaMaxDTps, "DnaMaxDTps", 193, E::InjectionTime),
    wordAt(F::DnaMinDTps, "DnaMinDTps", 194, E::InjectionTime),
    wordAt(F::MappingSpread, "MappingSpread", 205, E::IndexTimes10),
    wordAt(F::MappingTpsDelta, "MappingTpsDelta", 206, E::IndexTimes10),
    wordAt(F::MappingTempOk, "MappingTempOk", 207, E::IndexTimes10),
    wordAt(F::EgtMaxLevel, "EgtMaxLevel", 216, E::IndexTimes81),
    // Byte 460 is the one bit-field byte that goes out as a byte.
    bitsAt(F::FreqAlgorithm, "FreqAlgorithm", 460, 0, 4, E::Index, S::Byte),
    // A list of two items: no item chosen stores nothing, unlike a check box.
    bitsAt(F::FreqFullGrid, "FreqFullGrid", 460, 4, 1, E::Index, S::Byte),
    wordAt(F::RpmSignalAux, "RpmSignalAux", 237, E::Plain),
    wordAt(F::DnaMinTps, "DnaMinTps", 239, E::TpsVolts),
    wordAt(F::DnaMaxTps, "DnaMaxTps", 240, E::TpsVolts),
    byteAt(F::TpsType, "TpsType", 482, E::Index, S::Byte),
    byteAt(F::MappingIteration, "MappingIteration", 483, E::Index, S::Byte),
    dwordAt(F::ControllerSerialNumber, "ControllerSerialNumber", 242),
    wordsAt(F::MainMapColumnAxis, "MainMapColumnAxis", 245, kMainMapColumns),
    wordsAt(F::MainMapRowAxis, "MainMapRowAxis", 253, kMainMapRows),
    bitsAt(F::LevelValvePowered, "LevelValvePowered", 540, 2, 1, E::Flag),
    bitsAt(F::LevelSensorNormal, "LevelSensorNormal", 540, 4, 1, E::InverseFlag),
    bitsAt(F::RegulatorVacuumConnected, "RegulatorVacuumConnected", 541, 3, 1, E::Index),
    bitsAt(F::AutoReturnToGas, "AutoReturnToGas", 541, 4, 1, E::Index),
    bitsAt(F::TpsSwitch, "TpsSwitch", 543, 3, 1, E::Index),
    bitsAt(F::EgtSensorOn, "EgtSensorOn", 543, 4, 1, E::Index),
    bitsAt(F::TurboOn, "TurboOn", 543, 5, 1, E::Index),
    bitsAt(F::RpmSignalLevel, "RpmSignalLevel", 545, 0, 2, E::Index),
    bitsAt(F::CorrectionMapEnable, "CorrectionMapEnable", 546, 0, 7, E::Raw),
    bitsAt(F::TpsEmulatorOn, "TpsEmulatorOn", 546, 7, 1, E::Index),
    bitsAt(F::StepEmulatorOn, "StepEmulatorOn", 547, 0, 1, E::Index),
    bitsAt(F::CdiEmulatorOn, "CdiEmulatorOn", 549, 0, 1, E::Flag),
    bitsAt(F::DoubleInjectionTime, "DoubleInjectionTime", 549, 1, 1, E::Index),
    bitsAt(F::CdiEmulatorType, "CdiEmulatorType", 549, 2, 1, E::Index),
    bitsAt(F::DynamicKOn, "DynamicKOn", 549, 3, 1, E::Index),
    bitsAt(F::DnaEmulatorOn, "DnaEmulatorOn", 549, 4, 1, E::Index),
    bitsAt(F::EmulatorRelayDigital, "EmulatorRelayDigital", 549, 7, 1, E::Flag),
    bitsAt(F::DnaSignal1Falling, "DnaSignal1Falling", 550, 0, 1, E::Index),
    bitsAt(F::DnaSignal2Falling, "DnaSignal2Falling", 550, 1, 1, E::Index),
    bitsAt(F::FreqEmuOn, "FreqEmuOn", 550, 2, 1, E::Flag),
    bitsAt(F::CruiseMode, "CruiseMode", 551, 0, 3, E::Index),
    bitsAt(F::TpsCutOffMode, "TpsCutOffMode", 551, 3, 3, E::Index),
    wordAt(F::EnabledErrors, "EnabledErrors", 276, E::Raw),
    bytesAt(F::CorrectionMaps, "CorrectionMaps", 554, 160),
    wordAt(F::RpmSignalThreshold, "RpmSignalThreshold", 363, E::RpmThreshold),
    wordAt(F::MainMapType, "MainMapType", 364, E::Index),
    wordAt(F::CdiThreshold1, "CdiThreshold1", 367, E::Plain),
    wordAt(F::CdiThreshold2, "CdiThreshold2", 368, E::Plain),
    wordAt(F::CdiThreshold3, "CdiThreshold3", 369, E::Plain),
    wordAt(F::CdiValue1, "CdiValue1", 370, E::Plain),
    wordAt(F::CdiValue2, "CdiValue2", 371, E::Plain),
    wordAt(F::CdiValue3, "CdiValue3", 372, E::Plain),
    wordAt(F::CdiValue4, "CdiValue4", 373, E::Plain),
    wordAt(F::ControllerPin, "ControllerPin", 374, E::Pin),
    wordsAt(F::ReservedTail, "ReservedTail", 375, 9, S::None),
}};

constexpr bool tableIsConsistent() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const FieldDef& f = kFields[i];
        if (static_cast<std::size_t>(f.id) != i)
            return false;
        if (f.offset + f.byteLength() > EcuImage::kSize)
            return false;
        if (f.place == Place::Bits && f.firstBit + f.width > 8)
            return false;
        if ((f.place == Place::Word || f.place == Place::Words || f.place == Place::DWord) &&
            f.offset % 2 != 0)
            return false;
    }
    return true;
}
static_assert(tableIsConsistent(), "field table out of order or outside the image");

}  // namespace

const FieldDef& fieldDef(FieldId id) {
    return kFields[static_cast<std::size_t>(id)];
}

const FieldDef* findField(std::string_view name) {
    for (const FieldDef& f : kFields)
        if (f.name == name)
            return &f;
    return nullptr;
}

std::size_t fieldCount() {
    return kFields.size();
}

const FieldDef& fieldAt(std::size_t i) {
    return kFields.at(i);
}

std::uint32_t readField(const EcuImage& image, FieldId id, std::size_t element) {
    const FieldDef& f = fieldDef(id);
    if (element >= f.count)
        return 0;
    const std::size_t at = f.offset + element * f.elementSize();
    switch (f.place) {
        case Place::Byte:
        case Place::Bytes:
            return image.byte(at);
        case Place::Word:
        case Place::Words:
            return image.word(at / 2);
        case Place::DWord:
            return image.dword(at / 2);
        case Place::Bits:
            return image.bits(f.offset, f.firstBit, f.width);
    }
    return 0;
}

void storeField(EcuImage& image, FieldId id, std::uint32_t raw, std::size_t element) {
    const FieldDef& f = fieldDef(id);
    if (element >= f.count)
        return;
    const std::size_t at = f.offset + element * f.elementSize();
    switch (f.place) {
        case Place::Byte:
        case Place::Bytes:
            image.setByte(at, static_cast<std::uint8_t>(raw & 0xFF));
            break;
        case Place::Word:
        case Place::Words:
            image.setWord(at / 2, static_cast<std::uint16_t>(raw & 0xFFFF));
            break;
        case Place::DWord:
            image.setDword(at / 2, raw);
            break;
        case Place::Bits:
            image.setBits(f.offset, f.firstBit, f.width, raw);
            break;
    }
}

std::size_t sentWordIndex(const FieldDef& def, std::size_t element) {
    return (def.offset + element * def.elementSize()) / 2;
}

std::size_t sentByteOffset(const FieldDef& def, std::size_t element) {
    return def.offset + element * def.elementSize();
}

}  // namespace kaldor
