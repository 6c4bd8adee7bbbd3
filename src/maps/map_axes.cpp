#include "maps/map_axes.h"

#include "model/fixed_text.h"
#include "model/number_text.h"
#include "model/units.h"

namespace kaldor {
namespace {

constexpr std::int64_t kWordMax = 0xFFFF;
constexpr int kAxisDecimals = 2;

std::optional<std::int64_t> converted(AxisKind kind, std::string_view text, int rpmSignalType,
                                      char decimalPoint, std::string& message) {
    if (kind == AxisKind::EngineSpeed) {
        const std::optional<std::int32_t> rpm = parseInteger(text);
        if (!rpm) {
            message = notAnIntegerMessage(text);
            return std::nullopt;
        }
        if (*rpm < 0)
            return -1;
        return RpmToPeriod(static_cast<std::uint32_t>(*rpm), rpmSignalType);
    }
    const std::optional<long double> t = parseNumber(text, decimalPoint);
    if (!t) {
        message = notANumberMessage(text);
        return std::nullopt;
    }
    switch (kind) {
        case AxisKind::Pressure:
            return AxisBarToMillibar(*t);
        case AxisKind::Throttle:
            return AxisTpsToCounts(*t);
        case AxisKind::AirFlow:
            return AxisAirFlowToCounts(*t);
        case AxisKind::ThrottleRow:
            return AxisTpsRowToCounts(*t);
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string axisText(AxisKind kind, std::uint16_t raw, int rpmSignalType, char decimalPoint) {
    switch (kind) {
        case AxisKind::Pressure:
            return generalText(MillibarToBar(raw), decimalPoint);
        case AxisKind::EngineSpeed:
            return std::to_string(PeriodToRpm(raw, rpmSignalType));
        case AxisKind::Throttle:
            return fixedText(AxisTpsFromCounts(raw), kAxisDecimals, decimalPoint);
        case AxisKind::AirFlow:
            return fixedText(AdcToVolts(raw), kAxisDecimals, decimalPoint);
        case AxisKind::ThrottleRow:
            return fixedText(AdcToTpsVolts(raw), kAxisDecimals, decimalPoint);
        case AxisKind::None:
            break;
    }
    return {};
}

AxisConversion convertAxisText(AxisKind kind, std::string_view text, int rpmSignalType,
                               char decimalPoint, const std::string& cell) {
    AxisConversion result;
    if (kind == AxisKind::None)
        return result;
    const std::optional<std::int64_t> value =
        converted(kind, text, rpmSignalType, decimalPoint, result.message);
    if (!value)
        return result;
    // A value that does not fit would be stored wrapped and mean something quite different.
    if (*value < 0 || *value > kWordMax) {
        result.message = "Axis value '" + std::string(text) + "' in " + cell + " is out of range";
        return result;
    }
    result.word = static_cast<std::uint16_t>(*value);
    return result;
}

}  // namespace kaldor
