#include "sim/engine_model.h"
#include "sim/raw_units.h"
#include "sim/virtual_ecu.h"
#include "tests/sim/report_reader.h"
#include "tests/support/ecu_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace std::chrono_literals;
using ecusim::VirtualEcu;

namespace {

ReportReader Stream(VirtualEcu& ecu, std::chrono::milliseconds span) {
    ecu.receive(EcuFrames::FromHost({'*'}));
    return RunFor(ecu, span);
}

} // namespace

// What the program shows must be what the engine does: the raw fields decode, with the program's formulas,
// to an idling engine.
TEST(EngineModel, LiveReportsDecodeToAnIdlingEngine) {
    VirtualEcu ecu;
    const ReportReader reader = Stream(ecu, 5s);
    const auto lives = reader.ofType('1');
    ASSERT_GT(lives.size(), 100u);
    for (const auto& payload : lives) {
        const LiveView live(payload);
        EXPECT_NEAR(live.rpm, 850, 30);
        EXPECT_NEAR(live.injection[0], 250, 3) << "2.5 ms on petrol";
        for (int n = 1; n < 8; ++n)
            EXPECT_NEAR(live.injection[n], 250, 8) << "cylinder " << n + 1 << " near cylinder 1";
        EXPECT_EQ(live.cylinderStatus, 0xFF);
        EXPECT_NEAR(live.pressureBar, 1.2, 0.03);
    }
    const auto rpmOf = [](const auto& p) { return LiveView(p).rpm; };
    const auto [low, high] = std::minmax_element(
        lives.begin(), lives.end(), [&](const auto& a, const auto& b) { return rpmOf(a) < rpmOf(b); });
    EXPECT_GT(rpmOf(*high) - rpmOf(*low), 5) << "the speed is not frozen";
}

TEST(EngineModel, TheRpmDividerAndPinChangeTheReadingAsOnACar) {
    VirtualEcu ecu;
    ecu.settings().rpmDivider = 2;
    const ReportReader reader = Stream(ecu, 200ms);
    const auto payload = reader.ofType('1').back();
    // The program divides by the divider the ECU reports; both rpm inputs carry the signal.
    EXPECT_NEAR(LiveView(payload, 1, false).rpm, 850, 30);
    EXPECT_NEAR(LiveView(payload, 1, true).rpm, 850, 30);
    EXPECT_NEAR(LiveView(payload, 2, false).rpm, 425, 15);
}

TEST(EngineModel, LambdaSwingsAcrossTheThresholdAboutOnceASecond) {
    VirtualEcu ecu;
    const auto lives = Stream(ecu, 10s).ofType('1');
    int risings = 0;
    bool lean = LiveView(lives.front()).lambda <= 120;
    for (const auto& payload : lives) {
        const bool nowLean = LiveView(payload).lambda <= 120;
        risings += lean && !nowLean;
        lean = nowLean;
    }
    EXPECT_GE(risings, 8);
    EXPECT_LE(risings, 14);
}

TEST(EngineModel, TheReducerWarmsFromTwentyToSeventyFiveOverAFewMinutes) {
    ecusim::EngineModel engine(ecusim::EcuConfig{});
    struct Point {
        int seconds;
        double low, high;
    };
    const Point points[] = {{0, 20, 20}, {30, 35, 45}, {120, 60, 70}, {300, 74, 75}, {900, 74.9, 75}};
    for (const Point& p : points) {
        const double t = engine.reducerTemperatureC(p.seconds * 1'000'000LL);
        EXPECT_GE(t, p.low) << p.seconds << " s";
        EXPECT_LE(t, p.high) << p.seconds << " s";
    }
}

TEST(EngineModel, StatusReportsCarryTemperatureTankAndSlave) {
    ecusim::EcuConfig config;
    config.startTemperatureC = 75;
    config.tankReading = 700;
    VirtualEcu ecu(config);
    ecu.receive(EcuFrames::FromHost({'2'}));
    const StatusView status(RunFor(ecu, 50ms).ofType('2').at(0));
    EXPECT_EQ(status.reducerTemperature, 7500);
    EXPECT_EQ(status.tankSensor, 700);
    EXPECT_TRUE(status.slaveEcu);
}

