#include "tests/ecu/link_fixture.h"

#include <random>

using namespace EcuFrames;

namespace {

// Counts dispatched frames by watching the busy report, which only sets ecuBusy.
class ReceiverTest : public LinkFixture {
protected:
    void SetUp() override { Open(); }
    // A frame the receiver hands on leaves ecuBusy set; the test clears it before each case.
    bool BusyAfter(const Bytes& bytes) {
        ecu.ecuBusy = false;
        Deliver(bytes);
        return ecu.ecuBusy;
    }
};

TEST_F(ReceiverTest, SendsHostFramesWithLowByteFirst) {
    struct Case {
        void (Tecu::*command)();
        Bytes expected;
    };
    const Case cases[] = {
        {&Tecu::RequestMap, {0x00, 0xF0, 0x01, 0x79, 0x7A, 0x00}},
        {&Tecu::RequestVersion, {0x00, 0xF0, 0x02, 0x76, 0xFA, 0x72, 0x01}},
    };
    for (const Case& c : cases) {
        (ecu.*c.command)();
        EXPECT_EQ(Written(), c.expected);
    }
}

TEST_F(ReceiverTest, ClosedPortSendsNothing) {
    ecu.SetPort(1);
    ecu.RequestMap();
    EXPECT_TRUE(Written().empty());
}

TEST_F(ReceiverTest, AcceptsOnlyTheEcuChecksumOrder) {
    EXPECT_TRUE(BusyAfter({0x00, 0xF0, 0x01, 0x62, 0x00, 0x63}));
    EXPECT_FALSE(BusyAfter({0x00, 0xF0, 0x01, 0x62, 0x63, 0x00}));
    EXPECT_FALSE(BusyAfter({0x00, 0xF0, 0x01, 0x62, 0x00, 0x64}));
}

TEST_F(ReceiverTest, AssemblesFramesSplitOverNotifications) {
    const Bytes frame = BusyReport();
    for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
        fake->deliver({frame[i]});
        EXPECT_FALSE(ecu.ecuBusy) << "dispatched early at byte " << i;
    }
    fake->deliver({frame.back()});
    EXPECT_TRUE(ecu.ecuBusy);
}

TEST_F(ReceiverTest, DispatchesSeveralFramesOfOneNotificationInOrder) {
    ecu.ecuBusy = false;
    // busy then map: the map report clears the busy flag again, so order shows in the result
    Deliver(Concat({BusyReport(), MapReportOfValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})}));
    EXPECT_FALSE(ecu.ecuBusy);
    EXPECT_EQ(ecu.engineMap[11], 12);
    Deliver(Concat({MapReportOfValues({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), BusyReport()}));
    EXPECT_TRUE(ecu.ecuBusy);
    EXPECT_EQ(ecu.engineMap[11], 0);
}

TEST_F(ReceiverTest, LengthLimits) {
    Bytes fifty(50, 0);
    fifty[0] = 'b';
    EXPECT_TRUE(BusyAfter(FromEcu(fifty)));

    Bytes fiftyOne(51, 0);
    fiftyOne[0] = 'b';
    // The 51-byte frame is dropped at its length byte; a frame right after it still arrives.
    EXPECT_FALSE(BusyAfter(FromEcu(fiftyOne)));
    EXPECT_EQ(ecu.rxState, 0u);
    EXPECT_TRUE(BusyAfter(Concat({{0x00, 0xF0, 51}, BusyReport()})));
}

TEST_F(ReceiverTest, DoubleZeroBeforeMarkerIsNoFrameStart) {
    Bytes frame = BusyReport();
    frame.insert(frame.begin(), 0x00);
    EXPECT_FALSE(BusyAfter(frame));
}

TEST_F(ReceiverTest, LengthZeroSwallowsNinetyNineBytesAndDropsTheHundredth) {
    Bytes filler(100, 0x55);
    EXPECT_FALSE(BusyAfter(Concat({{0x00, 0xF0, 0x00}, filler})));
    EXPECT_EQ(ecu.rxState, 0u);
    EXPECT_TRUE(BusyAfter(BusyReport()));
}

TEST_F(ReceiverTest, InterruptedFrameIsAbandonedAfterElevenQuietTicks) {
    const Bytes frame = BusyReport();
    const Bytes head(frame.begin(), frame.begin() + 4);
    const Bytes tail(frame.begin() + 4, frame.end());

    Deliver(head);
    Ticks(10);
    EXPECT_TRUE(BusyAfter(tail)) << "ten quiet ticks keep the frame";

    Deliver(head);
    Ticks(11);
    EXPECT_FALSE(BusyAfter(tail));
    EXPECT_TRUE(BusyAfter(BusyReport()));
}

