#pragma once

#include <cstdint>

class Tecu;
class FakeSerialPort;

// Answers the link's handshake on an open fake port, one report a tick, up to the connected state:
// map, version with the ECU's own status report, then a live report.
void RunHandshake(Tecu& ecu, FakeSerialPort& port, uint8_t major = 2, uint8_t minor = 7);
