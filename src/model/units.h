#pragma once
// Conversions between the controller's raw integers and the engineering values the controls
// show. Storing multiplies at 80-bit extended precision and truncates toward zero; showing
// multiplies by a different, approximate constant. The operand order and the precision of every
// step matter: the controller was set up with exactly these numbers, so a stored value must come
// out bit for bit the same.
#include <cstdint>
#include <limits>

namespace kaldor {

static_assert(std::numeric_limits<long double>::digits == 64,
              "conversions need the 80-bit extended type (64-bit mantissa)");

// Showing constants: volts per converter count (close to, not equal to, 5/4096) and the
// throttle inputs' divider (close to 1/0.3185). Double constants; products are formed at
// extended precision where a conversion says so.
inline constexpr double kVoltsPerCount = 0.00122;
inline constexpr double kTpsInputDivider = 3.14;

// Codes of the rpm signal type byte; 0..19 are offered in the list, 20..24 have no item.
constexpr int kRpmSignalTypeCount = 25;

// Truncation toward zero that saturates instead of overflowing; NaN gives 0.
[[nodiscard]] std::int64_t truncateToInt(long double x);

// Storing (control value -> raw).
[[nodiscard]] std::int64_t VoltsToAdc(double volts);
[[nodiscard]] std::int64_t TpsVoltsToAdc(double volts);
[[nodiscard]] std::int64_t BarToMillibar(double bar);
[[nodiscard]] std::int64_t SecondsToCentiseconds(double seconds);
[[nodiscard]] std::int64_t InjTimeToRaw(double ms);
[[nodiscard]] std::int64_t EnrichmentToRaw(double percent);
[[nodiscard]] std::int64_t RpmThresholdToRaw(double volts);
[[nodiscard]] std::int64_t PlainToRaw(double value);
// Pulse period in 4.34 us ticks for an engine speed. The result may exceed 65535 (slow engine,
// few pulses per cycle); use periodForField() when it goes into a 16-bit field.
[[nodiscard]] std::uint32_t RpmToPeriod(std::uint32_t rpm, int signalType);
// A period bound for a 16-bit field: longer periods are clamped to 65535 (which reads back as
// 0 rpm) instead of wrapping into a short period that would mean a very high engine speed.
[[nodiscard]] std::uint16_t periodForField(std::uint32_t period);

// The main map's axis words from the grid's texts. The texts are parsed at extended precision, as
// the runtime's text-to-number conversion does, so 0.95 bar stores 950 millibar and not 949.
[[nodiscard]] std::int64_t AxisBarToMillibar(long double bar);
// Throttle signal columns: trunc((t * 0.3185) * 819.2), in that order.
[[nodiscard]] std::int64_t AxisTpsToCounts(long double volts);
[[nodiscard]] std::int64_t AxisAirFlowToCounts(long double volts);
// Throttle signal rows (map type 4): trunc(t * 260.9152).
[[nodiscard]] std::int64_t AxisTpsRowToCounts(long double volts);
// The emulator map's axis over a volt input: one count above the truncated product, unlike every
// other volt conversion. Throttle-divided inputs trunc(t * 819.2 * 0.3185 + 1), plain ones
// trunc(t * 819.2 + 1).
[[nodiscard]] std::int64_t EmuAxisTpsVoltsToCounts(long double volts);
[[nodiscard]] std::int64_t EmuAxisVoltsToCounts(long double volts);

// Showing (raw -> control value).
[[nodiscard]] double AdcToVolts(long raw);
[[nodiscard]] double AdcToTpsVolts(long raw);
[[nodiscard]] double MillibarToBar(long raw);
[[nodiscard]] double CentisecondsToSeconds(long raw);
[[nodiscard]] double RawToInjTime(long raw);
[[nodiscard]] double RpmThresholdFromRaw(long raw);
[[nodiscard]] std::int64_t PeriodToRpm(std::uint32_t period, int signalType);
// The main map's throttle signal columns as the grid shows them: counts * 0.0038308.
[[nodiscard]] double AxisTpsFromCounts(long raw);
// The emulator map's throttle-divided axis as its grid shows it: (counts * 0.00122) * 3.14, the
// other order than AdcToTpsVolts.
[[nodiscard]] double EmuAxisTpsVoltsFromCounts(long raw);

// A 16-bit field holds a negative raw value (only the main offset can be negative) as its two's
// complement; larger magnitudes are clamped to what the field can hold.
[[nodiscard]] std::uint16_t toWordField(std::int64_t raw);
[[nodiscard]] std::int16_t fromSignedWord(std::uint16_t word);

}  // namespace kaldor
