#pragma once
// The one table of every named location of the parameter image: where it is, how wide, how its
// raw value relates to what a control shows, and how an edit goes to the controller. Controls
// bind to fields through this table; nobody else repeats an offset.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/ecu_image.h"

namespace kaldor {

// The main map: 16 rows of 8 cells, one byte each, with one axis word per column and per row.
inline constexpr int kMainMapRows = 16;
inline constexpr int kMainMapColumns = 8;
inline constexpr int kMainMapCells = kMainMapRows * kMainMapColumns;

enum class FieldId : std::uint16_t {
    ImageValidMarker,
    DieselWorkTime,
    GasWorkTime,
    EmuInputChannel,
    OnTemperature,
    StepEmulatorTable,
    ReservedByte51,
    TpsEmulatorAxis,
    TpsEmulatorTable,
    CruiseMap,
    RpmSignalType,
    GasTempSensorType,
    ReducerTempSensorType,
    GasPressureSensorType,
    MapSensorType,
    LevelSensorType,
    FreqEmuDuty,
    CruiseTime,
    CutOffTime,
    TpsCutOffLevel,
    CruisePressure,
    CruiseRpmPeriod,
    MainMap,
    MainOffset,
    OnDelay,
    MainEnrichment,
    DynamicK,
    WorkingPressure,
    OnRpmPeriod,
    MinSystemPressure,
    PressureDelay,
    LevelPointE,
    LevelPoint14,
    LevelPoint24,
    LevelPoint34,
    LevelRefTime,
    DnaMaxDTps,
    DnaMinDTps,
    MappingSpread,
    MappingTpsDelta,
    MappingTempOk,
    EgtMaxLevel,
    FreqAlgorithm,
    FreqFullGrid,
    RpmSignalAux,
    DnaMinTps,
    DnaMaxTps,
    TpsType,
    MappingIteration,
    ControllerSerialNumber,
    MainMapColumnAxis,
    MainMapRowAxis,
    LevelValvePowered,
    LevelSensorNormal,
    RegulatorVacuumConnected,
    AutoReturnToGas,
    TpsSwitch,
    EgtSensorOn,
    TurboOn,
    RpmSignalLevel,
    CorrectionMapEnable,
    TpsEmulatorOn,
    StepEmulatorOn,
    CdiEmulatorOn,
    DoubleInjectionTime,
    CdiEmulatorType,
    DynamicKOn,
    DnaEmulatorOn,
    EmulatorRelayDigital,
    DnaSignal1Falling,
    DnaSignal2Falling,
    FreqEmuOn,
    CruiseMode,
    TpsCutOffMode,
    EnabledErrors,
    CorrectionMaps,
    RpmSignalThreshold,
    MainMapType,
    CdiThreshold1,
    CdiThreshold2,
    CdiThreshold3,
    CdiValue1,
    CdiValue2,
    CdiValue3,
    CdiValue4,
    ControllerPin,
    ReservedTail,
    Count
};

// How a field occupies the image.
enum class Place : std::uint8_t {
    Byte,   // one byte
    Word,   // one 16-bit word
    DWord,  // two words, low half first
    Bits,   // `width` bits from `firstBit` of one byte
    Bytes,  // `count` consecutive bytes (maps, tables)
    Words,  // `count` consecutive words (axes)
};

// How an edit reaches the controller.
enum class SendAs : std::uint8_t { None, Word, Byte };

// Relation between the raw value and what a control shows.
enum class Encoding : std::uint8_t {
    Plain,          // the number itself
    Index,          // item index of a list
    IndexPlus1,     // raw = index + 1
    IndexPlus20,    // raw = index + 20
    IndexTimes10,   // raw = (index + 1) * 10
    IndexTimes81,   // raw = index * 81
    Flag,           // one bit
    InverseFlag,    // one bit, the control shows its inverse
    Volts,          // VoltsToAdc / AdcToVolts
    TpsVolts,       // TpsVoltsToAdc / AdcToTpsVolts
    CutOffLevel,    // TPS volts or volts by the cut-off mode
    Millibar,       // bar * 1000
    Centiseconds,   // seconds * 100
    InjectionTime,  // InjTimeToRaw / RawToInjTime, signed
    Period,         // RpmToPeriod / PeriodToRpm by the rpm signal type
    Enrichment,     // percent * 10 + 1000
    RpmThreshold,   // volts of the 0-24 V rpm signal threshold
    InputChannel,   // a live-record word index
    Pin,            // four hexadecimal digits
    Raw,            // maps, tables and axes; their editors define the meaning
};

struct FieldDef {
    FieldId id;
    std::string_view name;
    Place place;
    std::uint16_t offset;  // byte offset of the first byte
    std::uint8_t firstBit;
    std::uint8_t width;   // bits of one element
    std::uint16_t count;  // elements (1 for scalars)
    Encoding encoding;
    SendAs sendAs;

    [[nodiscard]] constexpr std::size_t wordIndex() const { return offset / 2u; }
    [[nodiscard]] constexpr std::size_t elementSize() const {
        return place == Place::Word || place == Place::Words ? 2u : place == Place::DWord ? 4u : 1u;
    }
    // Bytes the field spans in the image.
    [[nodiscard]] constexpr std::size_t byteLength() const { return elementSize() * count; }
};

[[nodiscard]] const FieldDef& fieldDef(FieldId id);
// By name, or nullptr.
[[nodiscard]] const FieldDef* findField(std::string_view name);
[[nodiscard]] std::size_t fieldCount();
[[nodiscard]] const FieldDef& fieldAt(std::size_t i);

// Raw value of one element of a field (element 0 for scalars). Out-of-range elements read 0.
[[nodiscard]] std::uint32_t readField(const EcuImage& image, FieldId id, std::size_t element = 0);
// Stores one element, masked to the field's width; only the field's own bits change.
void storeField(EcuImage& image, FieldId id, std::uint32_t raw, std::size_t element = 0);

// Where an edit of one element is sent: the word index for SendAs::Word (the word holding the
// element or the bit field), the byte offset for SendAs::Byte.
[[nodiscard]] std::size_t sentWordIndex(const FieldDef& def, std::size_t element = 0);
[[nodiscard]] std::size_t sentByteOffset(const FieldDef& def, std::size_t element = 0);

}  // namespace kaldor
