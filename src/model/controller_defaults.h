#pragma once
// The factory settings of the controller: the one place where the program's default values for
// the parameter image live, and the rebuild of the image from them ("RESET ECU").
//
// Bytes 0-383 are cleared and then set from these tables; every location there that no table
// names is 0. From word 192 upward a location is either set by a table, kept as the controller
// has it (kNotSetWords, kNotSetBits), or one of the controller's own parts.
#include <array>
#include <cstdint>

#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

struct FieldDefault {
    FieldId id;
    std::uint32_t value;  // raw, as stored
};
struct ByteDefault {
    std::uint16_t offset;
    std::uint8_t value;
};
struct WordDefault {
    std::uint16_t index;
    std::uint16_t value;
};
struct BitsDefault {
    std::uint16_t offset;
    std::uint8_t firstBit;
    std::uint8_t width;
    std::uint8_t value;
};
struct BitsLocation {
    std::uint16_t offset;
    std::uint8_t firstBit;
    std::uint8_t width;
};

// Named fields; engineering values in the comments.
inline constexpr std::array<FieldDefault, 37> kFieldDefaults{{
    {FieldId::EmuInputChannel, 0},
    {FieldId::OnTemperature, 35},  // 35 C
    {FieldId::RpmSignalType, 0},   // "1"; set before anything is read in rpm
    {FieldId::GasTempSensorType, 4},
    {FieldId::ReducerTempSensorType, 4},  // "4k7(PX208)"
    {FieldId::GasPressureSensorType, 3},  // "Freescale 4.0 BAR(PX208)"
    {FieldId::MapSensorType, 6},          // "Freescale 4.0 Bar(PX208)"
    {FieldId::LevelSensorType, 0},        // "0-90"
    {FieldId::FreqEmuDuty, 4},
    {FieldId::CruiseTime, 10},
    {FieldId::CutOffTime, 50},
    {FieldId::TpsCutOffLevel, 128},
    {FieldId::CruisePressure, 1100},    // 1.1 bar
    {FieldId::CruiseRpmPeriod, 27649},  // 1000 rpm, type 0
    {FieldId::MainOffset, 0},
    {FieldId::OnDelay, 200},          // 2 s
    {FieldId::MainEnrichment, 1000},  // 0 %
    {FieldId::DynamicK, 100},
    {FieldId::WorkingPressure, 1024},
    {FieldId::OnRpmPeriod, 23041},       // 1200 rpm, type 0
    {FieldId::MinSystemPressure, 1200},  // 1.2 bar
    {FieldId::PressureDelay, 100},       // 1 s
    {FieldId::LevelPointE, 98},          // 0.12 V
    {FieldId::LevelPoint14, 180},        // 0.22 V
    {FieldId::LevelPoint24, 245},        // 0.3 V
    {FieldId::LevelPoint34, 286},        // 0.35 V
    {FieldId::LevelRefTime, 25},
    {FieldId::DnaMaxDTps, 11363},  // 50 ms
    {FieldId::DnaMinDTps, 0},
    {FieldId::MappingSpread, 50},
    {FieldId::MappingTpsDelta, 16},
    {FieldId::MappingTempOk, 40},
    {FieldId::EgtMaxLevel, 1782},  // item 22, "2,2V    629°C"
    {FieldId::FreqAlgorithm, 5},   // "60-normal"
    {FieldId::FreqFullGrid, 0},
    {FieldId::RpmSignalThreshold, 1024},
    {FieldId::MainMapType, 1},  // "2:VACUM/RPM"
}};

// The CDi emulator's thresholds and levels: the factory settings, and what a configuration
// file of a controller older than revision 3 is given.
inline constexpr std::array<FieldDefault, 7> kCdiDefaults{{
    {FieldId::CdiThreshold1, 20},
    {FieldId::CdiThreshold2, 50},
    {FieldId::CdiThreshold3, 80},
    {FieldId::CdiValue1, 0},
    {FieldId::CdiValue2, 10},
    {FieldId::CdiValue3, 15},
    {FieldId::CdiValue4, 20},
}};

inline constexpr std::array<std::uint8_t, 24> kCruiseMapDefault{
    0, 0, 5, 10, 15, 20, 22, 24, 26, 28, 30, 35, 40, 45, 50, 55, 60, 65, 70, 70, 68, 65, 60, 55};

// Row by row, eight columns a row.
inline constexpr std::array<std::uint8_t, 128> kMainMapDefault{
    0,  10, 15, 12, 12, 12, 13, 10,  //
    0,  10, 15, 20, 21, 20, 15, 10,  //
    0,  15, 15, 22, 25, 22, 20, 10,  //
    0,  20, 25, 35, 30, 24, 21, 10,  //
    15, 25, 40, 45, 34, 28, 23, 10,  //
    25, 38, 50, 45, 35, 30, 23, 10,  //
    30, 45, 68, 70, 60, 45, 23, 10,  //
    40, 50, 72, 85, 60, 45, 24, 10,  //
    45, 75, 85, 99, 85, 60, 28, 10,  //
    38, 49, 75, 80, 65, 50, 27, 10,  //
    30, 44, 65, 70, 58, 40, 23, 10,  //
    25, 40, 60, 65, 60, 45, 22, 10,  //
    22, 33, 45, 56, 55, 34, 22, 10,  //
    18, 22, 30, 33, 35, 32, 21, 10,  //
    15, 20, 22, 23, 21, 20, 20, 10,  //
    10, 10, 10, 10, 10, 10, 10, 10,
};

