#pragma once
// The items of the pages' drop-down lists whose texts are the program's own (the lists of
// presets, map types and emulator inputs keep theirs beside their tables). The pages fill
// their lists from here and a set-up described in words names the chosen item by the same text.
#include <array>
#include <string>
#include <string_view>

namespace kaldor {

// ComboBoxTGsensor and ComboBoxTRsensor.
inline constexpr std::array<std::string_view, 8> kTempSensorItems{
    "2k", "2k2", "2k7", "3k3", "4k7(PX208)", "5k", "6k8", "10k"};
// ComboBoxPresSensor.
inline constexpr std::array<std::string_view, 6> kPressureSensorItems{
    "BOSCH 3.5 BAR",     "BOSCH 4.0 BAR",    "BOSCH 6.0 BAR", "Freescale 4.0 BAR(PX208)",
    "Freescale 5.0 BAR", "Freescale 7.0 BAR"};
// ComboBoxMAPSensType.
inline constexpr std::array<std::string_view, 7> kMapSensorItems{
    "BOSCH 2.5 BAR",     "Freescale 1.15 Bar", "Freescale 1.3 Bar",       "Freescale 2.0 Bar",
    "Freescale 2.5 Bar", "Freescale 3.0 Bar",  "Freescale 4.0 Bar(PX208)"};
// ComboBoxCoilType.
inline constexpr std::array<std::string_view, 20> kCoilItems{
    "1",   "2",   "3",   "4",   "5",   "6",   "8",   "D10", "D15", "D20",
    "D25", "D30", "D35", "D40", "D45", "D50", "D60", "D70", "D80", "D90"};
// ComboBoxLevelSensor.
inline constexpr std::array<std::string_view, 6> kLevelSensorItems{"0-90",  "90-0",   "20k-0",
                                                                   "0-20k", "AEB806", "Wika"};
// ComboBoxRegulatorVacum.
inline constexpr std::array<std::string_view, 2> kRegulatorVacuumItems{"vacum/boost disconnected",
                                                                       "vacum/boost normal"};
// ComboBoxTurbo.
inline constexpr std::array<std::string_view, 2> kTurboItems{"N/A", "TURBO"};
// ComboBoxTpsTyp: the throttle map's columns, linear or switched.
inline constexpr std::array<std::string_view, 2> kTpsTypItems{"TPS LIN", "TPS SWITCH"};
// ComboBoxRpmPower.
inline constexpr std::array<std::string_view, 2> kRpmPowerItems{"5V", "0-24VDC"};
// ComboBoxRegulatorValv (hidden).
inline constexpr std::array<std::string_view, 2> kRegulatorValveItems{"Regulator Allways ON",
                                                                      "Regulator Off if STEP == 0"};
// ComboBoxDoubleTime.
inline constexpr std::array<std::string_view, 2> kDoubleTimeItems{"1x", "2x"};
// ComboBoxTpsCutOff.
inline constexpr std::array<std::string_view, 5> kCutOffItems{
    "n/a cutoff", "cutoff TPS rising", "cutoff TPS falling", "cutoff AirFlow rising",
    "cutoff AirFlow falling"};
// ComboBoxCruise.
inline constexpr std::array<std::string_view, 4> kCruiseItems{"n/a cruise control", "cruise boost",
                                                              "cruise rpm", "cruise boost+rpm"};
// ComboBoxEmulatorType.
inline constexpr std::array<std::string_view, 2> kCdiEmulatorTypeItems{"CDi Sensor Rising",
                                                                       "DIESEL MAP"};
// ComboBoxFreqAlg.
inline constexpr std::array<std::string_view, 15> kFreqAlgItems{
    "n/s", "80", "76", "70", "66", "60-normal", "56", "50",
    "46",  "40", "36", "30", "26", "20",        "16"};
// ComboBoxFreqFullGr.
inline constexpr std::array<std::string_view, 2> kFreqFullGridItems{"SQ", "FL"};
// ComboBoxFreqEmuWyp (hidden).
inline constexpr std::array<std::string_view, 7> kFreqEmuDutyItems{
    "7/8 ( 87.5% )", "6/8 ( 75.0% )", "5/8 ( 62.5% )", "4/8 ( 50.0% )",
    "3/8 ( 37.5% )", "2/8 ( 25.0% )", "1/8 ( 12.5% )"};

// ComboBoxEGT_Temp: the sensor voltage in 0.1 V steps and the temperature it stands for,
// "0,0V   0°C" .. "5V      1429°C".
inline constexpr int kEgtMaxItems = 51;
[[nodiscard]] std::string egtMaxItem(int item);

// The DNA chain regulation settings and the signal emulator (their on/off lists: kOffOnItems).
// ComboBoxMappingTempOK: item "0" stores 10, "60" stores 70.
inline constexpr std::array<std::string_view, 7> kMappingTempOkItems{"0",  "10", "20", "30",
                                                                     "40", "50", "60"};
// ComboBoxMappingRozdz.
inline constexpr std::array<std::string_view, 25> kMappingSpreadItems{
    "10",  "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",  "100", "110", "120", "130",
    "140", "150", "160", "170", "180", "190", "200", "210", "220", "230", "240", "250"};
// ComboBoxMappingTpsDelta.
inline constexpr std::array<std::string_view, 20> kMappingTpsDeltaItems{
    "10",  "20",  "30",  "40",  "50",  "60",  "70",  "80",  "90",  "100",
    "110", "120", "130", "140", "150", "160", "170", "180", "190", "200"};
// ComboBoxTpsType.
inline constexpr std::array<std::string_view, 13> kTpsTypeItems{
    "1V", "1.25V", "1.5V", "2V", "2.5V", "3V", "4V", "4.5V", "5V", "7.5V", "10V", "12V", "15V"};
// ComboBoxMappingIteracja.
inline constexpr std::array<std::string_view, 10> kMappingIterationItems{
    "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"};
// ComboBoxeEmulatorRelayOn.
inline constexpr std::array<std::string_view, 3> kRelayModeItems{"off", "on Analog", "on Digital"};
// ComboBoxDnaSigRis1, ComboBoxDnaSigRis2.
inline constexpr std::array<std::string_view, 2> kSignalDirectionItems{"rising", "falling"};

}  // namespace kaldor
