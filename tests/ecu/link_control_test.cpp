#include "tests/ecu/link_fixture.h"

#include <QCoreApplication>

using namespace EcuFrames;

namespace {

const Bytes kRequestMap = FromHost({'y'});
const Bytes kRequestVersion = FromHost({'v', 0xFA});
const Bytes kStart = FromHost({'*'});
const Bytes kStop = FromHost({'x'});
const Bytes kMap = MapReportOfValues({32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32});

using LinkTest = LinkFixture;

TEST_F(LinkTest, NeverOpenedPortStaysSilent) {
    RecordAllEvents();
    Ticks(5);
    EXPECT_TRUE(Written().empty());
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(ecu.linkState, 0u);
    EXPECT_EQ(ecu.LinkInterval(), Tecu::kTickStartMs);
    EXPECT_TRUE(ecu.LinkTimerActive());
}

TEST_F(LinkTest, FirstTickAfterOpenLosesTheLinkAndRequestsTheMap) {
    Open();
    RecordAllEvents();
    ecu.LinkTick();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"LinkLost"});
    EXPECT_EQ(Written(), kRequestMap);
    EXPECT_EQ(ecu.LinkInterval(), Tecu::kTickSlowMs);
}

TEST_F(LinkTest, HandshakeInOrderConnectsWithFastTicks) {
    Open();
    ecu.LinkTick();
    EXPECT_EQ(Written(), kRequestMap);
    Deliver(kMap);
    EXPECT_EQ(ecu.linkState, 1u);
    ecu.LinkTick();
    EXPECT_EQ(Written(), kRequestVersion);
    Deliver(VersionReport(2, 7));
    EXPECT_EQ(ecu.linkState, 2u);
    ecu.LinkTick();
    EXPECT_TRUE(Written().empty()) << "state 2 waits for the ECU's own status report";
    Deliver(Status{}.Frame());
    EXPECT_EQ(ecu.linkState, 3u);
    ecu.LinkTick();
    EXPECT_EQ(Written(), kStart);
    Deliver(Live{}.Frame());
    EXPECT_EQ(ecu.linkState, 4u);

    int connected = 0;
    ecu.OnConnected.bind([&] { ++connected; });
    ecu.LinkTick();
    EXPECT_EQ(connected, 1);
    EXPECT_TRUE(ecu.IsConnected());
    EXPECT_EQ(ecu.LinkInterval(), Tecu::kTickConnectedMs);
    EXPECT_FALSE(ecu.eventsEnabled) << "only the subscriber enables the events";
    EXPECT_EQ(ecu.ecuVersionMajor, 2);
    EXPECT_EQ(ecu.ecuVersionMinor, 7);
}

TEST_F(LinkTest, ReportsOutOfOrderDoNotAdvanceTheHandshake) {
    Open();
    ecu.LinkTick();
    for (const Bytes& wrong : {VersionReport(1, 0), Status{}.Frame(), Live{}.Frame()}) {
        Deliver(wrong);
        EXPECT_EQ(ecu.linkState, 0u);
    }
    Deliver(kMap);
    for (const Bytes& wrong : {Status{}.Frame(), Live{}.Frame(), kMap}) {
        Deliver(wrong);
        EXPECT_EQ(ecu.linkState, 1u);
    }
}

TEST_F(LinkTest, LinkIsLostOnTheHundredAndFirstQuietTick) {
    Connect();
    RecordAllEvents();
    Deliver(Live{}.Frame());
    Ticks(100);
    EXPECT_TRUE(ecu.IsConnected());
    EXPECT_TRUE(TakeEvents().empty());
    Written();
    ecu.LinkTick();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"LinkLost"});
    EXPECT_EQ(ecu.linkState, 0u);
    EXPECT_FALSE(ecu.eventsEnabled);
    EXPECT_EQ(Written(), kRequestMap);
    EXPECT_EQ(ecu.LinkInterval(), Tecu::kTickSlowMs);
    ecu.LinkTick();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"LinkLost"}) << "raised on every tick at timeout 0";
}

// The periods the ECU's side relies on, written out here rather than taken from the link's constants.
TEST_F(LinkTest, TicksEvery100MsAtFirstEverySecondWhileConnectingOrLostEvery25MsConnected) {
    EXPECT_EQ(ecu.LinkInterval(), 100);
    EXPECT_TRUE(ecu.LinkTimerActive());
    Open();
    ecu.LinkTick();
    EXPECT_EQ(ecu.LinkInterval(), 1000) << "connecting";
    Deliver(kMap);
    ecu.LinkTick();
    EXPECT_EQ(ecu.LinkInterval(), 1000) << "connecting";
    Deliver(VersionReport(2, 7));
    Deliver(Status{}.Frame());
    ecu.LinkTick();
    Deliver(Live{}.Frame());
    ecu.LinkTick();
    ASSERT_TRUE(ecu.IsConnected());
    EXPECT_EQ(ecu.LinkInterval(), 25) << "connected";
    Ticks(101);
    ASSERT_FALSE(ecu.IsConnected());
    EXPECT_EQ(ecu.LinkInterval(), 1000) << "lost";
}

