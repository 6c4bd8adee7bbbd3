#pragma once
// The pause before the writes of a use-case that sends many fields: "load to ECU", "RESET ECU" and
// "LoadMap" stop the live polling, then wait this long so a live reply still on its way has
// arrived before their first write.
namespace kaldor {

inline constexpr int kWriteSettleMs = 250;

}  // namespace kaldor
