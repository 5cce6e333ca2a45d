#include "ecu/tecu.h"
#include "tests/support/simulated_bench.h"

#include <gtest/gtest.h>

#include <functional>

using namespace std::chrono_literals;

namespace {

ecusim::EcuConfig Warm() {
    ecusim::EcuConfig config;
    config.startTemperatureC = 75.0;
    return config;
}

// A bench whose link has completed its handshake, with the window's connect handler bound.
struct Connected : SimulatedBench {
    explicit Connected(const ecusim::EcuConfig& config = Warm()) : SimulatedBench(config) {
        actLikeTheWindow();
        EXPECT_TRUE(open());
        EXPECT_TRUE(runUntil([this] { return tecu().IsConnected(); }, 15s));
    }
};

} // namespace

TEST(TecuAgainstVirtualEcu, HandshakesToConnectedAndTicksEvery25Ms) {
    SimulatedBench bench;
    bench.actLikeTheWindow();
    ASSERT_TRUE(bench.open());
    ASSERT_TRUE(bench.runUntil([&] { return bench.tecu().IsConnected(); }, 15s));
    EXPECT_LE(bench.now(), 5s) << "map, version, status, streaming: one step per 1000 ms tick";
    EXPECT_EQ(bench.connectedCount, 1);
    EXPECT_EQ(bench.tecu().LinkInterval(), 25);
    EXPECT_EQ(bench.tecu().ecuVersionMajor, 2);
    EXPECT_EQ(bench.tecu().ecuVersionMinor, 7);

    int rpmEvents = 0;
    int32_t lastRpm = 0;
    bench.tecu().OnRpm.bind([&](int32_t rpm) {
        ++rpmEvents;
        lastRpm = rpm;
    });
    const int lostBefore = bench.linkLostCount;
    bench.runFor(30s);
    EXPECT_TRUE(bench.tecu().IsConnected());
    EXPECT_EQ(bench.linkLostCount, lostBefore);
    EXPECT_EQ(bench.connectedCount, 1);
    EXPECT_GT(rpmEvents, 100);
    EXPECT_NEAR(lastRpm, 850, 30);
    const Tecu& tecu = bench.tecu();
    EXPECT_NEAR(tecu.injectionTime[0], 250, 3);
    EXPECT_NEAR(tecu.gasPressure * 0.0044803225806451605, 1.2, 0.03);
    EXPECT_GT(tecu.reducerTemperature, 2000);
    EXPECT_TRUE(tecu.slaveEcu);
    EXPECT_EQ(tecu.baseCorrection, 40);
}

TEST(TecuAgainstVirtualEcu, LosesTheLinkWhenTheEcuFallsSilentAndHandshakesAgain) {
    Connected bench;
    const int lost = bench.linkLostCount;
    bench.ecu().faults().silent = true;
    ASSERT_TRUE(bench.runUntil([&] { return bench.linkLostCount > lost; }, 5s));
    EXPECT_FALSE(bench.tecu().IsConnected());
    bench.runFor(5s);
    EXPECT_FALSE(bench.tecu().IsConnected());

    bench.ecu().faults().silent = false;
    ASSERT_TRUE(bench.runUntil([&] { return bench.tecu().IsConnected(); }, 15s));
    EXPECT_EQ(bench.connectedCount, 2);
}

// The link's own wiring for a pulled cable: lost at once, the same port retried quietly on the slow tick
// while the cable is out, and a fresh handshake once it is back, without anyone opening the port.
TEST(TecuAgainstVirtualEcu, AnUnpluggedEcuIsLostAtOnceAndReconnectsByItselfWhenPluggedBack) {
    Connected bench;
    int portLost = 0;
    int reopened = 0;
    bench.tecu().OnPortLost.bind([&] { ++portLost; });
    bench.tecu().OnPortReopened.bind([&] { ++reopened; });
    const int lostBefore = bench.linkLostCount;
    bench.ecu().faults().unplugged = true;
    bench.runFor(100ms);
    EXPECT_EQ(portLost, 1);
    EXPECT_GT(bench.linkLostCount, lostBefore);
    EXPECT_FALSE(bench.tecu().IsPortOpen());
    EXPECT_FALSE(bench.tecu().IsConnected());
    EXPECT_EQ(bench.tecu().LinkInterval(), 1000);

    bench.runFor(5s);
    EXPECT_EQ(reopened, 0);
    EXPECT_FALSE(bench.tecu().IsPortOpen());
    EXPECT_TRUE(bench.tecu().ReopeningLostPort());

    bench.ecu().faults().unplugged = false;
    ASSERT_TRUE(bench.runUntil([&] { return bench.tecu().IsConnected(); }, 10s));
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(portLost, 1);
    EXPECT_EQ(bench.connectedCount, 2);
    EXPECT_EQ(bench.port().openedNumber(), 7);
    int rpmEvents = 0;
    bench.tecu().OnRpm.bind([&](int32_t) { ++rpmEvents; });
    bench.runFor(2s);
    EXPECT_GT(rpmEvents, 20);
}

