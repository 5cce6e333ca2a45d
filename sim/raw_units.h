#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// The raw units of the ECU's reports, chosen so that the host's decoding shows the physical values:
// injection raw x 0.4 gives 0.01 ms, rpm = 3,000,000 / (period / 10) / divider, pressure counts of
// 0.0044803225806451605 bar, temperature in 0.01 degrees.
namespace ecusim::raw {

inline constexpr double kPressureBarPerCount = 0.0044803225806451605;
inline constexpr double kBaseCorrectionStepMs = 4.08 / 127.0;
inline constexpr double kMapStepMs = 0.032;
inline constexpr uint16_t kNoPeriod = 0xFFFF; // engine stopped

inline uint16_t ClampU16(double value) {
    return static_cast<uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

inline uint16_t InjectionFromMs(double ms) {
    return ClampU16(ms * 250.0);
}

// The period field for an engine speed as measured on the rpm input.
inline uint16_t PeriodFromRpm(double rpm) {
    return rpm <= 0.0 ? kNoPeriod : ClampU16(30'000'000.0 / rpm);
}

inline uint16_t PressureFromBar(double bar) {
    return ClampU16(bar / kPressureBarPerCount);
}

inline int16_t TemperatureFromC(double celsius) {
    return static_cast<int16_t>(std::clamp(std::lround(celsius * 100.0), -32768L, 32767L));
}

} // namespace ecusim::raw
