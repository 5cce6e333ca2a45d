#include "files/upload_readback.h"

#include "ecu/setting_values.h"
#include "ecu/tecu.h"

#include <algorithm>
#include <optional>

namespace UploadReadback {

namespace {

using namespace SettingValues;

struct Setting {
    std::optional<int32_t> sent; // empty: the command refused the value
    int32_t reported;
};

} // namespace

int32_t MapPointAsSent(uint8_t point) {
    return std::min<int32_t>(point, kHighestCorrection);
}

bool EcuHolds(const EcuSettingsRecord& r, const Tecu& ecu) {
    const Setting settings[] = {
        {BaseCorrection(r.baseCorrection), ecu.baseCorrection},
        {LowByte(r.gasInjectorMask), ecu.gasInjectorMask},
        {Flag(r.rpmPin), Flag(ecu.rpmPin)},
        {LowByte(r.injectorProtection), ecu.injectorProtection},
        {RpmDivider(r.rpmDivider), ecu.rpmDivider},
        {SwitchTemperature(r.switchTemperature), ecu.switchTemperature},
        {SwitchRpmIndex(r.switchRpmIndex), ecu.switchRpmIndex},
        {Word(r.minGasPressure), ecu.minGasPressure},
        {TankPoint(r.tankMax), ecu.tankMax},
        {TankPoint(r.tankMin), ecu.tankMin},
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
