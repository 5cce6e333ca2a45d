#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

// Builders for the frames the ECU sends, for tests that drive the link with chosen reports.
namespace EcuFrames {

using Bytes = std::vector<uint8_t>;

// A frame as the ECU sends it: checksum high byte first.
Bytes FromEcu(const Bytes& payload);
// A frame as the host sends it: checksum low byte first.
Bytes FromHost(const Bytes& payload);
Bytes Concat(std::initializer_list<Bytes> parts);

struct Live {
    uint8_t cylinderStatus = 0;
    std::array<uint16_t, 8> injectionRaw{};
    uint16_t periodA = 0;
    uint16_t periodB = 0;
    uint16_t lambda = 0;
    uint16_t gasPressure = 0;
    Bytes Payload() const;
    Bytes Frame() const { return FromEcu(Payload()); }
};

struct Status {
    uint8_t baseCorrectionByte = 127; // inverted on the wire: 127 means 0
    uint8_t injectorProtection = 0;
    uint8_t rpmDivider = 1;
    uint8_t switchTemperature = 0;
    uint16_t tankMax = 1000;
    uint16_t tankMin = 10;
    uint8_t injectorTestMask = 255;
    uint8_t gasInjectorMask = 0;
    int16_t reducerTemperature = 0;
    uint16_t tankSensor = 0;
    uint16_t minGasPressure = 0;
    uint8_t switchRpmIndex = 0;
    uint8_t statusBits = 0x10; // slave present
    Bytes Payload() const;
    Bytes Frame() const { return FromEcu(Payload()); }
};

Bytes MapReport(const std::array<uint8_t, 12>& wireBytes);
Bytes MapReportOfValues(const std::array<int, 12>& values); // 127 - value on the wire
Bytes VersionReport(uint8_t major, uint8_t minor);
Bytes BusyReport();

} // namespace EcuFrames
