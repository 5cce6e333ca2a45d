#include "sim/serial_line.h"
#include "sim/virtual_ecu.h"
#include "tests/support/ecu_frames.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using ecusim::Bytes;
using ecusim::SerialLine;

TEST(SerialLine, ABytesLeavesOnceItsTransmissionTimeHasPassed) {
    SerialLine line(1920); // one byte per 520.8 us
    line.queue(Bytes(10, 0x55));
    Bytes out;
    line.transmit(520, out);
    EXPECT_EQ(out.size(), 0u);
    line.transmit(1, out);
    EXPECT_EQ(out.size(), 1u);
    line.transmit(4 * 521, out);
    EXPECT_EQ(out.size(), 5u);
    line.transmit(1'000'000, out);
    EXPECT_EQ(out.size(), 10u);
    // An idle second saves up nothing.
    line.queue(Bytes(3, 0xAA));
    line.transmit(0, out);
    EXPECT_EQ(out.size(), 10u);
}

TEST(SerialLine, WithoutALimitEverythingLeavesAtOnce) {
    SerialLine line(0);
    line.queue(Bytes(5000, 1));
    Bytes out;
    line.transmit(0, out);
    EXPECT_EQ(out.size(), 5000u);
}

// Requests faster than the line carries their answers pile up at 19200 baud, 8N1.
TEST(SerialLine, TheEcuSendsNoFasterThanTheLineRate) {
    for (int rate : {1920, 0}) {
        ecusim::VirtualEcu ecu;
        ecu.setBytesPerSecond(rate);
        for (int i = 0; i < 200; ++i)
            ecu.receive(EcuFrames::FromHost({'y'}));
        const std::size_t firstSecond = ecu.advance(1s).size();
        if (rate == 0) {
            EXPECT_EQ(firstSecond, 200u * 18);
        } else {
            EXPECT_GE(firstSecond, 1918u);
            EXPECT_LE(firstSecond, 1920u);
        }
    }
}
