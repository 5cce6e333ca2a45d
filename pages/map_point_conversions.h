#pragma once

#include <algorithm>
#include <cstdint>

// A map byte holds n + 32 for a correction of n steps of 0.032 ms; the chart shows the correction in ms.
namespace MapPoint {

constexpr int kZero = 32;
constexpr double kStepMs = 0.032;
constexpr int kMinStep = -31;
constexpr int kMaxStep = 31;

inline double ValueOfByte(int32_t b) {
    return (b - kZero) * kStepMs;
}

// Cut toward zero after the +32, in double precision, so that exactly n steps give n + 32 back.
inline uint8_t ByteOfValue(double v) {
    return static_cast<uint8_t>(static_cast<int>(v / kStepMs + kZero));
}

inline int StepOfValue(double v) {
    return ByteOfValue(v) - kZero;
}

inline int LimitStep(int n) {
    return std::clamp(n, kMinStep, kMaxStep);
}

} // namespace MapPoint
