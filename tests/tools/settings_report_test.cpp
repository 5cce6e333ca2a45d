#include "tests/tools/settings_test_files.h"
#include "tools/settings_report.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(SettingsReport, KnownRecordInWordsAndUnits) {
    const QStringList expected = {
        "RPM Divider: 4",
        "RPM Pin: Active",
        "Pressure Sensor: Deactive",
        "Tank Sensor Max: 3.91 V (reading 800)",
        "Tank Sensor Min: 0.98 V (reading 200)",
        "Cylinder 1 Gas Injector: Deactive",
        "Cylinder 2 Gas Injector: Active",
        "Cylinder 3 Gas Injector: Deactive",
        "Cylinder 4 Gas Injector: Active",
        "Cylinder 5 Gas Injector: Deactive",
        "Cylinder 6 Gas Injector: Deactive",
        "Cylinder 7 Gas Injector: Deactive",
        "Cylinder 8 Gas Injector: Deactive",
        "Injector Protection: Active (PWM 30)",
        "Fast Changing: Active",
        "Switching To Gas RPM: 1500 rpm",
        "Switching To Gas Temperature °C: 45",
        "Min. Gas Pressure: 0.90 bar (raw 200)",
        "Base Correction Value: 1.41 ms (44)",
        "Engine Map 500 rpm: step -3, -0.096 ms",
        "Engine Map 1000 rpm: step -2, -0.064 ms",
        "Engine Map 1500 rpm: step -1, -0.032 ms",
        "Engine Map 2000 rpm: step 0, 0.000 ms",
        "Engine Map 2500 rpm: step 1, 0.032 ms",
        "Engine Map 3000 rpm: step 2, 0.064 ms",
        "Engine Map 3500 rpm: step 3, 0.096 ms",
        "Engine Map 4000 rpm: step 4, 0.128 ms",
        "Engine Map 4500 rpm: step 5, 0.160 ms",
        "Engine Map 5000 rpm: step 6, 0.192 ms",
        "Engine Map 5500 rpm: step 7, 0.224 ms",
        "Engine Map 6000 rpm: step 8, 0.256 ms",
    };
    EXPECT_EQ(SettingsReport::Show(KnownRecord()), expected);
}

// Values a file can hold that the pages never produce still read plainly.
struct OddValueCase {
    const char* name;
    std::function<void(EcuSettingsRecord&)> change;
    QString expectedLine;
};

class SettingsReportOddValues : public testing::TestWithParam<OddValueCase> {};

TEST_P(SettingsReportOddValues, ShowsTheValue) {
    EcuSettingsRecord record = KnownRecord();
    GetParam().change(record);
    EXPECT_TRUE(SettingsReport::Show(record).contains(GetParam().expectedLine))
        << SettingsReport::Show(record).join('\n').toStdString();
}

const OddValueCase kOddValues[] = {
    {"FlagByteNotZeroOrOne", [](EcuSettingsRecord& r) { r.rpmPin = 5; }, "RPM Pin: Active (value 5)"},
    {"ProtectionOff", [](EcuSettingsRecord& r) { r.injectorProtection = 0; },
     "Injector Protection: Deactive"},
    {"SwitchRpmLast", [](EcuSettingsRecord& r) { r.switchRpmIndex = 5; }, "Switching To Gas RPM: 3000 rpm"},
    {"SwitchRpmBeyondList", [](EcuSettingsRecord& r) { r.switchRpmIndex = 9; },
     "Switching To Gas RPM: none (list index 9 is outside 0 to 5)"},
    {"SwitchRpmNegative", [](EcuSettingsRecord& r) { r.switchRpmIndex = -1; },
     "Switching To Gas RPM: none (list index -1 is outside 0 to 5)"},
    {"NegativePressureAsZero", [](EcuSettingsRecord& r) { r.minGasPressure = -7; },
     "Min. Gas Pressure: 0.00 bar (raw -7)"},
    {"TankPointBeyondScale", [](EcuSettingsRecord& r) { r.tankMax = 1100; },
     "Tank Sensor Max: -0.38 V (reading -77)"},
    {"BaseCorrectionTop", [](EcuSettingsRecord& r) { r.baseCorrection = 127; },
     "Base Correction Value: 4.08 ms (127)"},
    {"MapByteZero", [](EcuSettingsRecord& r) { r.engineMap[11] = 0; },
     "Engine Map 6000 rpm: step -32, -1.024 ms"},
    {"MapByteTop", [](EcuSettingsRecord& r) { r.engineMap[0] = 255; },
     "Engine Map 500 rpm: step 223, 7.136 ms"},
    {"InjectorBitsAboveEight", [](EcuSettingsRecord& r) { r.gasInjectorMask = 0x10A; },
     "Gas injector bits: 0x0000010a"},
};

INSTANTIATE_TEST_SUITE_P(Values, SettingsReportOddValues, testing::ValuesIn(kOddValues),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsReportDiff, EqualRecordsGiveNoLines) {
    EXPECT_TRUE(SettingsReport::Diff(KnownRecord(), KnownRecord()).isEmpty());
}

TEST(SettingsReportDiff, DifferingSettingsInTheSameWords) {
    EcuSettingsRecord changed = KnownRecord();
    changed.rpmDivider = 3;
    changed.gasInjectorMask = 0x0B;
    changed.engineMap[4] = 40;
    const QStringList expected = {
        "RPM Divider: 4 -> 3",
        "Cylinder 1 Gas Injector: Deactive -> Active",
        "Engine Map 2500 rpm: step 1, 0.032 ms -> step 8, 0.256 ms",
    };
    EXPECT_EQ(SettingsReport::Diff(KnownRecord(), changed), expected);
}

TEST(SettingsReportDiff, ValuesThatReadAlikeOnThePageStillDiffer) {
    EcuSettingsRecord a = KnownRecord();
    EcuSettingsRecord b = KnownRecord();
    a.minGasPressure = -1;
    b.minGasPressure = -2;
    EXPECT_EQ(SettingsReport::Diff(a, b),
              QStringList{"Min. Gas Pressure: 0.00 bar (raw -1) -> 0.00 bar (raw -2)"});
}

TEST(SettingsReportDiff, LineInOneRecordOnly) {
    EcuSettingsRecord b = KnownRecord();
    b.gasInjectorMask = 0x10A;
    EXPECT_EQ(SettingsReport::Diff(KnownRecord(), b), QStringList{"Gas injector bits: - -> 0x0000010a"});
}

} // namespace
