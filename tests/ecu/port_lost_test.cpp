#include "tests/ecu/link_fixture.h"
#include "tests/support/handshake.h"

#include <algorithm>
#include <functional>

using namespace EcuFrames;

namespace {

// A pulled USB adapter: the port layer reports the port lost while it was open.
class PortLostTest : public LinkFixture {
protected:
    void RecordPortEvents() {
        ecu.OnPortLost.bind([this] { events.push_back("PortLost"); });
        ecu.OnPortReopened.bind([this] { events.push_back("PortReopened"); });
    }
    int Count(const std::vector<std::string>& list, const std::string& name) {
        return static_cast<int>(std::count(list.begin(), list.end(), name));
    }
};

TEST_F(PortLostTest, LosesTheLinkAtOnceAndSaysSoOnce) {
    Connect();
    RecordAllEvents();
    RecordPortEvents();
    fake->unplug();
    EXPECT_FALSE(ecu.IsPortOpen());
    EXPECT_FALSE(ecu.IsConnected());
    EXPECT_FALSE(ecu.eventsEnabled);
    EXPECT_EQ(ecu.LinkInterval(), Tecu::kTickSlowMs) << "no fast polling of a port that is gone";
    fake->failOpen = true; // still unplugged
    Ticks(30);
    const auto seen = TakeEvents();
    EXPECT_EQ(Count(seen, "LinkLost"), 1);
    EXPECT_EQ(Count(seen, "PortLost"), 1);
    EXPECT_EQ(Count(seen, "PortReopened"), 0);
    EXPECT_TRUE(Written().empty());
}

TEST_F(PortLostTest, RetriesTheSamePortQuietlyEveryTickAndReconnects) {
    Connect();
    RecordPortEvents();
    bool asked = false;
    fake->setPortQuestion([&] {
        asked = true;
        return 3;
    });
    fake->unplug();
    fake->failOpen = true;
    const int before = fake->openCount;
    Ticks(5);
    EXPECT_EQ(fake->openCount, before + 5) << "one attempt a slow tick";
    EXPECT_FALSE(asked);

    fake->failOpen = false; // plugged back
    ecu.LinkTick();
    EXPECT_TRUE(ecu.IsPortOpen());
    EXPECT_EQ(fake->lastOpened, 1);
    EXPECT_EQ(TakeEvents().back(), "PortReopened");
    EXPECT_FALSE(ecu.ReopeningLostPort());

    // The handshake runs again from the start.
    RunHandshake(ecu, *fake);
    const auto sent = Written();
    const auto mapRequest = FromHost({'y'});
    ASSERT_GE(sent.size(), mapRequest.size());
    EXPECT_TRUE(std::equal(mapRequest.begin(), mapRequest.end(), sent.begin()))
        << "starts with the map request";
    EXPECT_TRUE(ecu.IsConnected());
}

TEST_F(PortLostTest, ThePortChosenOrClosedByTheFitterEndsTheRetries) {
    struct Case {
        const char* name;
        void (*act)(Tecu&);
    };
    const Case cases[] = {
        {"Disconnect", [](Tecu& t) { t.Disconnect(); }},
        {"SetPort", [](Tecu& t) { t.SetPort(2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        fake->unplug();
        ASSERT_TRUE(ecu.ReopeningLostPort());
        c.act(ecu);
        EXPECT_FALSE(ecu.ReopeningLostPort());
        const int before = fake->openCount;
        Ticks(3);
        EXPECT_EQ(fake->openCount, before);
    }
}

TEST_F(PortLostTest, APortChosenByTheQuestionIsRetriedByItsNumber) {
    ecu.SetPort(0);
    int asked = 0;
    fake->setPortQuestion([&] { return ++asked, 4; });
    ASSERT_TRUE(ecu.OpenPort());
    fake->unplug();
    ecu.LinkTick();
    EXPECT_TRUE(ecu.IsPortOpen());
    EXPECT_EQ(fake->lastOpened, 4);
    EXPECT_EQ(asked, 1);
}

// What an operation of several frames relies on to stop at once: every frame that did not go out whole,
// and a port lost while open, is counted; a frame that went out is not.
TEST_F(PortLostTest, EveryFrameThatDidNotGoOutWholeCountsAsALineFault) {
    struct Case {
        const char* name;
        std::function<void(FakeSerialPort&)> fault; // before the frame
        std::function<void(FakeSerialPort&)> after; // once the frame is queued
        uint32_t faults;
    };
    const Case cases[] = {
        {"written whole", [](auto&) {}, [](auto&) {}, 0},
        {"write fails", [](auto& p) { p.failWrite = true; }, [](auto&) {}, 1},
        {"short write", [](auto& p) { p.shortWrite = true; }, [](auto&) {}, 1},
        {"port closed", [](auto& p) { p.close(); }, [](auto&) {}, 1},
        {"queued bytes fail later", [](auto&) {}, [](auto& p) { p.failQueuedWrite(); }, 1},
        {"port lost, then a frame", [](auto& p) { p.unplug(); }, [](auto&) {}, 2},
    };
    for (const Case& c : cases) {
        Open();
        fake->failWrite = fake->shortWrite = false;
        const uint32_t before = ecu.lineFaults;
        c.fault(*fake);
        ecu.SetFuel(true);
        c.after(*fake);
        EXPECT_EQ(ecu.lineFaults - before, c.faults) << c.name;
    }
}

} // namespace