// 800, 1100, 1500, 2000, 2500, 2800, 3000, 3500 rpm as periods of rpm signal type 0.
inline constexpr std::array<std::uint16_t, 8> kMainMapColumnAxisDefault{34562, 25136, 18433, 13824,
                                                                        11059, 9874,  9216,  7899};
// 0.9, 1.05, 1.1 ... 2.1 bar in millibar.
inline constexpr std::array<std::uint16_t, 16> kMainMapRowAxisDefault{
    900, 1050, 1100, 1150, 1200, 1250, 1300, 1350, 1400, 1500, 1600, 1700, 1800, 1900, 2000, 2100};

// Bytes without a name of their own, and the bit-field bytes as a whole: byte 540 is
// LevelSensorNormal with bit 3; 541 AutoReturnToGas; 543 EgtSensorOn, TurboOn and bit 7;
// 549 DynamicKOn; 552 the low half of EnabledErrors.
inline constexpr std::array<ByteDefault, 33> kByteDefaults{{
    {21, 236},   {22, 236},   {24, 35},    {25, 10},    {131, 0}, {133, 4}, {136, 0},
    {137, 216},  {138, 1},    {139, 1},    {141, 0},    {142, 1}, {143, 1}, {144, 0},
    {145, 15},   {146, 255},  {147, 5},    {148, 1},    {149, 0}, {150, 0}, {158, 3},
    {540, 0x18}, {541, 0x10}, {542, 0},    {543, 0xB0}, {544, 0}, {545, 0}, {546, 0},
    {547, 0},    {548, 0x0F}, {549, 0x08}, {550, 0},    {551, 0},
}};
// Byte 552 goes whole; of 553 (the high half of EnabledErrors) only bits 0-4.
inline constexpr std::array<BitsDefault, 2> kBitsDefaults{{
    {552, 0, 8, 0x39},
    {553, 0, 5, 0x06},
}};

// Words without a name of their own; times and periods in the comments.
inline constexpr std::array<WordDefault, 43> kWordDefaults{{
    {67, 120},    {158, 0},    {161, 130},  {162, 65496}, {168, 10},
    {171, 227},   {172, 19},   {173, 909},                             // 4 ms
    {174, 20},    {176, 600},  {177, 2500}, {179, 1024},  {180, 113},  // 0.5 ms
    {182, 0},     {183, 0},    {186, 1010}, {195, 11363},              // 50 ms
    {196, 50},    {197, 400},  {198, 318},                             // 1.4 ms
    {199, 1500},  {201, 2727},                                         // 12 ms
    {202, 454},                                                        // 2 ms
    {203, 23041},                                                      // 1200 rpm, type 0
    {204, 681},                                                        // 3 ms
    {208, 5},     {209, 4000}, {210, 5},    {211, 4090},  {212, 400},
    {213, 3500},  {219, 40},   {221, 20},   {234, 400},   {235, 2500},
    {238, 10},    {269, 0},    {357, 3},    {359, 454},  // 2 ms
    {360, 100},   {361, 40},   {362, 2000},
}};

// From word 192 upward, what the reset leaves as it was: these words whole, and these bits.
inline constexpr std::array<std::uint16_t, 27> kNotSetWords{
    192, 200, 214, 215, 217, 218, 220, 222, 223, 224, 225, 226, 227, 228,
    229, 231, 232, 233, 236, 237, 239, 240, 241, 244, 358, 365, 366};
inline constexpr std::array<BitsLocation, 3> kNotSetBits{{
    {460, 5, 3},
    {461, 0, 8},
    {553, 5, 3},
}};

// The emulator tables on hardware revision 2: the throttle map's axis texts over a K1 signal,
// in volts.
inline constexpr std::array<double, 12> kEmulatorAxisDefault{0,   0.3, 0.6, 0.9, 1.2, 1.5,
                                                             1.8, 2.1, 2.4, 2.7, 3,   3.3};

// The two work counters, taken over from the last live record.
struct WorkTimes {
    std::uint32_t diesel = 0;
    std::uint32_t gas = 0;
};

// The image from the defaults: bytes 0-383 and the correction maps cleared, every table above
// stored, the work times taken over, the controller's own parts kept and `controllerPin` (the PIN
// the controller holds) as the PIN. Sends nothing.
void applyControllerDefaults(EcuImage& image, const WorkTimes& workTimes,
                             std::uint16_t controllerPin);

}  // namespace kaldor
