#include "engine_model.h"

#include <algorithm>
#include <cmath>

#include "engine_tables.h"
#include "rpm_period.h"

namespace kaldor::sim {
using namespace engine;
namespace {

constexpr double kAmbient = 12.0;
constexpr double kReducerHot = 78.0;
constexpr double kReducerTau = 90.0;
constexpr double kGasHot = 32.0;
constexpr double kGasTau = 240.0;
constexpr double kManifoldTau = 1.0;
constexpr double kEgtTau = 6.0;
constexpr double kGasFillTau = 0.8;
constexpr double kGasDecayTau = 30.0;
constexpr double kMaxStep = 0.05;
constexpr int kMaxSteps = 20000;  // bounds the work of one advance after a long pause

constexpr double kTankFull = 330.0;       // level sensor ADC counts
constexpr double kTankEmptyMargin = 8.0;  // below level point E by this much: refill
constexpr double kGasSecondsPerTank = 900.0;

constexpr double kLearnInterval = 0.5;
constexpr std::size_t kSeries1 = 0;
constexpr std::size_t kSeries2 = 128;
constexpr std::size_t kDieselTable = 256;
constexpr std::size_t kGasTable = 384;
constexpr std::size_t kCorrectionTable = 512;
constexpr double kSeriesStep = 62.5;  // millibar per chart point

double follow(double current, double target, double dt, double tau) {
    return target + (current - target) * std::exp(-dt / tau);
}

std::uint16_t readWord(const CalibrationData& data, std::size_t byteOffset) {
    return static_cast<std::uint16_t>(data[byteOffset] | (data[byteOffset + 1] << 8));
}

void writeWord(CalibrationData& data, std::size_t byteOffset, std::uint16_t value) {
    data[byteOffset] = static_cast<std::uint8_t>(value & 0xFF);
    data[byteOffset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Moves a learnt value a quarter of the way to its target, at least one step.
int approach(int current, int target) {
    if (current == target) {
        return current;
    }
    const int delta = (target - current) / 4;
    return current + (delta != 0 ? delta : (target > current ? 1 : -1));
}

std::uint8_t dieselCellValue(double load, std::size_t column) {
    return static_cast<std::uint8_t>(std::clamp(30.0 + 150.0 * load + 5.0 * column, 1.0, 255.0));
}

std::uint8_t gasCellValue(std::uint8_t diesel) {
    return static_cast<std::uint8_t>(std::min(255.0, diesel * 1.1 + 2.0));
}

double loadForManifold(double millibar) {
    return std::clamp((millibar - 1000.0) / 1200.0, 0.0, 1.0);
}

}  // namespace

EngineSettings settingsFromImage(const std::uint8_t* image, std::size_t size) {
    EngineSettings s;
    if (image == nullptr || size < kImageSize) {
        return s;
    }
    auto word = [image](std::size_t index) {
        return static_cast<std::uint16_t>(image[2 * index] | (image[2 * index + 1] << 8));
    };
    s.rpmSignalType = image[125];
    s.onTemperature = image[23];
    s.onRpmPeriod = word(181);
    s.onDelaySeconds = word(169) / 100.0;
    s.workingPressure = word(178);
    for (std::size_t i = 0; i < s.levelPoints.size(); ++i) {
        s.levelPoints[i] = word(187 + i);
    }
    for (std::size_t i = 0; i < s.columnAxis.size(); ++i) {
        s.columnAxis[i] = word(245 + i);
    }
    return s;
}

EngineModel::EngineModel(std::uint32_t dieselSeconds, std::uint32_t gasSeconds)
    : m_rpm(kDriveCycle[0].rpm),
      m_load(kDriveCycle[0].load),
      m_reducerTemp(kAmbient),
      m_gasTemp(kAmbient),
      m_egt(kAmbient),
      m_levelCounts(kTankFull),
      m_dieselSeconds(dieselSeconds),
      m_gasSeconds(gasSeconds) {
    // What a controller that has run on this engine before has already learnt: the cells and
    // chart points around cruise and moderate load.
    for (std::size_t row = 3; row <= 9; ++row) {
        const double load = loadForManifold(256.0 * row + 128.0);
        for (std::size_t col = 0; col < 7; ++col) {
            const std::uint8_t d = dieselCellValue(load, col);
            const std::uint8_t g = gasCellValue(d);
            m_calibration[kDieselTable + 8 * row + col] = d;
            m_calibration[kGasTable + 8 * row + col] = g;
            m_calibration[kCorrectionTable + 8 * row + col] = static_cast<std::uint8_t>(g - d);
        }
    }
    for (std::size_t i = 16; i <= 36; ++i) {
        const std::uint16_t tps = tpsAdc(throttleVolts(loadForManifold(i * kSeriesStep)));
        writeWord(m_calibration, kSeries1 + 2 * i, tps);
        writeWord(m_calibration, kSeries2 + 2 * i, static_cast<std::uint16_t>(tps * 0.96));
    }
}

void EngineModel::selectMode(FuelMode mode) {
    if (mode == FuelMode::Error) {
        return;
    }
    m_selected = mode;
    m_conditionsHeld = 0.0;
    m_onGas = mode == FuelMode::Propane;
}

FuelMode EngineModel::reportedMode() const {
    if (m_selected == FuelMode::Auto && m_onGas) {
        return FuelMode::Propane;
    }
    return m_selected;
}

std::uint32_t EngineModel::dieselSeconds() const {
    return static_cast<std::uint32_t>(std::min(m_dieselSeconds, 4294967295.0));
}

std::uint32_t EngineModel::gasSeconds() const {
    return static_cast<std::uint32_t>(std::min(m_gasSeconds, 4294967295.0));
}

void EngineModel::advanceTo(double seconds, const EngineSettings& settings) {
    if (!(seconds > m_time)) {
        return;
    }
    const double gap = seconds - m_time;
    const int steps =
        static_cast<int>(std::min(std::ceil(gap / kMaxStep), static_cast<double>(kMaxSteps)));
    const double dt = gap / std::max(steps, 1);
    for (int i = 0; i < steps; ++i) {
        m_time += dt;
        step(dt, settings);
    }
    m_time = seconds;
}

void EngineModel::step(double dt, const EngineSettings& settings) {
    const double phase = std::fmod(m_time, kCycleLength);
    const DrivePoint* next =
        std::upper_bound(std::begin(kDriveCycle), std::end(kDriveCycle), phase,
                         [](double t, const DrivePoint& p) { return t < p.time; });
    if (next == std::end(kDriveCycle)) {
        next = std::end(kDriveCycle) - 1;
    }
    const DrivePoint* prev = next == std::begin(kDriveCycle) ? next : next - 1;
    const double span = next->time - prev->time;
    const double f = span > 0.0 ? std::clamp((phase - prev->time) / span, 0.0, 1.0) : 0.0;
    m_rpm = prev->rpm + (next->rpm - prev->rpm) * f + 12.0 * std::sin(m_time * 1.7);
    m_load = std::clamp(prev->load + (next->load - prev->load) * f, 0.0, 1.0);

    m_manifold = follow(m_manifold, 1000.0 + 1200.0 * m_load, dt, kManifoldTau);
    m_egt = follow(m_egt, 180.0 + 470.0 * m_load, dt, kEgtTau);
    m_reducerTemp = follow(m_reducerTemp, kReducerHot, dt, kReducerTau);
    m_gasTemp = follow(m_gasTemp, kGasHot, dt, kGasTau);
    updateFuel(dt, settings);
    m_gasFill = m_onGas ? follow(m_gasFill, 1.0, dt, kGasFillTau)
                        : follow(m_gasFill, 0.0, dt, kGasDecayTau);
    learn(dt, settings);
}

void EngineModel::updateFuel(double dt, const EngineSettings& settings) {
    if (m_selected == FuelMode::Auto) {
        const std::uint16_t p = period(settings);
        const bool fastEnough = settings.onRpmPeriod == 0 || (p != 0 && p <= settings.onRpmPeriod);
        const bool warm = m_reducerTemp >= settings.onTemperature;
        if (fastEnough && warm) {
            m_conditionsHeld += dt;
            if (m_conditionsHeld >= settings.onDelaySeconds) {
                m_onGas = true;
            }
        } else {
            m_conditionsHeld = 0.0;
            m_onGas = false;
        }
    }
    if (m_onGas) {
        m_gasSeconds += dt;
        m_levelCounts -= dt * (kTankFull - settings.levelPoints[0]) / kGasSecondsPerTank;
        if (m_levelCounts < settings.levelPoints[0] - kTankEmptyMargin) {
            m_levelCounts = kTankFull;  // the driver has filled up
        }
    } else {
        m_dieselSeconds += dt;
    }
}

void EngineModel::learn(double dt, const EngineSettings& settings) {
    m_learnTimer += dt;
    if (m_learnTimer < kLearnInterval) {
        return;
    }
    m_learnTimer = 0.0;
    const std::size_t point =
        std::min<std::size_t>(63, static_cast<std::size_t>(m_manifold / kSeriesStep));
    const std::size_t seriesOffset = (m_onGas ? kSeries2 : kSeries1) + 2 * point;
    const int tps = tpsAdc(throttleVolts(m_load));
    writeWord(m_calibration, seriesOffset,
              static_cast<std::uint16_t>(approach(readWord(m_calibration, seriesOffset), tps)));

    const std::size_t column = mapColumn(settings);
    const std::size_t cell = 8 * pressureRow() + column;
    const std::uint8_t dieselTarget = dieselCellValue(m_load, column);
    std::uint8_t& learnt = m_calibration[(m_onGas ? kGasTable : kDieselTable) + cell];
    learnt = static_cast<std::uint8_t>(
        approach(learnt, m_onGas ? gasCellValue(dieselTarget) : dieselTarget));
    const int d = m_calibration[kDieselTable + cell];
    const int g = m_calibration[kGasTable + cell];
    if (d != 0 && g != 0) {
        m_calibration[kCorrectionTable + cell] =
            static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp(g - d, -128, 127)));
    }
}

void EngineModel::deleteDieselData() {
    std::fill(m_calibration.begin() + kSeries1, m_calibration.begin() + kSeries2, 0);
    std::fill(m_calibration.begin() + kDieselTable, m_calibration.begin() + kGasTable, 0);
}

void EngineModel::deleteGasData() {
    std::fill(m_calibration.begin() + kSeries2, m_calibration.begin() + kDieselTable, 0);
    std::fill(m_calibration.begin() + kGasTable, m_calibration.begin() + kCorrectionTable, 0);
}

std::uint16_t EngineModel::period(const EngineSettings& settings) const {
    const double rpm = std::max(m_rpm, 0.0);
    return clampWord(rpmToPeriod(static_cast<std::uint32_t>(rpm), settings.rpmSignalType));
}

std::size_t EngineModel::mapColumn(const EngineSettings& settings) const {
    const std::uint16_t p = period(settings);
    std::size_t column = 0;
    for (std::size_t c = 0; c < settings.columnAxis.size(); ++c) {
        if (p != 0 && p <= settings.columnAxis[c]) {
            column = c;
        }
    }
    return column;
}

std::size_t EngineModel::pressureRow() const {
    return std::min<std::size_t>(15, static_cast<std::size_t>(std::max(m_manifold, 0.0) / 256.0));
}

}  // namespace kaldor::sim
