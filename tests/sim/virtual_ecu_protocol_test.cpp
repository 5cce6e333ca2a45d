#include "sim/virtual_ecu.h"
#include "tests/sim/report_reader.h"
#include "tests/support/ecu_frames.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace std::chrono_literals;
using ecusim::Bytes;
using ecusim::VirtualEcu;

namespace {

void Send(VirtualEcu& ecu, const Bytes& payload) {
    ecu.receive(EcuFrames::FromHost(payload));
}

ecusim::EcuConfig Warm() {
    ecusim::EcuConfig config;
    config.startTemperatureC = 75.0;
    return config;
}

StatusView LastStatus(const ReportReader& reader) {
    const auto statuses = reader.ofType('2');
    EXPECT_FALSE(statuses.empty());
    return StatusView(statuses.empty() ? Bytes(19, 0) : statuses.back());
}

} // namespace

TEST(VirtualEcuProtocol, AnswersEachRequestWithItsReport) {
    struct Case {
        const char* what;
        Bytes command;
        std::vector<uint8_t> letters;
    };
    const Case cases[] = {
        {"map", {'y'}, {'y'}},
        {"version, then a status report of its own", {'v', 0xFA}, {'v', '2'}},
        {"version without its key byte", {'v', 0x00}, {}},
        {"status", {'2'}, {'2'}},
        {"save: busy, then a report when done", {'w', 'w'}, {'b', 'b', '2'}},
        {"load: busy, then a report when done", {'w', 'r'}, {'b', 'b', '2'}},
        {"a setting while stopped: busy, then a report", {'d', 3}, {'b', '2'}},
        {"a refused setting gets no report", {'d', 9}, {}},
        {"an unknown letter", {'q'}, {}},
        {"a command short of its bytes", {'l', 1, 2}, {}},
    };
    for (const Case& c : cases) {
        VirtualEcu ecu;
        Send(ecu, c.command);
        const ReportReader reader = RunFor(ecu, 1s);
        EXPECT_EQ(reader.letters(), c.letters) << c.what;
        EXPECT_EQ(reader.badFrames, 0) << c.what;
    }
}

TEST(VirtualEcuProtocol, VersionAndMapReportsCarryTheirValues) {
    ecusim::EcuConfig config;
    config.versionMajor = 3;
    config.versionMinor = 14;
    VirtualEcu ecu(config);
    Send(ecu, {'v', 0xFA});
    Send(ecu, {'y'});
    const ReportReader reader = RunFor(ecu, 200ms);
    ASSERT_EQ(reader.ofType('v').size(), 1u);
    EXPECT_EQ(reader.ofType('v')[0], (Bytes{'v', 14, 3}));
    ASSERT_EQ(reader.ofType('y').size(), 1u);
    Bytes flat(13, 95); // a flat map is step 0 everywhere, 127 - 32 on the wire
    flat[0] = 'y';
    EXPECT_EQ(reader.ofType('y')[0], flat);
}

