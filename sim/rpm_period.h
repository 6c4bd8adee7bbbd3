// The engine-speed period the controller measures, in 4.34 us ticks between two rpm pulses.
#pragma once

#include <cstdint>

namespace kaldor::sim {

inline constexpr unsigned kRpmSignalTypeCount = 25;

// Period for `rpm` with rpm signal type `signalType` (parameter byte 125), computed the way the
// PC computes its stored periods (80-bit intermediates, rounded through single precision), so
// that a period the controller reports reads back as the rpm it was made from. 0 rpm counts as
// 200 rpm; other speeds are taken down to a multiple of 25. A type above 24 gives 0.
[[nodiscard]] std::uint32_t rpmToPeriod(std::uint32_t rpm, unsigned signalType);

}  // namespace kaldor::sim
