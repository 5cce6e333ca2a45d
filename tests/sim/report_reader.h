#pragma once

#include "sim/ecu_side_codec.h"
#include "sim/virtual_ecu.h"

#include <chrono>
#include <cstdint>
#include <vector>

// Reads the ECU's reports back out of its byte stream the way the host does (checksum high byte
// first), and decodes them with the host's formulas, so tests see what the program would show.
class ReportReader {
public:
    struct Timed {
        int64_t atUs;
        ecusim::Bytes payload;
    };

    void feed(const ecusim::Bytes& bytes, int64_t atUs = 0);
    std::vector<Timed> reports;
    int badFrames = 0;

    std::vector<ecusim::Bytes> ofType(uint8_t letter) const;
    std::vector<uint8_t> letters() const;

private:
    enum class State { Hunting, Marker, Length, Payload, SumHigh, SumLow };
    State state = State::Hunting;
    ecusim::Bytes frame;
    std::size_t expected = 0;
    uint8_t high = 0;
};

// Advances the model in steps and reads everything it sends, with the time each step ended.
ReportReader RunFor(ecusim::VirtualEcu& ecu, std::chrono::milliseconds span,
                    std::chrono::milliseconds step = std::chrono::milliseconds(5));

// The host's view of a live report (0.01 ms, rpm, counts) and of a status report.
struct LiveView {
    explicit LiveView(const ecusim::Bytes& payload, int rpmDivider = 1, bool rpmPin = false);
    int rpm;
    int injection[8];
    int cylinderStatus;
    int lambda;
    double pressureBar;
};

struct StatusView {
    explicit StatusView(const ecusim::Bytes& payload);
    int baseCorrection, injectorProtection, rpmDivider, switchTemperature, tankMax, tankMin, injectorTestMask,
        gasInjectorMask, reducerTemperature, tankSensor, minGasPressure, switchRpmIndex;
    bool gasMode, rpmPin, slaveEcu, mapSensor, fastChange;
};
