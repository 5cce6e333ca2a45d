#include "tests/support/ecu_frames.h"

namespace EcuFrames {

namespace {
uint16_t Sum(const Bytes& payload) {
    uint16_t sum = static_cast<uint8_t>(payload.size());
    for (uint8_t b : payload)
        sum = static_cast<uint16_t>(sum + b);
    return sum;
}
void PutWord(Bytes& p, uint16_t v) {
    p.push_back(static_cast<uint8_t>(v & 0xFF));
    p.push_back(static_cast<uint8_t>(v >> 8));
}
Bytes Framed(const Bytes& payload, bool highFirst) {
    Bytes out{0x00, 0xF0, static_cast<uint8_t>(payload.size())};
    out.insert(out.end(), payload.begin(), payload.end());
    const uint16_t sum = Sum(payload);
    const uint8_t hi = static_cast<uint8_t>(sum >> 8), lo = static_cast<uint8_t>(sum & 0xFF);
    out.push_back(highFirst ? hi : lo);
    out.push_back(highFirst ? lo : hi);
    return out;
}
} // namespace

Bytes FromEcu(const Bytes& payload) {
    return Framed(payload, true);
}
Bytes FromHost(const Bytes& payload) {
    return Framed(payload, false);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Live::Payload() const {
    Bytes p{'1', cylinderStatus, 0};
    for (uint16_t raw : injectionRaw)
        PutWord(p, raw);
    PutWord(p, periodA);
    PutWord(p, periodB);
    PutWord(p, lambda);
    PutWord(p, gasPressure);
    return p;
}

Bytes Status::Payload() const {
    Bytes p{'2', baseCorrectionByte, injectorProtection, rpmDivider, switchTemperature};
    PutWord(p, tankMax);
    PutWord(p, tankMin);
    p.push_back(injectorTestMask);
    p.push_back(gasInjectorMask);
    PutWord(p, static_cast<uint16_t>(reducerTemperature));
    PutWord(p, tankSensor);
    PutWord(p, minGasPressure);
    p.push_back(switchRpmIndex);
    p.push_back(statusBits);
    return p;
}

Bytes MapReport(const std::array<uint8_t, 12>& wireBytes) {
    // Built byte by byte: g++ 12 warns falsely on inserting a range into a one-byte vector.
    Bytes p(1 + wireBytes.size());
    p[0] = 'y';
    for (std::size_t i = 0; i < wireBytes.size(); ++i)
        p[1 + i] = wireBytes[i];
    return FromEcu(p);
}

Bytes MapReportOfValues(const std::array<int, 12>& values) {
    std::array<uint8_t, 12> wire{};
    for (int i = 0; i < 12; ++i)
        wire[i] = static_cast<uint8_t>(127 - values[i]);
    return MapReport(wire);
}

Bytes VersionReport(uint8_t major, uint8_t minor) {
    return FromEcu({'v', minor, major});
}
Bytes BusyReport() {
    return FromEcu({'b'});
}

} // namespace EcuFrames
