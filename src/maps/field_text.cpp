#include "maps/field_text.h"

#include <array>
#include <optional>
#include <string_view>

#include "maps/correction_maps.h"
#include "maps/main_map.h"
#include "maps/map_axes.h"
#include "model/codec.h"
#include "model/fixed_text.h"

namespace kaldor {
namespace {

// How the value of each encoding is written out.
enum class Style : std::uint8_t {
    Number,       // the codec's number with `decimals` and `unit`
    ListItem,     // a position in a list
    Temperature,  // the switch-on temperature list, whose items are the degrees themselves
    OnOff,        // a check box
    Pin,          // never shown, only whether one is set
    Raw,          // maps, tables and axes: by the field
};

struct EncodingFormat {
    Encoding encoding;
    Style style;
    int decimals;  // enough that one raw step always changes the text
    const char* unit;
};

constexpr std::array<EncodingFormat, 20> kFormats{{
    {Encoding::Plain, Style::Number, 0, ""},
    {Encoding::Index, Style::ListItem, 0, ""},
    {Encoding::IndexPlus1, Style::ListItem, 0, ""},
    {Encoding::IndexPlus20, Style::Temperature, 0,
     " \xC2\xB0"
     "C"},
    {Encoding::IndexTimes10, Style::ListItem, 0, ""},
    {Encoding::IndexTimes81, Style::ListItem, 0, ""},
    {Encoding::Flag, Style::OnOff, 0, ""},
    {Encoding::InverseFlag, Style::OnOff, 0, ""},
    {Encoding::Volts, Style::Number, 3, " V"},
    {Encoding::TpsVolts, Style::Number, 3, " V"},
    {Encoding::CutOffLevel, Style::Number, 3, " V"},
    {Encoding::Millibar, Style::Number, 3, " bar"},
    {Encoding::Centiseconds, Style::Number, 2, " s"},
    {Encoding::InjectionTime, Style::Number, 3, " ms"},
    {Encoding::Period, Style::Number, 0, " rpm"},
    {Encoding::Enrichment, Style::Number, 1, " %"},
    {Encoding::RpmThreshold, Style::Number, 3, " V"},
    {Encoding::InputChannel, Style::ListItem, 0, ""},
    {Encoding::Pin, Style::Pin, 0, ""},
    {Encoding::Raw, Style::Raw, 0, ""},
}};

constexpr bool formatsInOrder() {
    for (std::size_t i = 0; i < kFormats.size(); ++i)
        if (static_cast<std::size_t>(kFormats[i].encoding) != i)
            return false;
    return static_cast<std::size_t>(Encoding::Raw) + 1 == kFormats.size();
}
static_assert(formatsInOrder(), "one format per encoding, in Encoding order");

// What each correction map corrects for, in the order of the maps.
constexpr std::array<const char*, kCorrectionMapCount> kCorrectionMapNames{{
    "EGT",
    "air flow",
    "gas temperature",
    "manifold pressure",
    "gas pressure",
    "reducer temperature",
    "differential pressure",
}};

// The two emulator tables: rows K1 and K2 of twelve columns.
constexpr std::size_t kEmulatorTableColumns = 12;
constexpr std::array<const char*, 2> kEmulatorRows{{"K1", "K2"}};

std::string number(std::size_t n) {
    return std::to_string(n);
}

// The units are written with the blank that parts them from the number.
std::string unitName(std::string_view unit) {
    return std::string(unit.empty() ? unit : unit.substr(1));
}

ShownField withUnit(double value, int decimals, const char* unit) {
    return {fixedText(value, decimals, '.'), unitName(unit)};
}

const char* axisUnit(AxisKind kind) {
    switch (kind) {
        case AxisKind::Pressure:
            return " bar";
        case AxisKind::EngineSpeed:
            return " rpm";
        case AxisKind::Throttle:
        case AxisKind::AirFlow:
        case AxisKind::ThrottleRow:
            return " V";
        case AxisKind::None:
            break;
    }
    return "";
}

// The main map's axes read by the image's own map type, as the grid shows them.
std::optional<ShownField> axisValueText(const EcuImage& image, FieldId id, std::uint32_t raw) {
    const MapTypeDef* type = mapTypeDef(readField(image, FieldId::MainMapType));
    if (type == nullptr)
        return std::nullopt;
    const AxisKind kind = id == FieldId::MainMapColumnAxis ? type->columns : type->rows;
    const std::string text =
        axisText(kind, static_cast<std::uint16_t>(raw),
                 static_cast<int>(readField(image, FieldId::RpmSignalType)), '.');
    if (text.empty())
        return std::nullopt;
    return ShownField{text, unitName(axisUnit(kind))};
}

// A mask of bits, most significant first, so each monitored error or enabled map is one digit.
std::string bitsText(std::uint32_t raw, unsigned width) {
    std::string text;
    for (unsigned bit = width; bit-- > 0;)
        text += (raw >> bit) & 1u ? '1' : '0';
    return text;
}

ShownField rawText(const EcuImage& image, const FieldDef& def, std::size_t element) {
    const std::uint32_t raw = readField(image, def.id, element);
    switch (def.id) {
        case FieldId::MainMapColumnAxis:
        case FieldId::MainMapRowAxis:
            if (auto text = axisValueText(image, def.id, raw))
                return *text;
            break;
        case FieldId::CorrectionMaps:
        case FieldId::StepEmulatorTable:
        case FieldId::TpsEmulatorTable:
            // Signed percentages, as their grids show them.
            return {std::to_string(static_cast<std::int8_t>(raw & 0xFF)), "%"};
        case FieldId::CorrectionMapEnable:
            return {bitsText(raw, def.width), ""};
        case FieldId::EnabledErrors:
            return {bitsText(raw, def.width), ""};
        default:
            break;
    }
    return {std::to_string(raw), ""};
}

}  // namespace

std::string fieldElementName(FieldId id, std::size_t element) {
    const FieldDef& def = fieldDef(id);
    const std::string name(def.name);
    if (def.count <= 1)
        return name;
    switch (id) {
        case FieldId::MainMap: {
            const auto columns = static_cast<std::size_t>(kMainMapColumns);
            return name + " row " + number(element / columns + 1) + " column " +
                   number(element % columns + 1);
        }
        case FieldId::StepEmulatorTable:
        case FieldId::TpsEmulatorTable: {
            const std::size_t row = element / kEmulatorTableColumns;
            if (row >= kEmulatorRows.size())
                break;
            return name + " row " + kEmulatorRows[row] + " column " +
                   number(element % kEmulatorTableColumns + 1);
        }
        case FieldId::CorrectionMaps:
            for (std::size_t m = 0; m < correctionMaps().size(); ++m) {
                const CorrectionMapDef& map = correctionMaps()[m];
                const auto columns = static_cast<std::size_t>(map.columns);
                if (element >= map.firstByte && element < map.firstByte + columns)
                    return name + " " + kCorrectionMapNames[m] + " column " +
                           number(element - map.firstByte + 1);
            }
            break;
        case FieldId::MainMapRowAxis:
            return name + " row " + number(element + 1);
        case FieldId::CruiseMap:
        case FieldId::TpsEmulatorAxis:
        case FieldId::MainMapColumnAxis:
            return name + " column " + number(element + 1);
        case FieldId::ReservedTail:
            return name + " word " + number(sentWordIndex(def, element));
        default:
            break;
    }
    return name + " element " + number(element + 1);
}

std::string fieldValueText(const EcuImage& image, FieldId id, std::size_t element) {
    const ShownField shown = fieldShown(image, id, element);
    return shown.unit.empty() ? shown.value : shown.value + " " + shown.unit;
}

ShownField fieldShown(const EcuImage& image, FieldId id, std::size_t element) {
    const FieldDef& def = fieldDef(id);
    const EncodingFormat& format = kFormats[static_cast<std::size_t>(def.encoding)];
    if (format.style == Style::Raw)
        return rawText(image, def, element);
    if (format.style == Style::Pin)
        return {readField(image, id, element) != 0 ? "set" : "none", ""};
    const std::optional<double> shown = shownValue(image, id, element);
    if (!shown)
        return {"raw " + std::to_string(readField(image, id, element)), ""};
    switch (format.style) {
        case Style::ListItem:
            // Counted from 1 as the installer counts the items of the list.
            return {*shown < 0 ? "no item" : "item " + withUnit(*shown + 1, 0, "").value, ""};
        case Style::Temperature:
            if (*shown < 0)
                return {"no item", ""};
            return withUnit(*shown + kOnTemperatureFirst, 0, format.unit);
        case Style::OnOff:
            return {*shown != 0 ? "on" : "off", ""};
        default:
            break;
    }
    return withUnit(*shown, format.decimals, format.unit);
}

}  // namespace kaldor
