#pragma once

#include "ecu/tecu.h"
#include "tests/support/ecu_frames.h"
#include "tests/support/fake_serial_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A link on a fake port; records every event it raises by name.
class LinkFixture : public ::testing::Test {
protected:
    LinkFixture();

    void Open();
    void Deliver(const EcuFrames::Bytes& bytes) { fake->deliver(bytes); }
    void Ticks(int n);
    // Runs the handshake to link state 5 and binds the recorder with events enabled.
    void Connect();
    void RecordAllEvents();
    std::vector<uint8_t> Written() { return fake->takeWritten(); }
    std::vector<std::string> TakeEvents();

    FakeSerialPort* fake;
    Tecu ecu;
    std::vector<std::string> events;
};
