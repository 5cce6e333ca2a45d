#pragma once

#include <array>
#include <cstdint>

namespace ecusim {

inline constexpr int kCylinders = 8;
inline constexpr int kMasterCylinders = 4;
inline constexpr int kMapPoints = 12;
inline constexpr int kMapZero = 32; // a map value holds the correction step plus 32
inline constexpr int kMaxBaseCorrection = 127;

// The settings the ECU keeps in its memory, changed one by one by the host's setting commands and carried
// by every status report. Save and load copy them to and from the ECU's permanent store.
struct EcuSettings {
    int baseCorrection = 40; // 0..127
    uint8_t injectorProtection = 0;
    uint8_t rpmDivider = 1;         // 1..8
    uint8_t switchTemperature = 40; // degrees Celsius
    uint16_t tankMax = 1000;        // inverted converter counts
    uint16_t tankMin = 10;
    uint8_t gasInjectorMask = 0xFF; // bit n-1: cylinder n may run on gas
    uint16_t minGasPressure = 150;  // raw, same scale as the gas pressure reading
    uint8_t switchRpmIndex = 2;     // 0..5 for 500..3000 rpm
    bool rpmPin = false;
    bool mapSensor = false;
    bool fastChange = false;
    std::array<uint8_t, kMapPoints> map = [] {
        std::array<uint8_t, kMapPoints> flat{};
        flat.fill(kMapZero);
        return flat;
    }();

    bool operator==(const EcuSettings&) const = default;
};

// What the engine runs on right now; not part of the stored settings.
struct FuelState {
    bool gasMode = false;
    uint8_t injectorTestMask = 0xFF; // bit n-1 set: cylinder n on petrol, clear: on gas
};

// Bit n-1 for each cylinder that exists: 1..4 on the master, 5..8 on the slave.
constexpr uint8_t CylinderMask(bool slavePresent) {
    return slavePresent ? 0xFF : 0x0F;
}

} // namespace ecusim
