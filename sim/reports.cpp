#include "sim/reports.h"

#include "sim/raw_units.h"

namespace ecusim::reports {

namespace {

void PutWord(Bytes& payload, uint16_t value) {
    payload.push_back(static_cast<uint8_t>(value & 0xFF));
    payload.push_back(static_cast<uint8_t>(value >> 8));
}

uint8_t StatusBits(const EcuSettings& settings, const StatusExtras& extras) {
    uint8_t bits = 0;
    bits |= extras.fuel.gasMode ? 0x01 : 0;
    bits |= settings.rpmPin ? 0x02 : 0;
    bits |= extras.slavePresent ? 0x10 : 0;
    bits |= settings.mapSensor ? 0x20 : 0;
    bits |= settings.fastChange ? 0x80 : 0;
    return bits;
}

} // namespace

Bytes Live(const EngineReading& reading) {
    Bytes payload{kLive, reading.cylinderStatus, 0};
    for (double ms : reading.injectionMs)
        PutWord(payload, raw::InjectionFromMs(ms));
    const uint16_t period = raw::PeriodFromRpm(reading.rpm);
    PutWord(payload, period); // rpm input A
    PutWord(payload, period); // rpm input B: the signal reaches both
    PutWord(payload, raw::ClampU16(reading.lambda));
    PutWord(payload, raw::PressureFromBar(reading.gasPressureBar));
    return payload;
}

Bytes Status(const EcuSettings& settings, const StatusExtras& extras) {
    Bytes payload{kStatus, Inverted(settings.baseCorrection), settings.injectorProtection,
                  settings.rpmDivider, settings.switchTemperature};
    PutWord(payload, settings.tankMax);
    PutWord(payload, settings.tankMin);
    payload.push_back(extras.fuel.injectorTestMask);
    payload.push_back(settings.gasInjectorMask);
    PutWord(payload, static_cast<uint16_t>(raw::TemperatureFromC(extras.reducerTemperatureC)));
    PutWord(payload, extras.tankReading);
    PutWord(payload, settings.minGasPressure);
    payload.push_back(settings.switchRpmIndex);
    payload.push_back(StatusBits(settings, extras));
    return payload;
}

Bytes Map(const EcuSettings& settings) {
    Bytes payload{kMap};
    for (uint8_t value : settings.map)
        payload.push_back(Inverted(value));
    return payload;
}

Bytes Version(uint8_t major, uint8_t minor) {
    return {kVersion, minor, major};
}

Bytes Busy() {
    return {kBusy};
}

} // namespace ecusim::reports
