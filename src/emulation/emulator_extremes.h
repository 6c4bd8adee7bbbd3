#pragma once
// The DNA emulator's measured range: the largest and smallest voltage seen on each of its two
// input channels while the controller reports measuring and the simple DNA group is shown.
// ButtonResetDnaMaxMin starts it again; "SET" turns the first channel's range into the axis.
#include <array>
#include <cstddef>
#include <string>

namespace kaldor {

class EmulatorExtremes {
public:
    static constexpr double kInitialMaximum = -1.0;
    static constexpr double kInitialMinimum = 20.0;

    // One measurement of both channels, in volts.
    void measure(double channel1, double channel2);
    void reset();

    // channel 0 (K1) or 1 (K2)
    [[nodiscard]] double maximum(int channel) const {
        return m_channels.at(static_cast<std::size_t>(channel)).maximum;
    }
    [[nodiscard]] double minimum(int channel) const {
        return m_channels.at(static_cast<std::size_t>(channel)).minimum;
    }
    // LabelDnaMaxMinK1 / K2: "K1 max: 3.831 | min: 1.915".
    [[nodiscard]] std::string text(int channel) const;

private:
    struct Range {
        double maximum = kInitialMaximum;
        double minimum = kInitialMinimum;
    };
    std::array<Range, 2> m_channels{};
};

}  // namespace kaldor
