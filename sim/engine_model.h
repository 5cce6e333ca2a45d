#pragma once

#include "files/drive_log.h"
#include "sim/ecu_config.h"
#include "sim/ecu_settings.h"
#include "sim/sim_random.h"

#include <array>
#include <cstdint>

namespace ecusim {

// One look at the running engine, in physical units.
struct EngineReading {
    double rpm = 0.0;                             // as the rpm input sees it
    std::array<double, kCylinders> injectionMs{}; // of the fuel each cylinder runs on; 0 where none
    uint8_t cylinderStatus = 0;                   // bit n-1: cylinder n injects
    double lambda = 0.0;                          // sensor counts; 120 is the lean/rich threshold
    double gasPressureBar = 0.0;
};

// An engine at idle: speed with noise, petrol times near the configured one, gas times from the base
// correction and the map point of the current speed, a lambda swinging across its threshold, a steady
// reducer pressure, and a reducer that warms towards its working temperature. Noise is drawn only when a
// reading is taken, so a run depends only on its seed and on when readings are taken.
class EngineModel {
public:
    static constexpr double kWarmTemperatureC = 75.0;
    static constexpr double kWarmUpSeconds = 60.0; // time constant of the reducer's warm-up
    static constexpr double kLambdaSwingSeconds = 1.0;
    static constexpr double kLambdaThreshold = 120.0;
    static constexpr double kGasPressureBar = 1.2;

    explicit EngineModel(const EcuConfig& config);

    EngineReading read(int64_t nowUs, const EcuSettings& settings, const FuelState& fuel);
    // A line of a recorded drive as the host will show it again: speed, cylinder 1's injection time,
    // gas pressure and lambda as recorded; the other cylinders follow cylinder 1 with their spread.
    EngineReading recorded(const drive_log::Line& line, const EcuSettings& settings) const;
    double reducerTemperatureC(int64_t nowUs) const;
    uint8_t cylinders() const { return CylinderMask(config.slavePresent); }

    // Noise-free times, for the calibration's target and the tests.
    double petrolMs(int cylinder) const;
    double gasMs(int cylinder, const EcuSettings& settings, double rpm) const;
    // The map point in use at an engine speed as the ECU computes it (500 rpm per point).
    static int MapIndex(double ecuRpm);

private:
    double rpmAt(int64_t nowUs);
    double lambdaAt(int64_t nowUs);

    EcuConfig config;
    SimRandom random;
};

} // namespace ecusim
