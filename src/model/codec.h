#pragma once
// One codec per encoding of the field table: what a control shows for a raw value, and the raw
// value a shown value stores. Both directions of every conversion are chosen here, so the refresh
// and the edit of a control always agree on the constants, the truncation and the field's width.
//
// A shown value is what the control holds: the number of a spin editor, the item index of a list
// (-1: no item), 1 or 0 for a ticked or unticked check box.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

// What the control of a field shows; nothing when the control is to be left as it is (a cut-off
// level under a mode without a unit, an input channel the list does not offer).
[[nodiscard]] std::optional<double> shownValue(const EcuImage& image, FieldId id,
                                               std::size_t element = 0);

// The raw value a shown value stores, fitted to the field (a negative time as its two's
// complement, a period clamped to 16 bits, a list index masked to the bit field by the store).
// Nothing when nothing may be stored: no list item chosen, or no unit for the current mode.
[[nodiscard]] std::optional<std::uint32_t> rawValue(const EcuImage& image, FieldId id,
                                                    double shown);

// Converts and stores; false when nothing was stored.
bool storeShown(EcuImage& image, FieldId id, double shown, std::size_t element = 0);

// Codes of the emulator input channel list, in item order: "TPS", "AIR FLOW", "K1 Sig",
// "K2 Sig", "TDi1", "TDi2" (live-record word indexes).
inline constexpr std::uint8_t kInputChannelWords[] = {4, 5, 9, 10, 72, 74};

// The items of every one-bit "OFF" / "ON" list.
inline constexpr std::array<std::string_view, 2> kOffOnItems{"OFF", "ON"};

// Gas switch-on temperature list: item 0 is 20 degrees.
inline constexpr int kOnTemperatureFirst = 20;
inline constexpr int kOnTemperatureLast = 60;
// Maximum exhaust-gas temperature list: 0.1 V a step, 81 converter counts a step.
inline constexpr int kEgtMaxLevelStep = 81;

}  // namespace kaldor