TEST_F(ReceiverTest, BytesOfANestedNotificationDuringDispatchAreDropped) {
    // A handler that lets another notification in while a map report is dispatched.
    ecu.eventsEnabled = true;
    ecu.OnMapReceived.bind([this] { fake->deliver(BusyReport()); });
    ecu.ecuBusy = false;
    Deliver(MapReportOfValues({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(ecu.ecuBusy);
    EXPECT_TRUE(fake->input.empty()) << "the nested bytes are taken from the port";
    EXPECT_FALSE(ecu.frameBusy);
}

TEST_F(ReceiverTest, FailedByteTakeFlushesBothBuffers) {
    fake->queue(BusyReport());
    fake->failTake = true;
    const int flushesBefore = fake->flushCount;
    fake->notify(6);
    EXPECT_EQ(fake->flushCount, flushesBefore + 1);
    EXPECT_FALSE(ecu.ecuBusy);
}

TEST_F(ReceiverTest, NotificationLongerThanOneBlockDispatchesEveryFrame) {
    // Frames of 18 bytes do not divide the block, so some straddle a block boundary.
    int maps = 0;
    ecu.eventsEnabled = true;
    ecu.OnMapReceived.bind([&] { ++maps; });
    Bytes stream;
    for (int i = 0; i < 40; ++i)
        stream = Concat({stream, MapReportOfValues({i, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    ASSERT_GT(stream.size(), 2 * Tecu::kReceiveBlockSize);
    Deliver(stream);
    EXPECT_EQ(maps, 40);
    EXPECT_EQ(ecu.engineMap[0], 39);
}

// A noisy stream of good, corrupt, over-long and length-0 frames between random bytes.
Bytes NoisyStream(std::mt19937& random) {
    Bytes stream;
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int part = 0; part < 400; ++part) {
        Bytes piece;
        switch (pick(5)) {
        case 0:
            piece = BusyReport();
            break;
        case 1:
            piece = MapReportOfValues({pick(128), pick(128), 0, 0, 0, 0, 0, 0, 0, 0, 0, pick(128)});
            break;
        case 2:
            piece = Concat(
                {{0x00, 0xF0, static_cast<uint8_t>(pick(3) == 0 ? 0 : 45 + pick(10))}, Bytes(120, 0x55)});
            break;
        case 3:
            piece = MapReportOfValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
            piece[static_cast<std::size_t>(pick(static_cast<int>(piece.size())))] ^= 0x10;
            break;
        default:
            for (int i = pick(8); i > 0; --i)
                piece.push_back(static_cast<uint8_t>(pick(3) == 0 ? 0 : pick(256)));
            break;
        }
        stream = Concat({stream, piece});
    }
    return stream;
}

TEST_F(ReceiverTest, BlocksOfAnySizeEndInTheStateByteByByteReceptionReaches) {
    std::mt19937 random(20261210);
    const Bytes stream = NoisyStream(random);
    Tecu reference(std::make_unique<FakeSerialPort>());
    auto sameState = [&] {
        return ecu.rxState == reference.rxState && ecu.rxCount == reference.rxCount &&
               ecu.rxLength == reference.rxLength && ecu.rxSum == reference.rxSum &&
               ecu.ecuBusy == reference.ecuBusy && ecu.engineMap == reference.engineMap &&
               std::equal(ecu.rxBuffer, ecu.rxBuffer + ecu.rxCount, reference.rxBuffer);
    };
    for (std::size_t at = 0; at < stream.size();) {
        const std::size_t size = std::min<std::size_t>(1 + random() % 600, stream.size() - at);
        const Bytes chunk(stream.begin() + static_cast<std::ptrdiff_t>(at),
                          stream.begin() + static_cast<std::ptrdiff_t>(at + size));
        Deliver(chunk);
        for (uint8_t b : chunk)
            reference.ReceiveByte(b);
        at += size;
        ASSERT_TRUE(sameState()) << "after " << at << " of " << stream.size() << " bytes";
    }
}

TEST_F(ReceiverTest, PortRunningShortOfTheCountKeepsWhatWasTakenAndFlushes) {
    fake->queue(BusyReport());
    ecu.ecuBusy = false;
    const int flushesBefore = fake->flushCount;
    fake->notify(static_cast<uint16_t>(BusyReport().size() + 10));
    EXPECT_TRUE(ecu.ecuBusy);
    EXPECT_EQ(fake->flushCount, flushesBefore + 1);
}

} // namespace
