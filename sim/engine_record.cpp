// The live record: the engine's state as the controller's sensors and outputs report it.
#include "engine_model.h"

#include <algorithm>
#include <cmath>

#include "engine_tables.h"

namespace kaldor::sim {
using namespace engine;
namespace {

std::uint16_t signedWord(double value) {
    const double clamped = std::clamp(std::round(value), -32768.0, 32767.0);
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(clamped));
}

}  // namespace

LiveRecord EngineModel::record(const EngineSettings& settings) const {
    LiveRecord w{};
    const double t = m_time;
    const double gasPressure = m_manifold + settings.workingPressure * m_gasFill;
    w[0] = signedWord(m_reducerTemp);
    w[1] = signedWord(m_gasTemp);
    w[3] = m_onGas ? clampWord(30.0 + 180.0 * m_load) : 0;
    w[4] = tpsAdc(throttleVolts(m_load) + 0.01 * std::sin(t * 5.3));
    w[5] = adc(1.0 + 3.0 * m_load);
    w[6] = supplyAdc(14.1 + 0.05 * std::sin(t * 0.9));
    w[8] = clampWord(100.0 + 500.0 * m_load);
    w[9] = adc(1.2 + 2.5 * m_load);
    w[10] = tpsAdc(1.0 + 2.0 * m_load);
    if (m_onGas) {
        const auto k1 = static_cast<std::int8_t>(std::lround(10.0 * m_load));
        const auto k2 = static_cast<std::int8_t>(-std::lround(5.0 * m_load));
        w[19] = static_cast<std::uint16_t>(static_cast<std::uint8_t>(k1) |
                                           (static_cast<std::uint8_t>(k2) << 8));
    }
    w[21] = period(settings);
    w[24] = clampWord(gasPressure - m_manifold);
    w[26] = clampWord(m_levelCounts);
    w[27] = supplyAdc(13.9 + 0.05 * std::sin(t * 1.1));
    w[30] = adc(0.9 + 3.2 * m_load);
    w[31] = static_cast<std::uint16_t>((pressureRow() + 1) | ((mapColumn(settings) + 1) << 8));
    w[35] = static_cast<std::uint16_t>(((m_onGas ? 1u : 0u) | (m_onGas ? 0u : 4u)) << 8);
    w[36] = static_cast<std::uint16_t>(((m_onGas ? 2u : 0u) | 4u) << 8);
    w[39] = static_cast<std::uint16_t>(static_cast<unsigned>(reportedMode()) << 7);
    std::uint16_t level = 0;
    for (const std::uint16_t point : settings.levelPoints) {
        if (w[26] >= point) {
            ++level;
        }
    }
    w[49] = level;
    if (m_onGas) {
        w[51] = signedWord(m_egt > 550.0 ? -(m_egt - 550.0) * 0.5 : 0.0);
        w[52] = signedWord((m_load - 0.5) * 20.0);
        w[53] = signedWord((20.0 - m_gasTemp) * 3.0);
        w[55] = signedWord((static_cast<double>(settings.workingPressure) - w[24]) / 10.0);
        w[56] = signedWord(std::max(0.0, 60.0 - m_reducerTemp) * 2.0);
        w[57] = signedWord((m_manifold - 1000.0) / 50.0);
    }
    const double phase = std::fmod(t, kCycleLength);
    std::uint16_t flags = 0;
    for (const FlagPhase& f : kFlagPhases) {
        if (phase >= f.from && phase < f.to) {
            flags = static_cast<std::uint16_t>(flags | f.bit);
        }
    }
    w[65] = flags;
    w[68] = clampWord(m_rpm / 30.0);
    w[69] = w[68];
    w[72] = injectionTicks(dieselInjectionMs(m_load));
    w[73] = injectionTicks(dieselInjectionMs(m_load) * (m_onGas ? 0.7 : 1.0));
    w[74] = w[72];
    w[75] = w[73];
    w[78] = clampWord(gasPressure);
    w[79] = clampWord(m_manifold);
    w[80] = adc(m_egt / kEgtPerVolt);
    w[86] = clampWord(4800.0 + 40.0 * std::sin(t * 1.3));
    const std::uint32_t diesel = dieselSeconds();
    const std::uint32_t gas = gasSeconds();
    w[88] = static_cast<std::uint16_t>(diesel & 0xFFFF);
    w[89] = static_cast<std::uint16_t>(diesel >> 16);
    w[90] = static_cast<std::uint16_t>(gas & 0xFFFF);
    w[91] = static_cast<std::uint16_t>(gas >> 16);
    return w;
}

}  // namespace kaldor::sim
