// A set-up in words: settings under their pages' captions with the values their controls show,
// the chosen language's texts, map cells by their axis values, what no page shows apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include "diagnostics/enabled_errors.h"
#include "emulation/emulator_maps.h"
#include "maps/correction_maps.h"
#include "maps/map_axes.h"
#include "maps/map_types.h"
#include "model/codec.h"
#include "model/number_pattern.h"
#include "model/units.h"
#include "service/setup_description.h"

namespace kaldor {
namespace {

const SetupLine* settingOf(const SetupDescription& d, FieldId id) {
    for (const SetupLine& l : d.settings)
        if (l.field == id)
            return &l;
    return nullptr;
}

std::string placed(const SetupLine& l) {
    return l.page + " | " + l.group + " | " + l.caption + ": " + l.value +
           (l.unit.empty() ? "" : " " + l.unit);
}

struct SettingCase {
    FieldId field;
    std::uint32_t raw;
    std::string expected;  // page | group | caption: value unit
};

TEST(SetupDescription, SettingsReadAsTheirPagesShowThem) {
    const std::vector<SettingCase> cases = {
        {FieldId::GasTempSensorType, 4, "parameters |  | gas temperature sensor: 4k7(PX208)"},
        {FieldId::GasTempSensorType, 200, "parameters |  | gas temperature sensor: raw 200"},
        {FieldId::MinSystemPressure, 1499, "parameters |  | minimum pressure [bar]: 1.5 bar"},
        {FieldId::MinSystemPressure, 125, "parameters |  | minimum pressure [bar]: 0.13 bar"},
        {FieldId::OnTemperature, 35,
         "parameters |  | switch-on temperature [\xC2\xB0"
         "C]: 35"},
        {FieldId::EgtMaxLevel, 810,
         "parameters |  | EGT maximum: 1,0V   286\xC2\xB0"
         "C"},
        {FieldId::LevelRefTime, 7, "parameters | level sensor | reference time [s]: 07"},
        {FieldId::LevelSensorNormal, 0, "parameters | level sensor | invert sensor: on"},
        {FieldId::DoubleInjectionTime, 1,
         "parameters | ! DOUBLE INJECTION TIME ! | Inj time x2: 2x"},
        {FieldId::MainMapType, 4, "adjustment |  | map type: 5:TPS/RPM (NO-TURBO)"},
        {FieldId::TpsSwitch, 1, "adjustment |  | throttle signal kind: TPS SWITCH"},
        {FieldId::CorrectionMapEnable, 0b1111101, "advanced |  | [%] EGT cor. 2: ON"},
        {FieldId::EnabledErrors, 0xFFFE, "advanced | Enabled Errors | Tr: off"},
        {FieldId::EmulatorRelayDigital, 1, "EMU | signal emulator | DNA Emulator: on Digital"},
        {FieldId::CruisePressure, 1050, "advanced | TPS CUTOFF | TPS CUTOFF, [Bar]: 1.05 bar"},
        {FieldId::CdiValue2, 30, "advanced | CDi EMULATOR | CDi value 2: 30"},
        {FieldId::AutoReturnToGas, 1, "diagnostic | ECU | return to propane after error: ON"},
        {FieldId::TpsType, 3, "DNA | DNA chain regulation data | V Type: 2V"},
        {FieldId::EmuInputChannel, 72, "EMU | DNA MAPS | Input: TDi1"},
        {FieldId::EmuInputChannel, 6, "EMU | DNA MAPS | Input: raw 6"},
        {FieldId::FreqAlgorithm, 5, "EMU | DO NOT MODIFY | frequency algorithm: 60-normal"},
    };
    for (const SettingCase& c : cases) {
        SCOPED_TRACE(c.expected);
        EcuImage image;
        storeField(image, c.field, c.raw);
        const SetupDescription d = describeSetup(image);
        const SetupLine* line = settingOf(d, c.field);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(placed(*line), c.expected);
    }
}

// Every field once: a setting, a map's cell or axis, or internal; no list item by its number.
TEST(SetupDescription, EveryFieldOnceAndNoItemNumbers) {
    std::mt19937 random(26);
    for (int n = 0; n < 4; ++n) {
        EcuImage::Bytes bytes{};
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(n == 0 ? 0 : random());
        EcuImage image;
        image.replace(bytes);
        const SetupDescription d = describeSetup(image);
        std::multiset<std::pair<FieldId, std::size_t>> seen;
        for (const auto* lines : {&d.settings, &d.maps, &d.internal})
            for (const SetupLine& l : *lines) {
                seen.insert({l.field, l.element});
                EXPECT_EQ(l.value.rfind("item ", 0), std::string::npos) << placed(l);
                EXPECT_FALSE(l.caption.empty()) << placed(l);
            }
        // A mask with a control per bit has a line per control.
        const auto lines = [](FieldId id) -> std::size_t {
            return id == FieldId::CorrectionMapEnable ? kCorrectionMapCount
                   : id == FieldId::EnabledErrors     ? kEnabledErrorBoxCount
                                                      : 1;
        };
        for (std::size_t i = 0; i < fieldCount(); ++i)
            for (std::size_t e = 0; e < fieldAt(i).count; ++e)
                EXPECT_EQ(seen.count({fieldAt(i).id, e}), lines(fieldAt(i).id))
                    << fieldAt(i).name << " " << e;
        for (const FieldId internal :
             {FieldId::ImageValidMarker, FieldId::ReservedByte51, FieldId::ControllerPin})
            EXPECT_EQ(settingOf(d, internal), nullptr) << fieldDef(internal).name;
    }
}

TEST(SetupDescription, TheChosenLanguagesCaptionsAndItems) {
    LanguageFile language;
    language.entries = {{100002, "[F3]parametry"},
                        {100406, "czujnik temp. gazu"},
                        {100432, "TAK"},
                        {100601, "sterownik"}};
    const SetupTexts texts = setupTexts(language);
    EcuImage image;
    storeField(image, FieldId::EgtSensorOn, 1);
    const SetupDescription d = describeSetup(image, texts);
    EXPECT_EQ(placed(*settingOf(d, FieldId::GasTempSensorType)),
              "parametry |  | czujnik temp. gazu: 2k");
    EXPECT_EQ(placed(*settingOf(d, FieldId::EgtSensorOn)), "parametry |  | EGT sensor: TAK");
    EXPECT_EQ(settingOf(d, FieldId::AutoReturnToGas)->group, "sterownik");
    EXPECT_EQ(setupElementName(image, FieldId::GasTempSensorType, 0, texts),
              "parametry / czujnik temp. gazu");
}

std::uint16_t axisWord(AxisKind kind, const char* text, int rpmType) {
    return convertAxisText(kind, text, rpmType, '.', "cell").word.value_or(0);
}

struct CellCase {
    unsigned type;
    const char* row;     // row axis text at row 2
    const char* column;  // column axis text at column 3
    std::string expected;
};

// The main map's cell (row 2, column 3) by the axes of each map type, and the other grids'.
TEST(SetupDescription, MapCellsAreNamedByTheirAxisValues) {
    const std::vector<CellCase> cases = {
        {0, "0.9", "", "main map 0.9 bar x column 3"},
        {1, "0.9", "1500", "main map 0.9 bar x 1500 rpm"},
        {2, "1.2", "2.5", "main map 1.2 bar x 2.50 V"},
        {3, "0.4", "1.75", "main map 0.4 bar x 1.75 V"},
        {4, "3", "2500", "main map 3.00 V x 2500 rpm"},
        {9, "0.9", "1500", "main map row 2 x column 3"},
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(c.expected);
        EcuImage image;
        storeField(image, FieldId::MainMapType, c.type);
        if (const MapTypeDef* type = mapTypeDef(c.type)) {
            storeField(image, FieldId::MainMapRowAxis, axisWord(type->rows, c.row, 0), 1);
            storeField(image, FieldId::MainMapColumnAxis, axisWord(type->columns, c.column, 0), 2);
        }
        EXPECT_EQ(setupElementName(image, FieldId::MainMap, 8 + 2), c.expected);
    }
    EcuImage image;
    storeField(image, FieldId::EmuInputChannel, kInputChannelWords[4]);  // TDi1: milliseconds
    storeField(image, FieldId::TpsEmulatorAxis, static_cast<std::uint32_t>(InjTimeToRaw(3.5)), 2);
    EXPECT_EQ(setupElementName(image, FieldId::TpsEmulatorTable, kEmuColumns + 2),
              "TPS map K2 x 3.50 ms");
    EXPECT_EQ(setupElementName(image, FieldId::StepEmulatorTable, 4), "Step map K1 x 60");
    EXPECT_EQ(setupElementName(image, FieldId::CruiseMap, 0), "cruise map 1 bar (column 1)");
    EXPECT_EQ(setupElementName(image, FieldId::CruiseMap, 2), "cruise map 1.05 bar");
    EXPECT_EQ(setupElementName(image, FieldId::CorrectionMaps, 26),
              "correction maps [%] AirFlow cor. 0.50");
    EXPECT_EQ(setupElementName(image, FieldId::CorrectionMaps, 1),
              "correction maps [%] EGT cor. 171 (column 2)");
}

TEST(NumberPattern, TheEditorsPatterns) {
    const std::vector<std::tuple<double, const char*, std::string>> cases = {
        {1.499, "#0.0#", "1.5"}, {0.125, "#0.0#", "0.13"}, {2.675, "#0.0#", "2.68"},
        {2.0, "#0.0", "2.0"},    {0.0, "#0#", "00"},       {-0.2, "#0", "0"},
        {1500, "#0#", "1500"},   {-1.5, "#0", "-2"},
    };
    for (const auto& [value, pattern, expected] : cases)
        EXPECT_EQ(patternText(value, pattern), expected) << value << " " << pattern;
}

}  // namespace
}  // namespace kaldor
