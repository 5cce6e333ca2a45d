#include "sim/ecu_side_codec.h"
#include "tests/support/ecu_frames.h"

#include <gtest/gtest.h>

using ecusim::Bytes;
using ecusim::HostFrameReceiver;

TEST(EcuSideCodec, ReportsCarryTheirChecksumHighByteFirst) {
    EXPECT_EQ(ecusim::EncodeReport({'b'}), (Bytes{0x00, 0xF0, 0x01, 0x62, 0x00, 0x63}));
    Bytes longPayload(40, 0xFF);
    const Bytes frame = ecusim::EncodeReport(longPayload);
    const uint16_t sum = 40 + 40 * 0xFF;
    EXPECT_EQ(frame[frame.size() - 2], sum >> 8);
    EXPECT_EQ(frame.back(), sum & 0xFF);
}

namespace {

struct Fed {
    int frames = 0;
    Bytes last;
};

Fed FeedAll(HostFrameReceiver& receiver, const Bytes& bytes, int64_t atUs = 0, int64_t stepUs = 0) {
    Fed fed;
    for (uint8_t b : bytes) {
        if (receiver.feed(b, atUs)) {
            ++fed.frames;
            fed.last = receiver.payload();
        }
        atUs += stepUs;
    }
    return fed;
}

} // namespace

TEST(EcuSideCodec, TakesTheHostsFramesWithTheLowByteFirst) {
    struct Case {
        const char* what;
        Bytes bytes;
        int frames;
        Bytes payload;
    };
    const Case cases[] = {
        {"request map", {0x00, 0xF0, 0x01, 0x79, 0x7A, 0x00}, 1, {'y'}},
        {"request version", {0x00, 0xF0, 0x02, 0x76, 0xFA, 0x72, 0x01}, 1, {'v', 0xFA}},
        {"checksum high byte first", {0x00, 0xF0, 0x02, 0x76, 0xFA, 0x01, 0x72}, 0, {}},
        {"noise and a doubled marker before the frame",
         {0x13, 0x00, 0x00, 0xF0, 0x01, 0x79, 0x7A, 0x00},
         1,
         {'y'}},
        {"length above 50", {0x00, 0xF0, 0x33, 0x00, 0xF0, 0x01, 0x79, 0x7A, 0x00}, 1, {'y'}},
        {"two frames back to back",
         EcuFrames::Concat({EcuFrames::FromHost({'*'}), EcuFrames::FromHost({'x'})}),
         2,
         {'x'}},
    };
    for (const Case& c : cases) {
        HostFrameReceiver receiver;
        const Fed fed = FeedAll(receiver, c.bytes);
        EXPECT_EQ(fed.frames, c.frames) << c.what;
        EXPECT_EQ(fed.last, c.payload) << c.what;
    }
}

TEST(EcuSideCodec, AStalledFrameIsAbandonedSoTheNextOneCounts) {
    HostFrameReceiver receiver;
    // The tail of the first frame never comes: the next frame must not be swallowed as its payload.
    FeedAll(receiver, {0x00, 0xF0, 0x05, 'l', 0x10}, 0);
    const Fed fed = FeedAll(receiver, EcuFrames::FromHost({'y'}), HostFrameReceiver::kGapUs + 1);
    EXPECT_EQ(fed.frames, 1);
    EXPECT_EQ(fed.last, Bytes{'y'});
    EXPECT_EQ(receiver.badFrames(), 1u);
}
