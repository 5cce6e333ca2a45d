#pragma once

#include "sim/ecu_settings.h"
#include "sim/ecu_side_codec.h"
#include "sim/engine_model.h"

#include <cstdint>

// Payloads of the ECU's five reports, letter first, multi-byte values little-endian.
namespace ecusim::reports {

inline constexpr uint8_t kLive = '1';
inline constexpr uint8_t kStatus = '2';
inline constexpr uint8_t kMap = 'y';
inline constexpr uint8_t kVersion = 'v';
inline constexpr uint8_t kBusy = 'b';
inline constexpr std::size_t kLiveLength = 27;
inline constexpr std::size_t kStatusLength = 19;

// Everything a status report carries besides the stored settings.
struct StatusExtras {
    FuelState fuel;
    bool slavePresent = true;
    double reducerTemperatureC = 0.0;
    uint16_t tankReading = 0;
};

Bytes Live(const EngineReading& reading);
Bytes Status(const EcuSettings& settings, const StatusExtras& extras);
Bytes Map(const EcuSettings& settings);
Bytes Version(uint8_t major, uint8_t minor);
Bytes Busy();

// Base correction and map values travel as 127 minus the value; the top bit is not part of it.
inline uint8_t Inverted(int value) {
    return static_cast<uint8_t>(kMaxBaseCorrection - value);
}
inline int FromInverted(uint8_t wire) {
    return kMaxBaseCorrection - (wire & 0x7F);
}

} // namespace ecusim::reports
