#include "service/setup_description.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "diagnostics/enabled_errors.h"
#include "emulation/emulator_maps.h"
#include "emulation/emulator_settings.h"
#include "files/text_ids.h"
#include "maps/correction_maps.h"
#include "maps/cruise_map.h"
#include "maps/main_map.h"
#include "maps/map_axes.h"
#include "maps/map_types.h"
#include "model/codec.h"
#include "model/list_items.h"
#include "model/number_pattern.h"
#include "model/switch_over_edits.h"
#include "service/field_text.h"
#include "service/image_diff.h"

namespace kaldor {
namespace {

// A page or a group: its objectName, the caption it is built with, and the name the description
// gives it where the page's tab has no caption (a page reached by its keys only).
struct Container {
    std::string_view name;
    std::string_view caption;
    std::string_view unnamed;
};

constexpr Container kPages[] = {
    {"TabSheet2", "[F3]parameters", ""},
    {"TabSheet3", "[F4]adjustment", ""},
    {"TabSheet5", "", "advanced"},
    {"TabSheet4", "[F5]diagnostic", ""},
    {"TabSheet9", "", "DNA"},
    {"TabSheet10", "EMU", ""},
};

constexpr Container kGroups[] = {
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

// How a setting's caption is found on its page.
enum class CaptionFrom : std::uint8_t {
    Label,      // the label beside it
    Own,        // its own caption (a check box)
    GroupUnit,  // its group's caption and the unit label after it: "TPS CUTOFF, [V]"
    Spoken,     // no caption on its page: the name it is read by (a spoken text)
    LabelPlace  // in a row headed by a label: the label's caption and its place in the row
};

enum class Shows : std::uint8_t { List, Number, Tick };

struct DescribedControl {
    std::string_view control;
    FieldId field;
    std::string_view page;
    std::string_view group;
    CaptionFrom from;
    std::string_view label;    // objectName holding the caption (Label, Own, GroupUnit)
    std::string_view caption;  // the caption it is built with
    int place;                 // LabelPlace; Spoken: the number for "%1" (0: none)
    Shows shows;
    std::string_view pattern;  // Number: the editor's number pattern
    std::vector<std::string> items;
    int bit = -1;  // a control that shows one bit of its field: that bit's item or tick
    // A list whose item the page works out from several fields; nothing: the field's own value.
    int (*item)(const EcuImage&) = nullptr;
    SpokenText spoken = SpokenText::Count;  // Spoken
};

template <std::size_t N>
std::vector<std::string> itemsOf(const std::array<std::string_view, N>& list) {
    return {list.begin(), list.end()};
}
template <typename Row, std::size_t N>
std::vector<std::string> itemTextsOf(const std::array<Row, N>& rows) {
    std::vector<std::string> items;
    for (const Row& row : rows)
        items.emplace_back(row.item);
    return items;
}

std::vector<std::string> temperatureItems() {
    std::vector<std::string> items;
    for (int t = kOnTemperatureFirst; t <= kOnTemperatureLast; ++t)
        items.push_back(std::to_string(t));
    return items;
}

std::vector<std::string> egtItems() {
    std::vector<std::string> items;
    for (int i = 0; i < kEgtMaxItems; ++i)
        items.push_back(egtMaxItem(i));
    return items;
}

using F = FieldId;
using C = CaptionFrom;

DescribedControl list(std::string_view control, F field, std::string_view page,
                      std::string_view group, std::string_view label, std::string_view caption,
                      std::vector<std::string> items, C from = C::Label, int place = 0) {
    return {control, field,       page, group,           from, label, caption,
            place,   Shows::List, "",   std::move(items)};
}
DescribedControl number(std::string_view control, F field, std::string_view page,
                        std::string_view group, std::string_view label, std::string_view caption,
                        std::string_view pattern, C from = C::Label, int place = 0) {
    return {control, field, page, group, from, label, caption, place, Shows::Number, pattern, {}};
}
// A control without a caption on its page, by the name it is read by.
DescribedControl spoken(DescribedControl d, SpokenText name) {
    d.spoken = name;
    return d;
}
DescribedControl tick(std::string_view control, F field, std::string_view page,
                      std::string_view group, std::string_view caption, int bit = -1) {
    return {control, field, page, group, C::Own, control, caption, 0, Shows::Tick, "", {}, bit};
}
DescribedControl derived(DescribedControl row, int (*item)(const EcuImage&)) {
    row.item = item;
    return row;
}

// Both bits clear leave the relay list as it was: "off" for a set-up read afresh.
int relayShownItem(const EcuImage& image) {
    return emulatorModeShown(image).relayItem.value_or(0);
}

// "on"/"off" of each correction map, under the caption beside its grid.
std::vector<DescribedControl> correctionEnables() {
    std::vector<DescribedControl> rows;
    for (const CorrectionMapDef& map : correctionMaps()) {
        // The row is the label, the grid, then this list.
        DescribedControl row = list(map.enableCombo, F::CorrectionMapEnable, "TabSheet5", "",
                                    map.label, map.caption, itemsOf(kOffOnItems), C::LabelPlace, 2);
        row.bit = static_cast<int>(map.enableBit);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<DescribedControl> enabledErrorBoxes() {
    std::vector<DescribedControl> rows;
    for (const EnabledErrorBox& box : kEnabledErrorBoxes)
        rows.push_back(tick(box.checkBox, F::EnabledErrors, "TabSheet5", "GroupBoxEnError",
                            box.caption, static_cast<int>(box.bit)));
    return rows;
}

// Every setting a page shows, in the order of the pages and of the groups on them. The number
// patterns are the editors' own.
const std::vector<DescribedControl>& describedControls() {
    static const std::vector<DescribedControl> table = [] {
        const auto off = itemsOf(kOffOnItems);
        const char* p2 = "TabSheet2";
        const char* engine = "GroupBoxEngine";
        const char* level = "GroupBoxPar3";
        const char* p3 = "TabSheet3";
        const char* p5 = "TabSheet5";
        const char* cutOff = "GroupBoxCutOff";
        const char* cdi = "GroupBoxCdiEmu";
        const char* p10 = "TabSheet10";
        const char* signal = "GroupBoxSignalEmulator";
        const char* emuMaps = "GroupBoxMapsEmu";
        const char* chain = "GroupBoxDNA";
        std::vector<DescribedControl> rows{
            list("ComboBoxTempOn", F::OnTemperature, p2, engine, "LabelOnTemp",
                 "switch-on temperature [\xC2\xB0"
                 "C]",
                 temperatureItems()),
            number("AbNumSpinRpm", F::OnRpmPeriod, p2, engine, "LabelRpmSWitch", "switch-on rpm",
                   "#0#"),
            number("AbNumSpinOnDelay", F::OnDelay, p2, engine, "LabelDelayGaz",
                   "switch-on delay [s]", "#0.0#"),
            number("AbNumSpinMinPsys", F::MinSystemPressure, p2, engine, "LabelMinPsys",
                   "minimum pressure [bar]", "#0.0#"),
            number("AbNumSpinOffDelay", F::PressureDelay, p2, engine, "LabelPsysDelay",
                   "minimum pressure delay [s]", "#0.0#"),
            list("ComboBoxRegulatorVacum", F::RegulatorVacuumConnected, p2, engine,
                 "LabelRegulatorVacum", "regulator", itemsOf(kRegulatorVacuumItems)),
            list("ComboBoxTGsensor", F::GasTempSensorType, p2, engine, "LabelTGSEnsor",
                 "gas temperature sensor", itemsOf(kTempSensorItems)),
            list("ComboBoxTRsensor", F::ReducerTempSensorType, p2, engine, "LabelTRsensor",
                 "regulator temperature sensor", itemsOf(kTempSensorItems)),
            list("ComboBoxPresSensor", F::GasPressureSensorType, p2, engine, "LabelPresSensTyp",
                 "gas pressure sensor", itemsOf(kPressureSensorItems)),
            list("ComboBoxMAPSensType", F::MapSensorType, p2, engine, "LabelMapType", "MAP sensor",
                 itemsOf(kMapSensorItems)),
            list("ComboBoxTurbo", F::TurboOn, p2, engine, "LabelTurbo", "turbo",
                 itemsOf(kTurboItems)),
            list("ComboBoxCoilType", F::RpmSignalType, p2, engine, "LabelCoilType",
                 "rpm signal type", itemsOf(kCoilItems)),
            list("ComboBoxRpmPower", F::RpmSignalLevel, p2, engine, "LabelRpmPower",
                 "rpm signal level", itemsOf(kRpmPowerItems)),
            number("AbNumSpinRpmVar", F::RpmSignalThreshold, p2, engine, "LabelRpmVar",
                   "rpm signal threshold [V]", "#0.0#"),
            list("ComboBoxEGT", F::EgtSensorOn, p2, engine, "LabelEgtEn", "EGT sensor", off),
            list("ComboBoxEGT_Temp", F::EgtMaxLevel, p2, engine, "LabelEgtT", "EGT maximum",
                 egtItems()),
            derived(list("ComboBoxDciEn", F::CdiEmulatorOn, p2, engine, "LabelEmulator",
                         "Emulator:", itemTextsOf(kEmulatorModes)),
                    emulatorModeItem),
            list("ComboBoxLevelSensor", F::LevelSensorType, p2, level, "LabelLevelSensor", "sensor",
                 itemsOf(kLevelSensorItems)),
            number("AbNumSpinPozE", F::LevelPointE, p2, level, "LabelPozE", "E [V]", "#0.0#"),
            number("AbNumSpinPoz14", F::LevelPoint14, p2, level, "LabelPoz14", "1/4 [V]", "#0.0#"),
            number("AbNumSpinPoz24", F::LevelPoint24, p2, level, "LabelPoz24", "2/4 [V]", "#0.0#"),
            number("AbNumSpinPoz34", F::LevelPoint34, p2, level, "LabelPoz34", "3/4 [V]", "#0.0#"),
            number("AbNumSpinRezRef", F::LevelRefTime, p2, level, "LabelRefTime",
                   "reference time [s]", "#0#"),
            tick("CheckBoxLevelSensorNegativ", F::LevelSensorNormal, p2, level, "invert sensor"),
            tick("CheckBoxWskaznikZasilany", F::LevelValvePowered, p2, level, "Valve powered"),
            list("ComboBoxDoubleTime", F::DoubleInjectionTime, p2, "GroupBoxDoubleInjectionTime",
                 "LabelDoubleTime", "Inj time x2:", itemsOf(kDoubleTimeItems)),
            number("AbNumSpinCisnieniePracy", F::WorkingPressure, p3, "PanelAdj",
                   "LabelCisnieniePracy", "work pressure", "#0.0#"),
            list("ComboBoxMapa", F::MainMapType, p3, "", "LabelMapTyp",
                 "map type:", itemTextsOf(kMapTypes)),
            spoken(list("ComboBoxTpsTyp", F::TpsSwitch, p3, "", "", "", itemsOf(kTpsTypItems),
                        C::Spoken),
                   SpokenText::ThrottleSignalKind),
            list("ComboBoxTpsCutOff", F::TpsCutOffMode, p3, "PanelTpsCrus", "LabelCutOff",
                 "cut-off:", itemsOf(kCutOffItems)),
            list("ComboBoxCruise", F::CruiseMode, p3, "PanelTpsCrus", "LabelTempomat",
                 "cruise control:", itemsOf(kCruiseItems)),
            number("AbNumSpinTpsCutOff", F::TpsCutOffLevel, p5, cutOff, "LabelTpsCutOff", "[V]",
                   "#0.0#", C::GroupUnit),
            number("AbNumSpinCutOffTime", F::CutOffTime, p5, cutOff, "LabelCutOffTime", "[ms]",
                   "#0", C::GroupUnit),
            number("AbNumSpinCrusRpm", F::CruiseRpmPeriod, p5, cutOff, "LabelCrusRpm", "[rpm]",
                   "#0#", C::GroupUnit),
            number("AbNumSpinCrusBar", F::CruisePressure, p5, cutOff, "LabelCrusBar", "[Bar]",
                   "#0.0#", C::GroupUnit),
            number("AbNumSpinCrusTime", F::CruiseTime, p5, cutOff, "LabelCrusTime", "[s]", "#0#",
                   C::GroupUnit),
            spoken(list("ComboBoxEmulatorType", F::CdiEmulatorType, p5, cdi, "", "",
                        itemsOf(kCdiEmulatorTypeItems), C::Spoken),
                   SpokenText::CdiEmulatorType),
            spoken(number("AbNumSpinCdi1", F::CdiThreshold1, p5, cdi, "", "", "#0", C::Spoken, 1),
                   SpokenText::CdiThreshold),
            spoken(number("AbNumSpinCdi2", F::CdiThreshold2, p5, cdi, "", "", "#0", C::Spoken, 2),
                   SpokenText::CdiThreshold),
            spoken(number("AbNumSpinCdi3", F::CdiThreshold3, p5, cdi, "", "", "#0", C::Spoken, 3),
                   SpokenText::CdiThreshold),
            spoken(number("AbNumSpinV1", F::CdiValue1, p5, cdi, "", "", "#0", C::Spoken, 1),
                   SpokenText::CdiValue),
            spoken(number("AbNumSpinV2", F::CdiValue2, p5, cdi, "", "", "#0", C::Spoken, 2),
                   SpokenText::CdiValue),
            spoken(number("AbNumSpinV3", F::CdiValue3, p5, cdi, "", "", "#0", C::Spoken, 3),
                   SpokenText::CdiValue),
            spoken(number("AbNumSpinV4", F::CdiValue4, p5, cdi, "", "", "#0", C::Spoken, 4),
                   SpokenText::CdiValue),
            spoken(
                list("ComboBoxDK", F::DynamicKOn, p5, "GroupBoxAdvanced", "", "", off, C::Spoken),
                SpokenText::DynamicKOn),
            spoken(number("AbNumSpinDynamicK", F::DynamicK, p5, "GroupBoxAdvanced", "", "", "#0#",
                          C::Spoken),
                   SpokenText::DynamicK),
            list("ComboBoxGazAutoOn", F::AutoReturnToGas, "TabSheet4", "TabSheet6",
                 "LabelDiagErrorAuto", "return to propane after error:", off),
            list("ComboBoxMappingTempOK", F::MappingTempOk, "TabSheet9", chain,
                 "LabelMappingTempOK", "Temp.Start[C]:", itemsOf(kMappingTempOkItems)),
            list("ComboBoxMappingRozdz", F::MappingSpread, "TabSheet9", chain, "LabelMappingRozdz",
                 "Mapp.Vacum[dV]", itemsOf(kMappingSpreadItems)),
            list("ComboBoxMappingTpsDelta", F::MappingTpsDelta, "TabSheet9", chain,
                 "LabelMappingTpsDelta", "Mapp.V[dT]:", itemsOf(kMappingTpsDeltaItems)),
            list("ComboBoxTpsType", F::TpsType, "TabSheet9", chain, "LabelTpsType",
                 "V Type:", itemsOf(kTpsTypeItems)),
            list("ComboBoxMappingIteracja", F::MappingIteration, "TabSheet9", chain,
                 "LabelMappingIteracja", "IterationTime[s]:", itemsOf(kMappingIterationItems)),
            number("AbNumSpinMaxTps", F::DnaMaxTps, "TabSheet9", chain, "LabelMaxTps",
                   "Max V[V]:", "#0.0#"),
            number("AbNumSpinMinTps", F::DnaMinTps, "TabSheet9", chain, "LabelMinTps",
                   "Min V[V]:", "#0.0#"),
            list("ComboBoxDNAEmuSelect", F::DnaEmulatorOn, p10, signal, "LabelDNAEmuSelect",
                 "DNA EMU:", off),
            derived(list("ComboBoxeEmulatorRelayOn", F::EmulatorRelayDigital, p10, signal,
                         "LabelEmulatorRelayOn", "DNA Emulator:", itemsOf(kRelayModeItems)),
                    relayShownItem),
            list("ComboBoxDnaSigRis1", F::DnaSignal1Falling, p10, signal, "LabelDnaSigRis1",
                 "Chan.1:", itemsOf(kSignalDirectionItems)),
            list("ComboBoxDnaSigRis2", F::DnaSignal2Falling, p10, signal, "LabelDnaSigRis2",
                 "Chan.2:", itemsOf(kSignalDirectionItems)),
            number("AbNumSpinMaxDTps", F::DnaMaxDTps, p10, signal, "LabelMaxDTps",
                   "MaxDTps:", "#0.0#"),
            number("AbNumSpinMinDTps", F::DnaMinDTps, p10, signal, "LabelMinDTps",
                   "MinDTps:", "#0.0#"),
            list("ComboBoxActivInput", F::EmuInputChannel, p10, emuMaps, "LabelActivInput",
                 "Input:", itemTextsOf(kEmuInputs)),
            list("ComboBoxTpsEmul", F::TpsEmulatorOn, p10, emuMaps, "LabelTpsEmul",
                 "TPS map:", off),
            list("ComboBoxEmulatorStep", F::StepEmulatorOn, p10, emuMaps, "LabelEmulatorStep",
                 "Step map:", off),
            spoken(list("ComboBoxFreqAlg", F::FreqAlgorithm, p10, "GroupBoxFreqAlg", "", "",
                        itemsOf(kFreqAlgItems), C::Spoken),
                   SpokenText::FreqAlgorithm),
            spoken(list("ComboBoxFreqFullGr", F::FreqFullGrid, p10, "GroupBoxFreqAlg", "", "",
                        itemsOf(kFreqFullGridItems), C::Spoken),
                   SpokenText::FreqGrid),
        };
        // The advanced page: the correction maps on its left, the groups on its right.
        const auto firstOf = [&rows](std::string_view control) {
            return std::find_if(rows.begin(), rows.end(), [control](const DescribedControl& d) {
                return d.control == control;
            });
        };
        const std::vector<DescribedControl> enables = correctionEnables();
        rows.insert(firstOf("AbNumSpinTpsCutOff"), enables.begin(), enables.end());
        const std::vector<DescribedControl> errors = enabledErrorBoxes();
        rows.insert(firstOf("AbNumSpinV4") + 1, errors.begin(), errors.end());
        return rows;
    }();
    return table;
}

// The maps and their axes, described cell by cell rather than as settings.
constexpr FieldId kMapFields[] = {
    F::MainMapColumnAxis, F::MainMapRowAxis,  F::MainMap,          F::CruiseMap,
    F::CorrectionMaps,    F::TpsEmulatorAxis, F::TpsEmulatorTable, F::StepEmulatorTable,
};

bool isMapField(FieldId id) {
    return std::find(std::begin(kMapFields), std::end(kMapFields), id) != std::end(kMapFields);
}

const DescribedControl* describedControlOf(FieldId id) {
    for (const DescribedControl& d : describedControls())
        if (d.field == id)
            return &d;
    return nullptr;
}

std::string textOf(const SetupTexts& texts, std::string_view name, std::string_view builtIn) {
    const auto found = texts.captions.find(name);
    return found != texts.captions.end() ? found->second : std::string(builtIn);
}

const Container* containerOf(const Container* begin, const Container* end, std::string_view name) {
    const Container* found =
        std::find_if(begin, end, [name](const Container& c) { return c.name == name; });
    return found != end ? found : nullptr;
}

std::string pageCaption(const SetupTexts& texts, std::string_view page) {
    const Container* c = containerOf(std::begin(kPages), std::end(kPages), page);
    if (c == nullptr)
        return std::string(page);
    const std::string caption = withoutKeyHint(textOf(texts, c->name, c->caption));
    return caption.empty() ? std::string(c->unnamed) : caption;
}

std::string groupCaption(const SetupTexts& texts, std::string_view group) {
    const Container* c = containerOf(std::begin(kGroups), std::end(kGroups), group);
    return c == nullptr ? std::string() : textOf(texts, c->name, c->caption);
}

// A label's closing colon leads to its control; in a listing the listing's own colon follows.
std::string withoutColon(std::string text) {
    while (!text.empty() && (text.back() == ':' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string captionOf(const DescribedControl& d, const SetupTexts& texts) {
    switch (d.from) {
        case C::Label:
        case C::Own:
            return withoutColon(textOf(texts, d.label, d.caption));
        case C::GroupUnit:
            return groupCaption(texts, d.group) + ", " + textOf(texts, d.label, d.caption);
        case C::LabelPlace:
            return withoutColon(textOf(texts, d.label, d.caption)) + " " + std::to_string(d.place);
        case C::Spoken:
            break;
    }
    const auto loaded = texts.spokenTexts.find(static_cast<int>(d.spoken));
    std::string name = loaded != texts.spokenTexts.end() ? loaded->second
                                                         : std::string(spokenTextEnglish(d.spoken));
    if (const std::size_t at = name.find("%1"); d.place > 0 && at != std::string::npos)
        name.replace(at, 2, std::to_string(d.place));
    return name;
}

std::string itemText(const DescribedControl& d, const SetupTexts& texts, std::size_t index) {
    const auto found = texts.items.find({std::string(d.control), static_cast<int>(index)});
    return found != texts.items.end() ? found->second : d.items[index];
}

// The value as the control shows it after the refresh.
ShownField controlValue(const DescribedControl& d, const EcuImage& image, const SetupTexts& texts) {
    const std::optional<double> shown =
        d.bit >= 0          ? std::optional<double>((readField(image, d.field) >> d.bit) & 1u)
        : d.item != nullptr ? std::optional<double>(d.item(image))
                            : shownValue(image, d.field);
    const std::string raw = "raw " + std::to_string(readField(image, d.field));
    if (!shown)
        return {raw, ""};
    switch (d.shows) {
        case Shows::List:
            // A value the list does not offer: the list stays empty and says what it holds.
            if (*shown < 0 || *shown >= static_cast<double>(d.items.size()))
                return {raw, ""};
            return {itemText(d, texts, static_cast<std::size_t>(*shown)), ""};
        case Shows::Tick:
            return {*shown != 0 ? "on" : "off", ""};
        case Shows::Number:
            break;
    }
    return {patternText(*shown, d.pattern), fieldShown(image, d.field, 0).unit};
}

std::string withUnit(const ShownField& shown) {
    return shown.unit.empty() ? shown.value : shown.value + " " + shown.unit;
}

std::string mainMapAxisText(const EcuImage& image, FieldId axis, std::size_t element) {
    const std::string text = fieldValueText(image, axis, element);
    return text.empty() ? std::string() : text;
}

std::string correctionCaption(const CorrectionMapDef& map, const SetupTexts& texts) {
    return textOf(texts, map.label, map.caption);
}

std::string mapsGroupName(FieldId id) {
    switch (id) {
        case F::MainMap:
        case F::MainMapColumnAxis:
        case F::MainMapRowAxis:
            return "main map";
        case F::CruiseMap:
            return "cruise map";
        case F::CorrectionMaps:
            return "correction maps";
        case F::TpsEmulatorAxis:
        case F::TpsEmulatorTable:
            return "TPS map";
        case F::StepEmulatorTable:
            return "Step map";
        default:
            break;
    }
    return std::string(fieldDef(id).name);
}

// The unit the EMU page's throttle map axis is read in for the chosen input.
std::string emuAxisUnit(const EcuImage& image) {
    const unsigned channel = readField(image, F::EmuInputChannel);
    for (std::size_t i = 0; i < kEmuInputs.size(); ++i)
        if (kInputChannelWords[i] == channel)
            return kEmuInputs[i].unit == EmuAxisUnit::InjectionTime ? "ms" : "V";
    return "";
}

// A cell by its axis values, as its grid heads its row and column.
std::string cellName(const EcuImage& image, FieldId id, std::size_t element,
                     const SetupTexts& texts, unsigned softwareRevision) {
    switch (id) {
        case F::MainMap: {
            const auto columns = static_cast<std::size_t>(kMainMapColumns);
            const std::size_t row = element / columns;
            const std::size_t column = element % columns;
            const MapTypeDef* type = mapTypeDef(readField(image, F::MainMapType));
            // A type no list offers has no axes to read.
            if (type == nullptr)
                return "row " + std::to_string(row + 1) + " x column " + std::to_string(column + 1);
            const std::string rowText = mainMapAxisText(image, F::MainMapRowAxis, row);
            std::string columnText;
            if (type->columns != AxisKind::None &&
                static_cast<int>(column) + 1 < mainMapColCount(readField(image, F::MainMapType),
                                                               readField(image, F::TpsSwitch) != 0))
                columnText = mainMapAxisText(image, F::MainMapColumnAxis, column);
            if (columnText.empty())
                columnText = "column " + std::to_string(column + 1);
            return rowText + " x " + columnText;
        }
        case F::MainMapColumnAxis:
            return "column axis " + std::to_string(element + 1);
        case F::MainMapRowAxis:
            return "row axis " + std::to_string(element + 1);
        case F::TpsEmulatorAxis:
            return "axis " + std::to_string(element + 1);
        case F::CruiseMap: {
            const CruiseAxis& axis = cruiseAxis(softwareRevision);
            if (element >= axis.size())
                break;
            // Two columns under one heading are told apart by their place.
            const std::string name = headingText(axis[element], HeadingFormat::Shortest) + " bar";
            if (std::count(axis.begin(), axis.end(), axis[element]) > 1)
                return name + " (column " + std::to_string(element + 1) + ")";
            return name;
        }
        case F::CorrectionMaps:
            for (const CorrectionMapDef& map : correctionMaps()) {
                const auto columns = static_cast<std::size_t>(map.columns);
                if (element < map.firstByte || element >= map.firstByte + columns)
                    continue;
                const std::size_t column = element - map.firstByte;
                const std::string name = correctionCaption(map, texts) + " " +
                                         headingText(map.axis[column], map.axisFormat);
                // Two columns under one heading are told apart by their place.
                if (std::count(map.axis, map.axis + columns, map.axis[column]) > 1)
                    return name + " (column " + std::to_string(column + 1) + ")";
                return name;
            }
            break;
        case F::TpsEmulatorTable:
        case F::StepEmulatorTable: {
            const auto columns = static_cast<std::size_t>(kEmuColumns);
            const std::size_t row = element / columns;
            const std::size_t column = element % columns;
            const std::string channel = row == 0 ? "K1" : "K2";
            if (id == F::StepEmulatorTable)
                return channel + " x " + std::to_string(kStepAxis[column]);
            const auto raw =
                static_cast<std::uint16_t>(readField(image, F::TpsEmulatorAxis, column));
            const auto text = emuAxisText(readField(image, F::EmuInputChannel), raw, '.');
            return channel + " x " +
                   (text ? *text + " " + emuAxisUnit(image)
                         : "column " + std::to_string(column + 1));
        }
        default:
            break;
    }
    return fieldElementName(id, element);
}

std::string cellValue(const EcuImage& image, FieldId id, std::size_t element) {
    if (id == F::TpsEmulatorAxis) {
        const auto raw = static_cast<std::uint16_t>(readField(image, id, element));
        if (const auto text = emuAxisText(readField(image, F::EmuInputChannel), raw, '.'))
            return *text + " " + emuAxisUnit(image);
    }
    return fieldValueText(image, id, element);
}

// A field no page shows: its value with no list item it could be taken for.
std::string internalValue(const EcuImage& image, FieldId id, std::size_t element) {
    const Encoding e = fieldDef(id).encoding;
    if (e == Encoding::Index || e == Encoding::IndexPlus1 || e == Encoding::IndexTimes10 ||
        e == Encoding::IndexTimes81 || e == Encoding::InputChannel)
        return std::to_string(readField(image, id, element));
    return fieldValueText(image, id, element);
}

// A field whose bits each have a control of their own is named by their place together and reads
// as the captions of those that are on.
std::string bitByBitName(const DescribedControl& first, const SetupTexts& texts) {
    const std::string group = groupCaption(texts, first.group);
    return pageCaption(texts, first.page) + " / " +
           (group.empty() ? mapsGroupName(F::CorrectionMaps) : group);
}

std::string bitByBitValue(FieldId id, const EcuImage& image, const SetupTexts& texts) {
    std::string on;
    for (const DescribedControl& d : describedControls())
        if (d.field == id && d.bit >= 0 && ((readField(image, id) >> d.bit) & 1u) != 0)
            on += (on.empty() ? "" : ", ") + withoutColon(textOf(texts, d.label, d.caption));
    return on.empty() ? "none" : on;
}

}  // namespace

std::string withoutKeyHint(const std::string& caption) {
    if (!caption.empty() && caption.front() == '[') {
        const std::size_t close = caption.find(']');
        if (close != std::string::npos)
            return caption.substr(close + 1);
    }
    return caption;
}

SetupTexts setupTexts(const LanguageFile& language) {
    SetupTexts texts;
    for (const LanguageEntry& entry : language.entries) {
        const TextTarget* target = findTextId(entry.id);
        if (target == nullptr)
            continue;
        // Menu items too, by their objectName: the history names its commands by them.
        if (target->kind == TextKind::Caption || target->kind == TextKind::Menu)
            texts.captions[std::string(target->control)] = entry.text;
        else if (target->kind == TextKind::ListItem)
            texts.items[{std::string(target->control), target->index}] = entry.text;
        else if (target->kind == TextKind::ErrorText)
            texts.errorTexts[target->index] = entry.text;
        else if (target->kind == TextKind::StatusText)
            texts.statusTexts[target->index] = entry.text;
        else if (target->kind == TextKind::ReportText)
            texts.reportTexts[target->index] = entry.text;
        else if (target->kind == TextKind::WindowText)
            texts.windowTexts[target->index] = entry.text;
        else if (target->kind == TextKind::SpokenText)
            texts.spokenTexts[target->index] = entry.text;
    }
    return texts;
}

std::string windowText(const SetupTexts& texts, WindowText text) {
    const auto loaded = texts.windowTexts.find(static_cast<int>(text));
    return loaded != texts.windowTexts.end() ? loaded->second
                                             : std::string(windowTextEnglish(text));
}

std::string translatedEnglish(const SetupTexts& texts, const std::string& english) {
    const std::optional<WindowText> text = windowTextOfEnglish(english);
    return text ? windowText(texts, *text) : english;
}

SetupDescription describeSetup(const EcuImage& image, const SetupTexts& texts,
                               unsigned softwareRevision) {
    SetupDescription description;
    for (const DescribedControl& d : describedControls()) {
        const ShownField shown = controlValue(d, image, texts);
        description.settings.push_back({pageCaption(texts, d.page), groupCaption(texts, d.group),
                                        captionOf(d, texts), shown.value, shown.unit, d.field, 0,
                                        std::string(d.control)});
    }
    for (FieldId id : kMapFields) {
        const FieldDef& def = fieldDef(id);
        for (std::size_t e = 0; e < def.count; ++e)
            description.maps.push_back({"", mapsGroupName(id),
                                        cellName(image, id, e, texts, softwareRevision),
                                        cellValue(image, id, e), "", id, e, ""});
    }
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        const FieldDef& def = fieldAt(i);
        if (describedControlOf(def.id) != nullptr || isMapField(def.id))
            continue;
        for (std::size_t e = 0; e < def.count; ++e)
            description.internal.push_back({"", "internal", fieldElementName(def.id, e),
                                            internalValue(image, def.id, e), "", def.id, e, ""});
    }
    return description;
}

std::string setupElementName(const EcuImage& image, FieldId id, std::size_t element,
                             const SetupTexts& texts, unsigned softwareRevision) {
    if (const DescribedControl* d = describedControlOf(id)) {
        if (d->bit >= 0)
            return bitByBitName(*d, texts);
        std::string name = pageCaption(texts, d->page) + " / ";
        const std::string group = groupCaption(texts, d->group);
        if (!group.empty() && d->from != C::GroupUnit)
            name += group + " / ";
        return name + captionOf(*d, texts);
    }
    if (isMapField(id))
        return mapsGroupName(id) + " " + cellName(image, id, element, texts, softwareRevision);
    return fieldElementName(id, element);
}

std::string setupElementValue(const EcuImage& image, FieldId id, std::size_t element,
                              const SetupTexts& texts) {
    if (const DescribedControl* d = describedControlOf(id))
        return d->bit >= 0 ? bitByBitValue(id, image, texts)
                           : withUnit(controlValue(*d, image, texts));
    if (isMapField(id))
        return cellValue(image, id, element);
    return internalValue(image, id, element);
}

}  // namespace kaldor
