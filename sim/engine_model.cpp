#include "sim/engine_model.h"

#include "sim/raw_units.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ecusim {

namespace {

// Injectors never match exactly; each cylinder's share of cylinder 1's petrol time.
constexpr std::array<double, kCylinders> kCylinderSpread{1.0,   1.012, 0.992, 1.016,
                                                         0.988, 1.004, 0.984, 1.008};
constexpr double kInjectionNoiseMs = 0.02;
constexpr double kRpmNoise = 8.0;
constexpr double kRpmWander = 12.0;
constexpr double kRpmWanderSeconds = 7.0;
constexpr double kLambdaSwing = 90.0;
constexpr double kLambdaNoise = 6.0;
constexpr double kPressureNoiseBar = 0.015;
constexpr uint64_t kEngineStream = 0x656E67696E65ull; // keeps the engine's noise apart from the faults'

double Seconds(int64_t us) {
    return static_cast<double>(us) / 1e6;
}

} // namespace

EngineModel::EngineModel(const EcuConfig& cfg) : config(cfg), random(cfg.seed ^ kEngineStream) {}

double EngineModel::reducerTemperatureC(int64_t nowUs) const {
    const double start = config.startTemperatureC;
    return kWarmTemperatureC - (kWarmTemperatureC - start) * std::exp(-Seconds(nowUs) / kWarmUpSeconds);
}

double EngineModel::petrolMs(int cylinder) const {
    return config.petrolMs * kCylinderSpread.at(cylinder);
}

int EngineModel::MapIndex(double ecuRpm) {
    return std::clamp(static_cast<int>(ecuRpm / 500.0) - 1, 0, kMapPoints - 1);
}

double EngineModel::gasMs(int cylinder, const EcuSettings& settings, double rpm) const {
    const double ecuRpm = rpm / std::max<int>(settings.rpmDivider, 1);
    const int step = settings.map[static_cast<std::size_t>(MapIndex(ecuRpm))] - kMapZero;
    const double gas = petrolMs(cylinder) + config.gasLagMs -
                       settings.baseCorrection * raw::kBaseCorrectionStepMs + step * raw::kMapStepMs;
    return std::max(gas, 0.0);
}

double EngineModel::rpmAt(int64_t nowUs) {
    const double wander = kRpmWander * std::sin(2.0 * std::numbers::pi * Seconds(nowUs) / kRpmWanderSeconds);
    return config.idleRpm + wander + random.spread(kRpmNoise);
}

double EngineModel::lambdaAt(int64_t nowUs) {
    const double swing =
        kLambdaSwing * std::sin(2.0 * std::numbers::pi * Seconds(nowUs) / kLambdaSwingSeconds);
    return std::max(kLambdaThreshold + swing + random.spread(kLambdaNoise), 0.0);
}

EngineReading EngineModel::read(int64_t nowUs, const EcuSettings& settings, const FuelState& fuel) {
    EngineReading reading;
    reading.rpm = rpmAt(nowUs);
    reading.cylinderStatus = cylinders();
    for (int n = 0; n < kCylinders; ++n) {
        if ((cylinders() >> n & 1) == 0)
            continue;
        const bool onPetrol = (fuel.injectorTestMask >> n & 1) != 0;
        const double base = onPetrol ? petrolMs(n) : gasMs(n, settings, reading.rpm);
        reading.injectionMs[static_cast<std::size_t>(n)] =
            std::max(base + random.spread(kInjectionNoiseMs), 0.0);
    }
    reading.lambda = lambdaAt(nowUs);
    reading.gasPressureBar = kGasPressureBar + random.spread(kPressureNoiseBar);
    return reading;
}

EngineReading EngineModel::recorded(const drive_log::Line& line, const EcuSettings& settings) const {
    EngineReading reading;
    reading.rpm = raw::RpmShownAs(line.rpm, settings.rpmDivider);
    reading.cylinderStatus = cylinders();
    // The host shows a word as word x 2 / 5 cut to whole 0.01 ms: the smallest word that gives the value.
    const double cylinderOneWord = (line.injection * 5.0 + 1.0) / 2.0;
    for (int n = 0; n < kCylinders; ++n) {
        if ((cylinders() >> n & 1) == 0)
            continue;
        const double word = n == 0 ? std::floor(cylinderOneWord) : cylinderOneWord * kCylinderSpread.at(n);
        reading.injectionMs[static_cast<std::size_t>(n)] = word / 250.0;
    }
    reading.lambda = line.lambda;
    reading.gasPressureBar = line.gasPressure * raw::kPressureBarPerCount;
    return reading;
}

} // namespace ecusim
