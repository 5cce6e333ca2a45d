#pragma once

#include <cstdint>

namespace ecusim {

// What the virtual ECU and its engine are at power-up. Fault knobs live apart (faults.h) because they
// change while it runs.
struct EcuConfig {
    uint64_t seed = 1;
    bool slavePresent = true;        // the slave ECU for cylinders 5 to 8
    double startTemperatureC = 20.0; // reducer temperature at power-up
    uint8_t versionMajor = 2;
    uint8_t versionMinor = 7;
    uint16_t tankReading = 420; // converter counts, 0..1023
    double idleRpm = 850.0;
    double petrolMs = 2.5; // injection time of cylinder 1 at idle
    // Gas injectors need this much longer than petrol ones before the base correction takes it back;
    // with 1.6 ms gas and petrol agree near a base correction of 50.
    double gasLagMs = 1.6;
    int liveIntervalMs = 40;
    int statusEveryLive = 4;   // one status report with every fourth live report while streaming
    int bytesPerSecond = 1920; // 19200 baud, 8N1; 0 lifts the limit
};

} // namespace ecusim
