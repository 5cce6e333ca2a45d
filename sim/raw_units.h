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

// The host's reading of a period field: whole tenths of the word, 3,000,000 over that, over the divider;
// beyond 6552 tenths it shows a stopped engine.
inline constexpr uint32_t kHostRpmNumerator = 3'000'000;
inline constexpr uint32_t kHostMaxPeriod = 6552;

inline uint32_t HostRpm(uint32_t tenths, uint32_t divider) {
    return tenths == 0 || divider == 0 || tenths > kHostMaxPeriod ? 0 : kHostRpmNumerator / tenths / divider;
}

// An engine speed at the rpm input whose period field the host shows as the speed nearest to shown (0:
// stopped). At high speeds one step of the period is more than one rpm, so the nearest is all it gets.
inline double RpmShownAs(uint32_t shown, uint32_t divider) {
    divider = std::max<uint32_t>(divider, 1);
    const double target = static_cast<double>(shown) * divider;
    if (shown == 0)
        return 0.0;
    const uint32_t longer = std::max<uint32_t>(static_cast<uint32_t>(kHostRpmNumerator / target), 1);
    uint32_t best = 0;
    for (uint32_t tenths : {longer, longer + 1}) {
        if (tenths < 1 || tenths > kHostMaxPeriod)
            continue;
        const auto error = [&](uint32_t t) {
            return std::abs(static_cast<double>(HostRpm(t, divider)) - shown);
        };
        if (best == 0 || error(tenths) < error(best))
            best = tenths;
    }
    if (best == 0)
        return 0.0; // slower than the host can show
    // The middle of the word's tenth, so the rounding to a word cannot cross into the next one.
    return 30'000'000.0 / (best * 10.0 + 5.0);
}

inline uint16_t PressureFromBar(double bar) {
    return ClampU16(bar / kPressureBarPerCount);
}

inline int16_t TemperatureFromC(double celsius) {
    return static_cast<int16_t>(std::clamp(std::lround(celsius * 100.0), -32768L, 32767L));
}

} // namespace ecusim::raw
