// A diesel engine with a dual-fuel kit, as the controller sees it through its sensors.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "protocol.h"

namespace kaldor::sim {

// Fuel mode as reported in bits 7-8 of live word 39.
enum class FuelMode : std::uint8_t { Diesel = 0, Auto = 1, Propane = 2, Error = 3 };

using LiveRecord = std::array<std::uint16_t, kLiveWords>;
using CalibrationData = std::array<std::uint8_t, kCalibrationWords * 2>;

// The parameters the engine model obeys, taken from the controller's parameter memory whenever
// the model advances, so that a write from the PC takes effect at once.
struct EngineSettings {
    unsigned rpmSignalType = 0;            // byte 125
    int onTemperature = 35;                // byte 23, degC
    std::uint16_t onRpmPeriod = 0;         // word 181; 0 means "any speed"
    double onDelaySeconds = 2.0;           // word 169, centiseconds
    std::uint16_t workingPressure = 1024;  // word 178, millibar above the manifold
    std::array<std::uint16_t, 4> levelPoints{98, 180, 245, 286};  // words 187-190, E .. 3/4
    std::array<std::uint16_t, 8> columnAxis{};  // words 245-252, rpm periods of the main map
};

[[nodiscard]] EngineSettings settingsFromImage(const std::uint8_t* image, std::size_t size);

// Runs a repeating drive cycle (idle, acceleration, cruise, full load, overrun, idle) on
// simulated seconds. Temperatures warm up from cold, the fuel mode follows the selected mode,
// work-time counters and the tank level move with the fuel burnt, and the calibration tables
// learn the cells the engine runs in. Deterministic: the same sequence of advanceTo calls gives
// the same records.
class EngineModel {
public:
    EngineModel(std::uint32_t dieselSeconds, std::uint32_t gasSeconds);

    void selectMode(FuelMode mode);
    [[nodiscard]] FuelMode selectedMode() const { return m_selected; }
    // What the controller reports: the selected mode, except that automatic reads as propane
    // while the engine actually runs on gas.
    [[nodiscard]] FuelMode reportedMode() const;
    [[nodiscard]] bool onGas() const { return m_onGas; }

    // Moves the engine to simulated time `seconds`; earlier times are ignored.
    void advanceTo(double seconds, const EngineSettings& settings);
    [[nodiscard]] double time() const { return m_time; }
    [[nodiscard]] double rpm() const { return m_rpm; }
    [[nodiscard]] double reducerTemperature() const { return m_reducerTemp; }
    [[nodiscard]] std::uint32_t dieselSeconds() const;
    [[nodiscard]] std::uint32_t gasSeconds() const;

    // The live record apart from the calibration slice (words 12-18) and the error counter
    // (word 50), which belong to the controller around the engine.
    [[nodiscard]] LiveRecord record(const EngineSettings& settings) const;

    [[nodiscard]] const CalibrationData& calibration() const { return m_calibration; }
    void deleteDieselData();
    void deleteGasData();

private:
    void step(double dt, const EngineSettings& settings);
    void updateFuel(double dt, const EngineSettings& settings);
    void learn(double dt, const EngineSettings& settings);
    [[nodiscard]] std::size_t mapColumn(const EngineSettings& settings) const;
    [[nodiscard]] std::size_t pressureRow() const;
    [[nodiscard]] std::uint16_t period(const EngineSettings& settings) const;

    FuelMode m_selected = FuelMode::Auto;
    bool m_onGas = false;
    double m_time = 0.0;
    double m_conditionsHeld = 0.0;  // seconds the switch-over conditions have held
    double m_rpm = 0.0;
    double m_load = 0.0;
    double m_manifold = 1000.0;  // millibar absolute
    double m_gasFill = 0.0;      // 0..1, regulator pressure built up
    double m_reducerTemp = 0.0;
    double m_gasTemp = 0.0;
    double m_egt = 0.0;  // degC
    double m_levelCounts = 0.0;
    double m_dieselSeconds = 0.0;
    double m_gasSeconds = 0.0;
    double m_learnTimer = 0.0;
    CalibrationData m_calibration{};
};

}  // namespace kaldor::sim
