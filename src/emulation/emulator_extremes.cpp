#include "emulation/emulator_extremes.h"

#include "model/fixed_text.h"

namespace kaldor {
namespace {

constexpr int kDecimals = 3;

}  // namespace

void EmulatorExtremes::measure(double channel1, double channel2) {
    const double volts[] = {channel1, channel2};
    for (std::size_t i = 0; i < m_channels.size(); ++i) {
        Range& r = m_channels[i];
        if (volts[i] > r.maximum)
            r.maximum = volts[i];
        if (volts[i] < r.minimum)
            r.minimum = volts[i];
    }
}

void EmulatorExtremes::reset() {
    m_channels = {};
}

std::string EmulatorExtremes::text(int channel) const {
    const Range& r = m_channels.at(static_cast<std::size_t>(channel));
    return "K" + std::to_string(channel + 1) + " max: " + fixedText(r.maximum, kDecimals) +
           " | min: " + fixedText(r.minimum, kDecimals);
}

}  // namespace kaldor