TEST(VirtualEcuProtocol, StreamsLiveReportsWithStatusReportsAmongThemUntilStopped) {
    VirtualEcu ecu;
    Send(ecu, {'*'});
    const ReportReader reader = RunFor(ecu, 3s);
    ASSERT_FALSE(reader.reports.empty());
    EXPECT_EQ(reader.reports.front().payload[0], '1') << "a live report comes first";
    EXPECT_GE(reader.ofType('1').size(), 50u);
    int64_t lastStatus = 0;
    int64_t longestGap = 0;
    for (const auto& r : reader.reports) {
        if (r.payload[0] != '2')
            continue;
        longestGap = std::max(longestGap, r.atUs - lastStatus);
        lastStatus = r.atUs;
    }
    EXPECT_LE(longestGap, 200'000);
    EXPECT_EQ(reader.ofType('1').front().size(), 27u);
    EXPECT_EQ(reader.ofType('2').front().size(), 19u);

    Send(ecu, {'x'});
    RunFor(ecu, 100ms); // what was on the line still goes out
    EXPECT_TRUE(RunFor(ecu, 2s).reports.empty());
    EXPECT_FALSE(ecu.streaming());
}

// Every setting command, while streaming and while stopped, shows in the following status reports.
// Asked for reports faster than the line carries them, the ECU fills the line and waits for it
// rather than queueing reports that would arrive ever later.
TEST(VirtualEcuProtocol, ShortLiveIntervalFillsTheLineWithoutFallingBehind) {
    ecusim::EcuConfig config;
    config.liveIntervalMs = 1;
    VirtualEcu ecu(config);
    Send(ecu, {'*'});
    const ReportReader reader = RunFor(ecu, 10s);
    std::size_t bytes = 0;
    for (const auto& r : reader.reports)
        bytes += r.payload.size() + 5;
    EXPECT_GE(bytes, 19'000u) << "the line carries 1920 bytes a second";
    EXPECT_GE(reader.ofType('2').size(), reader.ofType('1').size() / 4);

    Send(ecu, {'x'});
    RunFor(ecu, 40ms); // at most the report under way and its status report
    EXPECT_TRUE(RunFor(ecu, 1s).reports.empty());
}

TEST(VirtualEcuProtocol, ReportsEverySettingBack) {
    struct Case {
        const char* what;
        Bytes command;
        int StatusView::*field;
        int expected;
    };
    const Case cases[] = {
        {"rpm divider", {'d', 4}, &StatusView::rpmDivider, 4},
        {"switch temperature", {'c', 55}, &StatusView::switchTemperature, 55},
        {"min gas pressure", {'b', 0x2C, 0x01}, &StatusView::minGasPressure, 300},
        {"tank max", {'l', 0xE8, 0x03, 0x14, 0x00}, &StatusView::tankMax, 1000},
        {"tank min", {'l', 0x00, 0x02, 0x14, 0x00}, &StatusView::tankMin, 20},
        {"base correction", {'n', 127 - 90}, &StatusView::baseCorrection, 90},
        {"base correction 0", {'n', 127}, &StatusView::baseCorrection, 0},
        {"gas injectors", {'m', 0x05}, &StatusView::gasInjectorMask, 0x05},
        {"injector protection", {'p', 30}, &StatusView::injectorProtection, 30},
        {"switch rpm", {'e', 5}, &StatusView::switchRpmIndex, 5},
    };
    for (bool streaming : {true, false}) {
        for (const Case& c : cases) {
            VirtualEcu ecu;
            if (streaming) {
                Send(ecu, {'*'});
                RunFor(ecu, 300ms);
            }
            Send(ecu, c.command);
            const ReportReader reader = RunFor(ecu, 500ms);
            EXPECT_EQ(LastStatus(reader).*c.field, c.expected)
                << c.what << (streaming ? " streaming" : " stopped");
        }
    }
}

TEST(VirtualEcuProtocol, ReportsSwitchesBackInTheStatusBits) {
    struct Case {
        uint8_t letter;
        bool StatusView::*bit;
    };
    const Case cases[] = {
        {'u', &StatusView::rpmPin}, {'h', &StatusView::mapSensor}, {'f', &StatusView::fastChange}};
    for (const Case& c : cases) {
        VirtualEcu ecu;
        for (uint8_t value : {1, 0}) {
            Send(ecu, {c.letter, value});
            EXPECT_EQ(LastStatus(RunFor(ecu, 200ms)).*c.bit, value != 0) << c.letter;
        }
    }
}

TEST(VirtualEcuProtocol, StoresTheSentMapForTheNextMapRequest) {
    VirtualEcu ecu;
    Bytes map{'t'};
    for (int i = 0; i < 12; ++i)
        map.push_back(static_cast<uint8_t>(127 - (32 + i - 6))); // steps -6 .. 5
    Send(ecu, map);
    RunFor(ecu, 200ms);
    Send(ecu, {'y'});
    const auto maps = RunFor(ecu, 200ms).ofType('y');
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(Bytes(maps[0].begin() + 1, maps[0].end()), Bytes(map.begin() + 1, map.end()));
    EXPECT_EQ(ecu.settings().map[0], 26);
}

TEST(VirtualEcuProtocol, SettingsWhileStreamingAreTakenWithoutBusy) {
    VirtualEcu ecu;
    Send(ecu, {'*'});
    RunFor(ecu, 100ms);
    Send(ecu, {'d', 2});
    EXPECT_TRUE(RunFor(ecu, 500ms).ofType('b').empty());
    EXPECT_FALSE(ecu.busy());
}

TEST(VirtualEcuProtocol, SaveAndLoadCopyTheSettingsToAndFromTheStore) {
    VirtualEcu ecu;
    Send(ecu, {'d', 3});
    Send(ecu, {'w', 'w'});
    RunFor(ecu, 1s);
    Send(ecu, {'d', 6});
    RunFor(ecu, 200ms);
    EXPECT_EQ(ecu.settings().rpmDivider, 6);
    Send(ecu, {'w', 'r'});
    const ReportReader reader = RunFor(ecu, 1s);
    EXPECT_EQ(LastStatus(reader).rpmDivider, 3);
}

TEST(VirtualEcuProtocol, StreamingPausesWhileBusyAndResumesWhenDone) {
    VirtualEcu ecu;
    Send(ecu, {'*'});
    RunFor(ecu, 200ms);
    Send(ecu, {'w', 'w'});
    const ReportReader reader = RunFor(ecu, 1500ms);
    const auto letters = reader.letters();
    const auto firstBusy = std::find(letters.begin(), letters.end(), 'b');
    const auto done = std::find(firstBusy, letters.end(), '2');
    ASSERT_NE(firstBusy, letters.end());
    ASSERT_NE(done, letters.end());
    EXPECT_EQ(std::count(firstBusy, done, '1'), 0) << "no live report while working";
    EXPECT_GT(std::count(done, letters.end(), '1'), 10) << "streaming resumes";
}

TEST(VirtualEcuProtocol, GasOnlyOnceTheReducerIsWarm) {
    ecusim::EcuConfig config;
    config.startTemperatureC = 20.0;
    VirtualEcu ecu(config);
    Send(ecu, {'r'});
    Send(ecu, {'2'});
    EXPECT_FALSE(LastStatus(RunFor(ecu, 100ms)).gasMode);
    while (ecu.reducerTemperatureC() < ecu.settings().switchTemperature)
        ecu.advance(1s);
    Send(ecu, {'2'});
    EXPECT_FALSE(LastStatus(RunFor(ecu, 100ms)).gasMode) << "a refused request is not remembered";
    Send(ecu, {'r'});
    Send(ecu, {'2'});
    const StatusView onGas = LastStatus(RunFor(ecu, 100ms));
    EXPECT_TRUE(onGas.gasMode);
    EXPECT_EQ(onGas.injectorTestMask, 0x00) << "every cylinder with a gas injector runs on gas";
    Send(ecu, {'s'});
    Send(ecu, {'2'});
    const StatusView onPetrol = LastStatus(RunFor(ecu, 100ms));
    EXPECT_FALSE(onPetrol.gasMode);
    EXPECT_EQ(onPetrol.injectorTestMask, 0xFF);
}

TEST(VirtualEcuProtocol, TestInjectorMovesOneCylinderToTheOtherFuel) {
    VirtualEcu ecu(Warm());
    struct Step {
        uint8_t bit;
        uint8_t stateSeen; // 1: the host sees petrol
        int mask;
    };
    const Step steps[] = {
        {0x04, 1, 0xFB}, {0x04, 1, 0xFB}, // the same click twice before a report: still one change
        {0x01, 1, 0xFA}, {0x04, 0, 0xFE}, {0x80, 1, 0x7E},
    };
    for (const Step& s : steps) {
        Send(ecu, {'a', s.bit, s.stateSeen});
        Send(ecu, {'2'});
        EXPECT_EQ(LastStatus(RunFor(ecu, 100ms)).injectorTestMask, s.mask) << int(s.bit);
    }
}

TEST(VirtualEcuProtocol, TestInjectorKeepsACylinderOnPetrolWhileTheReducerIsCold) {
    VirtualEcu ecu;
    Send(ecu, {'a', 0x01, 1});
    Send(ecu, {'2'});
    EXPECT_EQ(LastStatus(RunFor(ecu, 100ms)).injectorTestMask, 0xFF);
}

TEST(VirtualEcuProtocol, AnAbsentSlaveLeavesCylindersFiveToEightOut) {
    ecusim::EcuConfig config = Warm();
    config.slavePresent = false;
    VirtualEcu ecu(config);
    Send(ecu, {'r'});
    Send(ecu, {'*'});
    const ReportReader reader = RunFor(ecu, 300ms);
    const StatusView status = LastStatus(reader);
    EXPECT_FALSE(status.slaveEcu);
    EXPECT_EQ(status.gasInjectorMask, 0x0F);
    const LiveView live(reader.ofType('1').back());
    EXPECT_EQ(live.cylinderStatus, 0x0F);
    for (int n = 4; n < 8; ++n)
        EXPECT_EQ(live.injection[n], 0) << n + 1;
}
