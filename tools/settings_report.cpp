#include "tools/settings_report.h"

#include "pages/live_values.h"
#include "pages/map_point_conversions.h"

#include <algorithm>
#include <array>

namespace SettingsReport {

namespace {

using Record = EcuSettingsRecord;

constexpr int kTankFullScale = 1023;
constexpr int kCylinders = 8;
constexpr int kRpmPerMapPoint = 500;
// The same units as the pages show.
using LiveValues::kBarPerCount;
using LiveValues::kMsPerBaseCorrectionStep;
using LiveValues::kVoltsPerCount;
constexpr std::array<int, 6> kSwitchRpms = {500, 1000, 1500, 2000, 2500, 3000};

// Always a dot, so the output reads the same on every machine and in scripts.
QString Fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

QString Switch(int value) {
    const QString word = value != 0 ? QStringLiteral("Active") : QStringLiteral("Deactive");
    // The pages only tell on from off; a stray flag byte is worth seeing.
    if (value == 0 || value == 1)
        return word;
    return QStringLiteral("%1 (value %2)").arg(word).arg(value);
}

QString InjectorProtection(int32_t value) {
    if (value == 0)
        return Switch(0);
    return QStringLiteral("Active (PWM %1)").arg(value);
}

QString SwitchRpm(int32_t index) {
    if (index >= 0 && index < static_cast<int>(kSwitchRpms.size()))
        return QStringLiteral("%1 rpm").arg(kSwitchRpms[index]);
    return QStringLiteral("none (list index %1 is outside 0 to 5)").arg(index);
}

QString MinGasPressure(int32_t raw) {
    // The page shows a negative product as 0; the raw count keeps such values apart.
    const double bar = std::max(0.0, raw * kBarPerCount);
    return QStringLiteral("%1 bar (raw %2)").arg(Fixed(bar, 2)).arg(raw);
}

// The record holds a tank point as 1023 minus the sensor reading.
QString TankPoint(int32_t stored) {
    const qint64 reading = kTankFullScale - qint64{stored};
    return QStringLiteral("%1 V (reading %2)").arg(Fixed(reading * kVoltsPerCount, 2)).arg(reading);
}

QString BaseCorrection(int32_t value) {
    return QStringLiteral("%1 ms (%2)").arg(Fixed(value * kMsPerBaseCorrectionStep, 2)).arg(value);
}

QString MapPointText(uint8_t byte) {
    return QStringLiteral("step %1, %2 ms")
        .arg(byte - MapPoint::kZero)
        .arg(Fixed(MapPoint::ValueOfByte(byte), 3));
}

void AddCylinders(QList<Line>& lines, int32_t mask) {
    for (int cylinder = 1; cylinder <= kCylinders; ++cylinder)
        lines.append(
            {QStringLiteral("Cylinder %1 Gas Injector").arg(cylinder), Switch((mask >> (cylinder - 1)) & 1)});
    // Bits above the eight cylinders have no switch on the pages; a damaged or foreign file may set them.
    if ((mask & ~0xFF) != 0)
        lines.append({QStringLiteral("Gas injector bits"),
                      QStringLiteral("0x%1").arg(static_cast<uint32_t>(mask), 8, 16, QLatin1Char('0'))});
}

void AddMap(QList<Line>& lines, const Record& record) {
    for (int i = 0; i < Record::kMapPoints; ++i)
        lines.append({QStringLiteral("Engine Map %1 rpm").arg(kRpmPerMapPoint * (i + 1)),
                      MapPointText(record.engineMap[i])});
}

} // namespace

QList<Line> Lines(const Record& record) {
    QList<Line> lines = {
        {QStringLiteral("RPM Divider"), QString::number(record.rpmDivider)},
        {QStringLiteral("RPM Pin"), Switch(record.rpmPin)},
        {QStringLiteral("Pressure Sensor"), Switch(record.mapSensor)},
        {QStringLiteral("Tank Sensor Max"), TankPoint(record.tankMax)},
        {QStringLiteral("Tank Sensor Min"), TankPoint(record.tankMin)},
    };
    AddCylinders(lines, record.gasInjectorMask);
    lines.append({
        {QStringLiteral("Injector Protection"), InjectorProtection(record.injectorProtection)},
        {QStringLiteral("Fast Changing"), Switch(record.fastChange)},
        {QStringLiteral("Switching To Gas RPM"), SwitchRpm(record.switchRpmIndex)},
        {QStringLiteral("Switching To Gas Temperature °C"), QString::number(record.switchTemperature)},
        {QStringLiteral("Min. Gas Pressure"), MinGasPressure(record.minGasPressure)},
        {QStringLiteral("Base Correction Value"), BaseCorrection(record.baseCorrection)},
    });
    AddMap(lines, record);
    return lines;
}

QStringList Show(const Record& record) {
    QStringList text;
    for (const Line& line : Lines(record))
        text.append(line.label + QStringLiteral(": ") + line.value);
    return text;
}

QStringList Diff(const Record& a, const Record& b) {
    QList<Line> left = Lines(a);
    QList<Line> right = Lines(b);
    // The optional line of stray injector bits may stand in one list only.
    const auto valueOf = [](const QList<Line>& lines, const QString& label) {
        for (const Line& line : lines)
            if (line.label == label)
                return line.value;
        return QStringLiteral("-");
    };
    QStringList labels;
    for (const QList<Line>* lines : {&left, &right})
        for (const Line& line : *lines)
            if (!labels.contains(line.label))
                labels.append(line.label);
    QStringList text;
    for (const QString& label : labels) {
        const QString va = valueOf(left, label);
        const QString vb = valueOf(right, label);
        if (va != vb)
            text.append(QStringLiteral("%1: %2 -> %3").arg(label, va, vb));
    }
    return text;
}

} // namespace SettingsReport
