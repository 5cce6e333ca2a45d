#include "tests/tools/settings_test_files.h"

EcuSettingsRecord KnownRecord() {
    EcuSettingsRecord record;
    record.baseCorrection = 44;
    record.gasInjectorMask = 0x0A;
    record.rpmPin = 1;
    record.mapSensor = 0;
    record.fastChange = 1;
    record.injectorProtection = 30;
    record.rpmDivider = 4;
    record.switchTemperature = 45;
    record.switchRpmIndex = 2;
    record.minGasPressure = 200;
    record.tankMax = 223;
    record.tankMin = 823;
    for (int i = 0; i < EcuSettingsRecord::kMapPoints; ++i)
        record.engineMap[i] = static_cast<uint8_t>(29 + i);
    return record;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    WriteFileBytes(path, bytes);
    return path;
}