// The display follows the ECU: a setting reaches the screen only through the change event that the next
// status report raises.
TEST(TecuAgainstVirtualEcu, EverySettingComesBackThroughItsChangeEvent) {
    struct Case {
        const char* what;
        std::function<void(Tecu&)> command;
        Event<int32_t> Tecu::*event;
        int32_t expected;
    };
    const Case cases[] = {
        {"rpm divider", [](Tecu& t) { t.SetRpmDivider(4); }, &Tecu::OnRpmDividerChanged, 4},
        {"switch temperature", [](Tecu& t) { t.SetSwitchTemperature(55); }, &Tecu::OnSwitchTemperatureChanged,
         55},
        {"min gas pressure", [](Tecu& t) { t.SetMinGasPressure(300); }, &Tecu::OnMinGasPressureChanged, 300},
        {"tank max", [](Tecu& t) { t.SetTankMax(900); }, &Tecu::OnTankMaxChanged, 900},
        {"tank min", [](Tecu& t) { t.SetTankMin(30); }, &Tecu::OnTankMinChanged, 30},
        {"base correction", [](Tecu& t) { t.SetBaseCorrection(90); }, &Tecu::OnBaseCorrectionChanged, 90},
        {"gas injectors", [](Tecu& t) { t.SetGasInjectors(0x05); }, &Tecu::OnGasInjectorsChanged, 0x05},
        {"injector protection", [](Tecu& t) { t.SetInjectorProtection(30); },
         &Tecu::OnInjectorProtectionChanged, 30},
        {"rpm pin", [](Tecu& t) { t.SetRpmPin(1); }, &Tecu::OnRpmPinChanged, 1},
        {"switch rpm", [](Tecu& t) { t.SetSwitchRpm(4); }, &Tecu::OnSwitchRpmChanged, 4},
        {"map sensor", [](Tecu& t) { t.SetMapSensor(1); }, &Tecu::OnMapSensorChanged, 1},
        {"fast change", [](Tecu& t) { t.SetFastChange(1); }, &Tecu::OnFastChangeChanged, 1},
        {"fuel", [](Tecu& t) { t.SetFuel(true); }, &Tecu::OnGasModeChanged, 1},
        {"injector test", [](Tecu& t) { t.TestInjector(4, 1); }, &Tecu::OnInjectorTestChanged, 0xFB},
    };
    for (const Case& c : cases) {
        Connected bench;
        int32_t seen = -1;
        (bench.tecu().*c.event).bind([&](int32_t v) { seen = v; });
        c.command(bench.tecu());
        EXPECT_TRUE(bench.runUntil([&] { return seen == c.expected; }, 1s))
            << c.what << ": last seen " << seen;
    }
}

TEST(TecuAgainstVirtualEcu, TheSentMapComesBackWithTheNextMapRequest) {
    Connected bench;
    Tecu& tecu = bench.tecu();
    for (int i = 0; i < Tecu::kMapPoints; ++i)
        tecu.engineMap[static_cast<std::size_t>(i)] = 32 + i - 5;
    const auto sent = tecu.engineMap;
    tecu.SendMap();
    bench.runFor(100ms);
    tecu.engineMap.fill(0);
    int maps = 0;
    tecu.OnMapReceived.bind([&] { ++maps; });
    tecu.RequestMap();
    ASSERT_TRUE(bench.runUntil([&] { return maps > 0; }, 1s));
    EXPECT_EQ(tecu.engineMap, sent);
}

TEST(TecuAgainstVirtualEcu, ASettingWhileStreamingIsStoppedReportsBusyThenDone) {
    Connected bench;
    Tecu& tecu = bench.tecu();
    tecu.StopStreaming();
    bench.runFor(200ms);
    int32_t divider = 0;
    tecu.OnRpmDividerChanged.bind([&](int32_t v) { divider = v; });
    tecu.SetRpmDivider(3);
    ASSERT_TRUE(bench.runUntil([&] { return tecu.ecuBusy; }, 100ms)) << "busy within the upload's first wait";
    ASSERT_TRUE(bench.runUntil([&] { return !tecu.ecuBusy; }, 1s));
    EXPECT_EQ(divider, 3);
}

TEST(TecuAgainstVirtualEcu, BusyForeverKeepsTheLinkUpButNeverFinishes) {
    Connected bench;
    Tecu& tecu = bench.tecu();
    bench.ecu().faults().busyForever = true;
    tecu.SaveToEcu();
    ASSERT_TRUE(bench.runUntil([&] { return tecu.ecuBusy; }, 100ms));
    const int lost = bench.linkLostCount;
    bench.runFor(12s);
    EXPECT_TRUE(tecu.ecuBusy);
    EXPECT_TRUE(tecu.IsConnected());
    EXPECT_EQ(bench.linkLostCount, lost);
    bench.ecu().faults().busyForever = false;
    EXPECT_TRUE(bench.runUntil([&] { return !tecu.ecuBusy; }, 1s));
}

TEST(TecuAgainstVirtualEcu, SurvivesModerateLineFaultsWithTheLinkUp) {
    struct Case {
        const char* what;
        ecusim::Faults faults;
    };
    const Case cases[] = {
        {"corrupt checksums", {.corruptRate = 0.1}},
        {"dropped bytes", {.dropRate = 0.003}},
        {"noise between frames", {.noiseRate = 0.2}},
        {"all at once", {.corruptRate = 0.05, .dropRate = 0.002, .noiseRate = 0.1}},
    };
    for (const Case& c : cases) {
        SimulatedBench bench(Warm());
        bench.ecu().faults() = c.faults;
        bench.actLikeTheWindow();
        ASSERT_TRUE(bench.open());
        ASSERT_TRUE(bench.runUntil([&] { return bench.tecu().IsConnected(); }, 30s)) << c.what;
        int rpmEvents = 0;
        bench.tecu().OnRpm.bind([&](int32_t) { ++rpmEvents; });
        int32_t divider = 0;
        bench.tecu().OnRpmDividerChanged.bind([&](int32_t v) { divider = v; });
        const int lost = bench.linkLostCount;
        bench.tecu().SetRpmDivider(2);
        bench.runFor(60s);
        EXPECT_EQ(bench.linkLostCount, lost) << c.what;
        EXPECT_TRUE(bench.tecu().IsConnected()) << c.what;
        EXPECT_GT(rpmEvents, 200) << c.what;
        EXPECT_EQ(divider, 2) << c.what << ": a lost status report is made up by the next";
    }
}