// The automatic calibration moves the base correction one unit per gas cycle until gas matches petrol at
// its resolution. That only ends if gas falls steadily with the base correction, in steps finer than the
// comparison's resolution, and meets petrol well inside 0..127; and if the noise stays inside the
// stability window.
TEST(EngineModel, GasMeetsPetrolInsideTheBaseCorrectionRange) {
    const ecusim::EcuConfig config;
    ecusim::EngineModel engine(config);
    ecusim::EcuSettings settings;
    const double petrol = engine.petrolMs(0);
    int crossing = -1;
    for (int x = 0; x <= 127; ++x) {
        settings.baseCorrection = x;
        const double gas = engine.gasMs(0, settings, 850);
        if (x > 0) {
            settings.baseCorrection = x - 1;
            const double step = engine.gasMs(0, settings, 850) - gas;
            EXPECT_NEAR(step, 0.0321, 0.0005) << x;
            EXPECT_LT(step * 100, 5) << "finer than sensitivity 5 (0.05 ms)";
        }
        if (crossing < 0 && gas <= petrol)
            crossing = x;
    }
    EXPECT_GE(crossing, 20);
    EXPECT_LE(crossing, 107);
}

TEST(EngineModel, TheMapPointOfTheCurrentSpeedShiftsTheGasTime) {
    const ecusim::EcuConfig config;
    ecusim::EngineModel engine(config);
    ecusim::EcuSettings settings;
    const double flat = engine.gasMs(0, settings, 850);
    settings.map[1] = 32 + 10; // the 1000 rpm point: not in use at idle
    EXPECT_DOUBLE_EQ(engine.gasMs(0, settings, 850), flat);
    settings.map[0] = 32 + 5; // the point in use from 500 to 999 rpm
    EXPECT_NEAR(engine.gasMs(0, settings, 850) - flat, 5 * 0.032, 1e-9);
    EXPECT_NEAR(engine.gasMs(0, settings, 1200) - flat, 10 * 0.032, 1e-9);
    struct Index {
        double rpm;
        int index;
    };
    for (const Index& i :
         {Index{0, 0}, Index{499, 0}, Index{999, 0}, Index{1000, 1}, Index{2750, 4}, Index{9000, 11}})
        EXPECT_EQ(ecusim::EngineModel::MapIndex(i.rpm), i.index) << i.rpm;
}

TEST(EngineModel, GasTimesOnTheWireFollowTheBaseCorrection) {
    ecusim::EcuConfig config;
    config.startTemperatureC = 75;
    VirtualEcu ecu(config);
    ecu.receive(EcuFrames::FromHost({'r'}));
    for (int x : {0, 50, 127}) {
        ecu.receive(EcuFrames::FromHost({'n', static_cast<uint8_t>(127 - x)}));
        const auto lives = Stream(ecu, 300ms).ofType('1');
        const double expected = ecu.engine().gasMs(0, ecu.settings(), 850) * 100;
        EXPECT_NEAR(LiveView(lives.back()).injection[0], expected, 4) << x;
    }
}

TEST(EngineModel, RawUnitsDecodeToTheirValues) {
    EXPECT_EQ(ecusim::raw::InjectionFromMs(2.5) * 2 / 5, 250);
    EXPECT_EQ(ecusim::raw::InjectionFromMs(4.93) * 2 / 5, 493);
    EXPECT_EQ(3'000'000 / (ecusim::raw::PeriodFromRpm(850) / 10), 850);
    EXPECT_EQ(3'000'000 / (ecusim::raw::PeriodFromRpm(3000) / 10), 3000);
    EXPECT_EQ(ecusim::raw::PeriodFromRpm(0), 0xFFFF);
    EXPECT_EQ(ecusim::raw::PeriodFromRpm(100), 0xFFFF) << "slower than the field can carry";
    EXPECT_NEAR(ecusim::raw::PressureFromBar(1.2) * 0.0044803225806451605, 1.2, 0.0023);
    EXPECT_EQ(ecusim::raw::TemperatureFromC(-1.5), -150);
    EXPECT_EQ(ecusim::raw::InjectionFromMs(-1), 0);
    EXPECT_EQ(ecusim::raw::InjectionFromMs(1000), 65535);
}