// A handshake whose ECU stops answering half-way is given up only when the timeout of its last report
// runs out: on the 101st slow tick, about 101 s, it starts again from the map request.
TEST_F(LinkTest, AHandshakeStalledInStateOneOrThreeFallsBackAfter101SlowTicks) {
    struct Case {
        uint32_t state;
        Bytes everyTick; // what the link keeps asking in that state
    };
    const Case cases[] = {{1, kRequestVersion}, {3, kStart}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        Open();
        ecu.LinkTick();
        Deliver(kMap);
        if (c.state == 3) {
            ecu.LinkTick();
            Deliver(VersionReport(2, 7));
            Deliver(Status{}.Frame());
        }
        ASSERT_EQ(ecu.linkState, c.state);
        Written();
        RecordAllEvents();
        for (int tick = 1; tick <= 100; ++tick) {
            ecu.LinkTick();
            ASSERT_EQ(ecu.linkState, c.state) << "tick " << tick;
            ASSERT_EQ(Written(), c.everyTick) << "tick " << tick;
        }
        EXPECT_TRUE(TakeEvents().empty());
        EXPECT_EQ(ecu.LinkInterval(), 1000);
        ecu.LinkTick();
        EXPECT_EQ(TakeEvents(), std::vector<std::string>{"LinkLost"});
        EXPECT_EQ(ecu.linkState, 0u);
        EXPECT_EQ(Written(), kRequestMap);
        ecu.ClearEventHandlers();
        ecu.Disconnect();
        Written();
    }
}

struct KeepAliveCase {
    const char* name;
    Bytes report;
    bool keepsUp;
};

class KeepAliveTest : public LinkFixture, public ::testing::WithParamInterface<KeepAliveCase> {};

TEST_P(KeepAliveTest, EveryReportButTheVersionKeepsTheLinkUp) {
    Connect();
    for (int round = 0; round < 3; ++round) {
        Ticks(90);
        Deliver(GetParam().report);
    }
    EXPECT_EQ(ecu.IsConnected(), GetParam().keepsUp);
}

INSTANTIATE_TEST_SUITE_P(Reports, KeepAliveTest,
                         ::testing::Values(KeepAliveCase{"live", Live{}.Frame(), true},
                                           KeepAliveCase{"status", Status{}.Frame(), true},
                                           KeepAliveCase{"busy", BusyReport(), true},
                                           KeepAliveCase{"map", kMap, true},
                                           KeepAliveCase{"version", VersionReport(2, 7), false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkTest, DisconnectFreezesTheLinkUntilReopened) {
    Connect();
    Deliver(Live{}.Frame());
    ecu.Disconnect();
    EXPECT_EQ(Written(), kStop);
    EXPECT_FALSE(ecu.IsPortOpen());
    Ticks(500);
    EXPECT_TRUE(ecu.IsConnected()) << "a closed port freezes the state";
    EXPECT_EQ(ecu.LinkInterval(), Tecu::kTickConnectedMs);

    ASSERT_TRUE(ecu.OpenPort());
    Ticks(100);
    EXPECT_TRUE(ecu.IsConnected()) << "the timeout runs on from where it stood";
    ecu.LinkTick();
    EXPECT_FALSE(ecu.IsConnected());
}

TEST_F(LinkTest, OpenPortOnAnOpenPortReopens) {
    Open();
    const int before = fake->openCount;
    EXPECT_TRUE(ecu.OpenPort());
    EXPECT_EQ(fake->openCount, before + 1);
    EXPECT_TRUE(ecu.IsPortOpen());
    fake->failOpen = true;
    EXPECT_FALSE(ecu.OpenPort());
    EXPECT_FALSE(ecu.IsPortOpen());
}

TEST_F(LinkTest, PortZeroAsksTheQuestion) {
    struct Case {
        int answer;
        bool opens;
        uint16_t portAfter;
    };
    for (const Case& c : {Case{7, true, 7}, Case{0, false, 0}}) {
        ecu.SetPort(0);
        fake->setPortQuestion([&] { return c.answer; });
        EXPECT_EQ(ecu.OpenPort(), c.opens);
        EXPECT_EQ(ecu.PortNumber(), c.portAfter);
    }
    fake->setPortQuestion(nullptr);
    ecu.SetPort(0);
    EXPECT_FALSE(ecu.OpenPort()) << "without a question port 0 does not open";
}

TEST_F(LinkTest, ConnectedTicksPostOneWorkerPassAtMost) {
    Connect();
    RecordAllEvents();
    Deliver(Live{.periodB = 10000}.Frame());
    ecu.LinkTick();
    ecu.LinkTick();
    EXPECT_TRUE(ecu.WorkerPending());
    ecu.WorkerExecute();
    EXPECT_FALSE(ecu.WorkerPending());
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"Rpm=3000"});
    // The call posted by the ticks finds nothing left to do.
    QCoreApplication::processEvents();
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(LinkTest, PostedWorkerPassRunsFromTheEventLoop) {
    Connect();
    RecordAllEvents();
    Deliver(Live{.lambda = 130}.Frame());
    ecu.LinkTick();
    QCoreApplication::processEvents();
    EXPECT_EQ(TakeEvents(), std::vector<std::string>{"Lambda=130"});
    EXPECT_FALSE(ecu.WorkerPending());
}

} // namespace

namespace {

TEST_F(LinkTest, ALostStatusReportAfterTheVersionIsAskedForAgain) {
    Open();
    ecu.LinkTick();
    Deliver(kMap);
    ecu.LinkTick();
    Deliver(VersionReport(2, 7)); // its status report never arrives
    Written();
    for (int tick = 0; tick < Tecu::kStatusWaitTicks; ++tick) {
        ecu.LinkTick();
        EXPECT_TRUE(Written().empty()) << "the ECU gets a few ticks to send it by itself";
    }
    ecu.LinkTick();
    EXPECT_EQ(Written(), kRequestVersion);
    Deliver(VersionReport(2, 7));
    Deliver(Status{}.Frame());
    ecu.LinkTick();
    EXPECT_EQ(Written(), kStart);
    Deliver(Live{}.Frame());
    ecu.LinkTick();
    EXPECT_TRUE(ecu.IsConnected());
}

} // namespace
