#pragma once

#include <array>
#include <cstdint>
#include <span>

class Tecu;

// The 160-byte settings record of an ECU settings file, little-endian:
//   0..23 header "Zorvi Ecu Settings File" and a zero byte, 24..99 reserved, 100 checksum (32-bit),
//   104 base correction, 108 gas injector bits, 112 RPM pin, 113 MAP sensor, 114 fast change,
//   115 reserved, 116 injector protection, 120 RPM divider, 124 switching temperature,
//   128 switching RPM index, 132 minimum gas pressure, 136 tank Max, 140 tank Min, 144 format number,
//   148..159 the twelve map points (0..127, not inverted).
// The fields hold the values as the file holds them; their ranges are not checked here, the ECU
// commands apply their own checks when the record is uploaded.
class EcuSettingsRecord {
public:
    static constexpr int kSize = 160;
    static constexpr int kMapPoints = 12;
    static constexpr int kHeaderSize = 24; // the text and its terminating zero
    static constexpr char kHeaderText[] = "Zorvi Ecu Settings File";
    static constexpr int kChecksumOffset = 100;
    static constexpr int kFormatNumberOffset = 144;
    static constexpr int kMapOffset = 148;
    static constexpr int32_t kFormatNumber = 4;

    using Bytes = std::array<uint8_t, kSize>;

    // Outcome of reading a record from bytes, in the order the checks run.
    enum class Check { Passed, WrongHeader, BadChecksum };

    int32_t baseCorrection = 0;
    int32_t gasInjectorMask = 0;
    uint8_t rpmPin = 0;
    uint8_t mapSensor = 0;
    uint8_t fastChange = 0;
    int32_t injectorProtection = 0;
    int32_t rpmDivider = 0;
    int32_t switchTemperature = 0;
    int32_t switchRpmIndex = 0;
    int32_t minGasPressure = 0;
    int32_t tankMax = 0;
    int32_t tankMin = 0;
    std::array<uint8_t, kMapPoints> engineMap{};

    // The settings and the map as the link last received them (or its start values).
    static EcuSettingsRecord FromEcuState(const Tecu& ecu);

    // The full record with header, zero reserved bytes, format number 4 and the checksum.
    Bytes Serialise() const;

    // Checks the header (letter case counts), then the checksum. Bytes that are not there never pass:
    // fewer than the 24 header bytes is a wrong header, a whole header with fewer than 160 bytes in
    // all is a bad checksum. Bytes beyond the 160th are not part of the record and are not looked at.
    static Check Verify(std::span<const uint8_t> bytes);
    // The record from bytes that passed Verify; on any other outcome `record` is left alone.
    static Check Parse(std::span<const uint8_t> bytes, EcuSettingsRecord& record);

    // Byte sum of the first 160 bytes with the checksum field taken as zero.
    static uint32_t Checksum(std::span<const uint8_t, kSize> bytes);

    bool operator==(const EcuSettingsRecord&) const = default;
};
