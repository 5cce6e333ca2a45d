#pragma once

#include <cstdint>
#include <optional>

// What each setting command puts on the line for a value it is given: the command sends exactly this,
// and the ECU reports it back. Empty where the command refuses the value and sends nothing.
namespace SettingValues {

inline constexpr int32_t kHighestCorrection = 127; // base correction and map points

inline std::optional<int32_t> Within(int32_t v, int32_t lo, int32_t hi) {
    return v >= lo && v <= hi ? std::optional<int32_t>(v) : std::nullopt;
}
inline int32_t LowByte(int32_t v) {
    return v & 0xFF;
}
inline int32_t Word(int32_t v) {
    return v & 0xFFFF;
}
inline int32_t Flag(int32_t v) {
    return v != 0 ? 1 : 0;
}

inline std::optional<int32_t> RpmDivider(int32_t n) {
    return Within(n, 1, 8);
}
// The command carries only the low byte of a temperature it takes.
inline std::optional<int32_t> SwitchTemperature(int32_t t) {
    const std::optional<int32_t> taken = Within(t, 1, 1019);
    return taken ? std::optional<int32_t>(LowByte(*taken)) : std::nullopt;
}
inline std::optional<int32_t> TankPoint(int32_t v) {
    return Within(v, 1, 1022);
}
// -1 (no value yet) goes out as 0; anything else beyond 0..127 as 127.
inline int32_t BaseCorrection(int32_t x) {
    if (x == -1)
        return 0;
    return static_cast<uint32_t>(x) > static_cast<uint32_t>(kHighestCorrection) ? kHighestCorrection : x;
}
// An index beyond the twelve speeds goes out as the first.
inline int32_t SwitchRpmIndex(int32_t i) {
    return static_cast<uint32_t>(i) > 11 ? 0 : i;
}

} // namespace SettingValues
