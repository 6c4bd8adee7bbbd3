#include "model/settings_table.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "model/codec.h"
#include "model/list_items.h"
#include "model/setting_builders.h"
#include "model/switch_over_edits.h"

namespace kaldor {
namespace {

using F = FieldId;
using S = RefreshStep;
using namespace setting_builders;

constexpr std::string_view kNoCaption{};

constexpr SpinDesign kLevelPoint{0, 5, 0.05, "#0.0#", 0};
constexpr SpinDesign kCdiValue{0, kCdiValueMax, 1, "#0", 0};
constexpr SpinDesign kDnaVolts{0, 15, 0.05, "#0.0#", 0};

constexpr const char* p2 = "TabSheet2";
constexpr const char* engine = "GroupBoxEngine";
constexpr const char* level = "GroupBoxPar3";
constexpr const char* p3 = "TabSheet3";
constexpr const char* p5 = "TabSheet5";
constexpr const char* cutOff = "GroupBoxCutOff";
constexpr const char* cdi = "GroupBoxCdiEmu";
constexpr const char* advanced = "GroupBoxAdvanced";
constexpr const char* p9 = "TabSheet9";
constexpr const char* chain = "GroupBoxDNA";
constexpr const char* p10 = "TabSheet10";
constexpr const char* signal = "GroupBoxSignalEmulator";
constexpr const char* emuMaps = "GroupBoxMapsEmu";
constexpr const char* freq = "GroupBoxFreqAlg";

constexpr SettingRow kRows[] = {
    // The parameters page: the engine group, in its two columns.
    bound(listFrom("ComboBoxTempOn", F::OnTemperature, p2, engine, "LabelOnTemp",
                   "switch-on temperature [\xC2\xB0"
                   "C]",
                   ListSource::OnTemperatures, 100412),
          S::OnTemperature),
    handled(spin("AbNumSpinRpm", F::OnRpmPeriod, p2, engine, "LabelRpmSWitch", "switch-on rpm",
                 {500, 3000, 100, "#0#", 1200}, 100413),
            S::SwitchOn),
    bound(spin("AbNumSpinOnDelay", F::OnDelay, p2, engine, "LabelDelayGaz", "switch-on delay [s]",
               {0, 60, 0.1, "#0.0#", 0.5}, 100414),
          S::SwitchOn),
    handled(spin("AbNumSpinMinPsys", F::MinSystemPressure, p2, engine, "LabelMinPsys",
                 "minimum pressure [bar]", {0.05, 5, 0.1, "#0.0#", 0.4}, 100410),
            S::Pressures),
    bound(spin("AbNumSpinOffDelay", F::PressureDelay, p2, engine, "LabelPsysDelay",
               "minimum pressure delay [s]", {0.05, 25, 0.05, "#0.0#", 0.5}, 100411),
          S::Pressures),
    handled(itemIds(list("ComboBoxRegulatorVacum", F::RegulatorVacuumConnected, p2, engine,
                         "LabelRegulatorVacum", "regulator", kRegulatorVacuumItems, 100462),
                    100460, 2),
            S::RpmSignal),
    bound(list("ComboBoxTGsensor", F::GasTempSensorType, p2, engine, "LabelTGSEnsor",
               "gas temperature sensor", kTempSensorItems, 100406),
          S::Sensors),
    bound(list("ComboBoxTRsensor", F::ReducerTempSensorType, p2, engine, "LabelTRsensor",
               "regulator temperature sensor", kTempSensorItems, 100407),
          S::Sensors),
    bound(list("ComboBoxPresSensor", F::GasPressureSensorType, p2, engine, "LabelPresSensTyp",
               "gas pressure sensor", kPressureSensorItems, 100408),
          S::Sensors),
    bound(list("ComboBoxMAPSensType", F::MapSensorType, p2, engine, "LabelMapType", "MAP sensor",
               kMapSensorItems, 100409),
          S::Sensors),
    bound(itemIds(list("ComboBoxTurbo", F::TurboOn, p2, engine, "LabelTurbo", "turbo", kTurboItems,
                       100405),
                  100441, 2, ItemReselect::FromField),
          S::EgtAndTurbo),
    handled(list("ComboBoxCoilType", F::RpmSignalType, p2, engine, "LabelCoilType",
                 "rpm signal type", kCoilItems, 100402),
            S::RpmSignal),
    handled(list("ComboBoxRpmPower", F::RpmSignalLevel, p2, engine, "LabelRpmPower",
                 "rpm signal level", kRpmPowerItems, 100401),
            S::RpmSignal),
    bound(spin("AbNumSpinRpmVar", F::RpmSignalThreshold, p2, engine, "LabelRpmVar",
               "rpm signal threshold [V]", {0.5, 24, 0.1, "#0.0#", 4}),
          S::RpmSignal),
    bound(itemIds(list("ComboBoxEGT", F::EgtSensorOn, p2, engine, "LabelEgtEn", "EGT sensor",
                       kOffOnItems, 100403),
                  100431, 2, ItemReselect::FromField),
          S::EgtAndTurbo),
    bound(listFrom("ComboBoxEGT_Temp", F::EgtMaxLevel, p2, engine, "LabelEgtT", "EGT maximum",
                   ListSource::EgtMaxima, 100404),
          S::EgtAndTurbo),
    shows(itemIds(listFrom("ComboBoxDciEn", F::CdiEmulatorOn, p2, engine, "LabelEmulator",
                           "Emulator:", ListSource::EmulatorModes, 100415),
                  100451, 1),
          ShownItem::EmulatorMode),
    // The level sensor group.
    handled(list("ComboBoxLevelSensor", F::LevelSensorType, p2, level, "LabelLevelSensor", "sensor",
                 kLevelSensorItems),
            S::LevelSensor),
    bound(spin("AbNumSpinPozE", F::LevelPointE, p2, level, "LabelPozE", "E [V]", kLevelPoint),
          S::LevelPoints),
    bound(spin("AbNumSpinPoz14", F::LevelPoint14, p2, level, "LabelPoz14", "1/4 [V]", kLevelPoint),
          S::LevelPoints),
    bound(spin("AbNumSpinPoz24", F::LevelPoint24, p2, level, "LabelPoz24", "2/4 [V]", kLevelPoint),
          S::LevelPoints),
    bound(spin("AbNumSpinPoz34", F::LevelPoint34, p2, level, "LabelPoz34", "3/4 [V]", kLevelPoint),
          S::LevelPoints),
    bound(spin("AbNumSpinRezRef", F::LevelRefTime, p2, level, "LabelRefTime", "reference time [s]",
               {1, 120, 1, "#0#", 25}, 100419),
          S::LevelSensor),
    bound(tick("CheckBoxLevelSensorNegativ", F::LevelSensorNormal, p2, level, "invert sensor",
               100420),
          S::LevelSensor),
    bound(
        tick("CheckBoxWskaznikZasilany", F::LevelValvePowered, p2, level, "Valve powered", 100421),
        S::LevelSensor),
    handled(list("ComboBoxDoubleTime", F::DoubleInjectionTime, p2, "GroupBoxDoubleInjectionTime",
                 "LabelDoubleTime", "Inj time x2:", kDoubleTimeItems),
            S::DoubleInjectionTime),
    // The adjustment page.
    bound(spin("AbNumSpinCisnieniePracy", F::WorkingPressure, p3, "PanelAdj", "LabelCisnieniePracy",
               "work pressure", {0.3, 2.45, 0.05, "#0.0#", 0.9}, 100501),
          S::WorkingPressure),
    itemIds(listFrom("ComboBoxMapa", F::MainMapType, p3, "", "LabelMapTyp",
                     "map type:", ListSource::MapTypes, 100503),
            100511, 4, ItemReselect::FromField),
    spoken(list("ComboBoxTpsTyp", F::TpsSwitch, p3, "", "", kNoCaption, kTpsTypItems),
           SpokenText::ThrottleSignalKind),
    bound(itemIds(list("ComboBoxTpsCutOff", F::TpsCutOffMode, p3, "PanelTpsCrus", "LabelCutOff",
                       "cut-off:", kCutOffItems, 100902),
                  100540, 5, ItemReselect::EntryZero),
          S::CutOff),
    bound(itemIds(list("ComboBoxCruise", F::CruiseMode, p3, "PanelTpsCrus", "LabelTempomat",
                       "cruise control:", kCruiseItems, 100903),
                  100550, 4, ItemReselect::EntryZero),
          S::CruiseSettings),
    // The advanced page (the correction maps' lists before these, from their own table).
    handled(groupUnit(spin("AbNumSpinTpsCutOff", F::TpsCutOffLevel, p5, cutOff, "LabelTpsCutOff",
                           "[V]", {0, 15.5, 0.1, "#0.0#", 1})),
            S::CutOff),
    bound(groupUnit(spin("AbNumSpinCutOffTime", F::CutOffTime, p5, cutOff, "LabelCutOffTime",
                         "[ms]", {0, 200, 1, "#0", 0})),
          S::CutOff),
    bound(groupUnit(spin("AbNumSpinCrusRpm", F::CruiseRpmPeriod, p5, cutOff, "LabelCrusRpm",
                         "[rpm]", {300, 4000, 50, "#0#", 900})),
          S::CruiseSettings),
    bound(groupUnit(spin("AbNumSpinCrusBar", F::CruisePressure, p5, cutOff, "LabelCrusBar", "[Bar]",
                         {0, 3, 0.05, "#0.0#", 1})),
          S::CruiseSettings),
    bound(groupUnit(spin("AbNumSpinCrusTime", F::CruiseTime, p5, cutOff, "LabelCrusTime", "[s]",
                         {2, 100, 1, "#0#", 10})),
          S::CruiseSettings),
    bound(spoken(list("ComboBoxEmulatorType", F::CdiEmulatorType, p5, cdi, "", kNoCaption,
                      kCdiEmulatorTypeItems),
                 SpokenText::CdiEmulatorType),
          S::CdiEmulator),
    handled(spoken(spin("AbNumSpinCdi1", F::CdiThreshold1, p5, cdi, "", kNoCaption,
                        {0, kCdiThresholdMax, 1, "#0", 5}),
                   SpokenText::CdiThreshold, 1),
            S::CdiEmulator),
    handled(spoken(spin("AbNumSpinCdi2", F::CdiThreshold2, p5, cdi, "", kNoCaption,
                        {0, kCdiThresholdMax, 1, "#0", 20}),
                   SpokenText::CdiThreshold, 2),
            S::CdiEmulator),
    handled(spoken(spin("AbNumSpinCdi3", F::CdiThreshold3, p5, cdi, "", kNoCaption,
                        {0, kCdiThresholdMax, 1, "#0", 40}),
                   SpokenText::CdiThreshold, 3),
            S::CdiEmulator),
    handled(spoken(spin("AbNumSpinV1", F::CdiValue1, p5, cdi, "", kNoCaption, kCdiValue),
                   SpokenText::CdiValue, 1),
            S::CdiEmulator),
    handled(spoken(spin("AbNumSpinV2", F::CdiValue2, p5, cdi, "", kNoCaption, kCdiValue),
                   SpokenText::CdiValue, 2),
            S::CdiEmulator),
    handled(spoken(spin("AbNumSpinV3", F::CdiValue3, p5, cdi, "", kNoCaption, kCdiValue),
                   SpokenText::CdiValue, 3),
            S::CdiEmulator),
    handled(spoken(spin("AbNumSpinV4", F::CdiValue4, p5, cdi, "", kNoCaption, kCdiValue),
                   SpokenText::CdiValue, 4),
            S::CdiEmulator),
    // (the enabled errors' ticks here, from their own table)
    bound(changeOnly(
              spoken(list("ComboBoxDK", F::DynamicKOn, p5, advanced, "", kNoCaption, kOffOnItems),
                     SpokenText::DynamicKOn)),
          S::DynamicK),
    bound(spoken(spin("AbNumSpinDynamicK", F::DynamicK, p5, advanced, "", kNoCaption,
                      {10, 200, 1, "#0#", 10}),
                 SpokenText::DynamicK),
          S::DynamicK),
    // The diagnostic page.
    bound(itemIds(list("ComboBoxGazAutoOn", F::AutoReturnToGas, "TabSheet4", "TabSheet6",
                       "LabelDiagErrorAuto", "return to propane after error:", kOffOnItems, 100611),
                  100621, 2, ItemReselect::FromField),
          S::ReturnToGasAndMainMap),
    // The DNA page.
    bound(list("ComboBoxMappingTempOK", F::MappingTempOk, p9, chain, "LabelMappingTempOK",
               "Temp.Start[C]:", kMappingTempOkItems),
          S::EmulatorSettings),
    bound(list("ComboBoxMappingRozdz", F::MappingSpread, p9, chain, "LabelMappingRozdz",
               "Mapp.Vacum[dV]", kMappingSpreadItems),
          S::EmulatorSettings),
    bound(list("ComboBoxMappingTpsDelta", F::MappingTpsDelta, p9, chain, "LabelMappingTpsDelta",
               "Mapp.V[dT]:", kMappingTpsDeltaItems),
          S::EmulatorSettings),
    bound(list("ComboBoxTpsType", F::TpsType, p9, chain, "LabelTpsType", "V Type:", kTpsTypeItems),
          S::EmulatorSettings),
    bound(list("ComboBoxMappingIteracja", F::MappingIteration, p9, chain, "LabelMappingIteracja",
               "IterationTime[s]:", kMappingIterationItems),
          S::EmulatorSettings),
    bound(spin("AbNumSpinMaxTps", F::DnaMaxTps, p9, chain, "LabelMaxTps", "Max V[V]:", kDnaVolts),
          S::EmulatorSettings),
    bound(spin("AbNumSpinMinTps", F::DnaMinTps, p9, chain, "LabelMinTps", "Min V[V]:", kDnaVolts),
          S::EmulatorSettings),
    // The EMU page: the signal emulator.
    handled(list("ComboBoxDNAEmuSelect", F::DnaEmulatorOn, p10, signal, "LabelDNAEmuSelect",
                 "DNA EMU:", kOffOnItems),
            S::EmulatorSettings),
    shows(list("ComboBoxeEmulatorRelayOn", F::EmulatorRelayDigital, p10, signal,
               "LabelEmulatorRelayOn", "DNA Emulator:", kRelayModeItems),
          ShownItem::RelayMode),
    bound(list("ComboBoxDnaSigRis1", F::DnaSignal1Falling, p10, signal, "LabelDnaSigRis1",
               "Chan.1:", kSignalDirectionItems),
          S::EmulatorSettings),
    bound(list("ComboBoxDnaSigRis2", F::DnaSignal2Falling, p10, signal, "LabelDnaSigRis2",
               "Chan.2:", kSignalDirectionItems),
          S::EmulatorSettings),
    bound(spin("AbNumSpinMaxDTps", F::DnaMaxDTps, p10, signal, "LabelMaxDTps",
               "MaxDTps:", {1, 100, 0.2, "#0.0#", 1}),
          S::DtpsLimits),
    bound(spin("AbNumSpinMinDTps", F::DnaMinDTps, p10, signal, "LabelMinDTps",
               "MinDTps:", {0, 50, 0.1, "#0.0#", 0}),
          S::DtpsLimits),
    // The EMU page: "DNA MAPS". The input's handler converts and sends the throttle map's axis
    // as well (EmulatorMaps).
    handled(listFrom("ComboBoxActivInput", F::EmuInputChannel, p10, emuMaps, "LabelActivInput",
                     "Input:", ListSource::EmuInputs),
            S::EmulatorInput),
    bound(list("ComboBoxTpsEmul", F::TpsEmulatorOn, p10, emuMaps, "LabelTpsEmul",
               "TPS map:", kOffOnItems),
          S::EmulatorSettings),
    bound(list("ComboBoxEmulatorStep", F::StepEmulatorOn, p10, emuMaps, "LabelEmulatorStep",
               "Step map:", kOffOnItems),
          S::EmulatorSettings),
    bound(
        spoken(list("ComboBoxFreqAlg", F::FreqAlgorithm, p10, freq, "", kNoCaption, kFreqAlgItems),
               SpokenText::FreqAlgorithm),
        S::FrequencyEmulator),
    bound(spoken(list("ComboBoxFreqFullGr", F::FreqFullGrid, p10, freq, "", kNoCaption,
                      kFreqFullGridItems),
                 SpokenText::FreqGrid),
          S::FrequencyEmulator),
    // Hidden, and never refreshed: nothing shows them.
    hidden(bound(spoken(spin("AbNumSpinWzbogacenieGlowne", F::MainEnrichment, p2, engine, "",
                             kNoCaption, {-25, 50, 1, "#0", 0}),
                        SpokenText::MainEnrichment),
                 S::None)),
    hidden(bound(spoken(spin("AbNumSpinOffsetGlowny", F::MainOffset, p2, engine, "", kNoCaption,
                             {-2, 4, 0.05, "#0.0#", 0}),
                        SpokenText::MainOffset),
                 S::None)),
    hidden(bound(changeOnly(tick("CheckBoxFreq", F::FreqEmuOn, p10, freq, "FQ Emu D1")), S::None)),
    hidden(bound(changeOnly(spoken(list("ComboBoxFreqEmuWyp", F::FreqEmuDuty, p10, freq, "",
                                        kNoCaption, kFreqEmuDutyItems),
                                   SpokenText::FreqEmulatorDuty)),
                 S::None)),
};

// Every page of the window (the first and the last show no setting).
constexpr SettingContainer kPages[] = {
    {"TabSheet1", "[F2]readings", ""},   {"TabSheet2", "[F3]parameters", ""},
    {"TabSheet3", "[F4]adjustment", ""}, {"TabSheet5", "", "advanced"},
    {"TabSheet4", "[F5]diagnostic", ""}, {"TabSheet9", "", "DNA"},
    {"TabSheet10", "EMU", ""},           {"TabSheet11", "", ""},
};

constexpr SettingContainer kGroups[] = {
    {"GroupBoxEngine", "", ""},
    {"GroupBoxPar3", "level sensor", ""},
    {"GroupBoxDoubleInjectionTime", "! DOUBLE INJECTION TIME !", ""},
    {"PanelTpsCrus", "", ""},
    {"PanelAdj", "", ""},
    {"GroupBoxCutOff", "TPS CUTOFF", ""},
    {"GroupBoxCdiEmu", "CDi EMULATOR", ""},
    {"GroupBoxEnError", "Enabled Errors", ""},
    {"GroupBoxAdvanced", "ADVANCED", ""},
    {"TabSheet6", "ECU", ""},
    {"GroupBoxDNA", "DNA chain regulation data", ""},
    {"GroupBoxSignalEmulator", "signal emulator", ""},
    {"GroupBoxMapsEmu", "DNA MAPS", ""},
    {"GroupBoxFreqAlg", "DO NOT MODIFY", ""},
};

template <std::size_t N>
const SettingContainer* findIn(const SettingContainer (&list)[N], std::string_view name) {
    const auto* found = std::find_if(std::begin(list), std::end(list),
                                     [name](const SettingContainer& c) { return c.name == name; });
    return found != std::end(list) ? found : nullptr;
}

}  // namespace

SettingsTable settingsTable() {
    return {kRows, std::size(kRows)};
}

const SettingRow* findSetting(std::string_view control) {
    const auto* found =
        std::find_if(std::begin(kRows), std::end(kRows),
                     [control](const SettingRow& r) { return r.control == control; });
    return found != std::end(kRows) ? found : nullptr;
}

const SettingContainer* findSettingPage(std::string_view name) {
    return findIn(kPages, name);
}

const SettingContainer* findSettingGroup(std::string_view name) {
    return findIn(kGroups, name);
}

}  // namespace kaldor
