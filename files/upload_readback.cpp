#include "files/upload_readback.h"

#include "ecu/tecu.h"

#include <algorithm>
#include <optional>

namespace UploadReadback {

namespace {

constexpr int32_t kHighestMapPoint = 127;

// The checks and encodings of the commands the upload uses, seen from the ECU's reports.
std::optional<int32_t> Within(int32_t v, int32_t lo, int32_t hi) {
    if (v < lo || v > hi)
        return std::nullopt;
    return v;
}
int32_t LowByte(int32_t v) {
    return v & 0xFF;
}
int32_t Flag(int32_t v) {
    return v != 0 ? 1 : 0;
}
int32_t BaseCorrectionAsSent(int32_t x) {
    if (x == -1)
        return 0;
    return static_cast<uint32_t>(x) > 127 ? 127 : x;
}
int32_t SwitchRpmAsSent(int32_t i) {
    return static_cast<uint32_t>(i) > 11 ? 0 : i;
}

struct Setting {
    std::optional<int32_t> sent; // empty: the command refused the value
    int32_t reported;
};

} // namespace

int32_t MapPointAsSent(uint8_t point) {
    return std::min<int32_t>(point, kHighestMapPoint);
}

bool EcuHolds(const EcuSettingsRecord& r, const Tecu& ecu) {
    const std::optional<int32_t> temperature = Within(r.switchTemperature, 1, 1019);
    const Setting settings[] = {
        {BaseCorrectionAsSent(r.baseCorrection), ecu.baseCorrection},
        {LowByte(r.gasInjectorMask), ecu.gasInjectorMask},
        {Flag(r.rpmPin), Flag(ecu.rpmPin)},
        {LowByte(r.injectorProtection), ecu.injectorProtection},
        {Within(r.rpmDivider, 1, 8), ecu.rpmDivider},
        {temperature ? std::optional(LowByte(*temperature)) : std::nullopt, ecu.switchTemperature},
        {SwitchRpmAsSent(r.switchRpmIndex), ecu.switchRpmIndex},
        {r.minGasPressure & 0xFFFF, ecu.minGasPressure},
        {Within(r.tankMax, 1, 1022), ecu.tankMax},
        {Within(r.tankMin, 1, 1022), ecu.tankMin},
        {Flag(r.mapSensor), Flag(ecu.mapSensor)},
        {Flag(r.fastChange), Flag(ecu.fastChange)},
    };
    const bool settingsTook = std::all_of(std::begin(settings), std::end(settings),
                                          [](const Setting& s) { return !s.sent || *s.sent == s.reported; });
    bool mapTook = true;
    for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i)
        mapTook = mapTook && MapPointAsSent(r.engineMap[i]) == ecu.engineMap[i];
    return settingsTook && mapTook;
}

} // namespace UploadReadback
