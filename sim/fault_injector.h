#pragma once

#include "sim/ecu_side_codec.h"
#include "sim/faults.h"
#include "sim/sim_random.h"

namespace ecusim {

// Spoils reports on their way to the line as the fault knobs ask: noise before the frame, a wrong
// checksum, lost bytes. Its own random stream keeps the engine's noise the same whatever the faults.
class FaultInjector {
public:
    static constexpr uint32_t kMaxNoiseBytes = 6;

    explicit FaultInjector(uint64_t seed);

    // The bytes that reach the line for one encoded report.
    Bytes apply(const Bytes& frame, const Faults& faults);

private:
    void addNoise(Bytes& out);
    void corruptChecksum(Bytes& frame);
    Bytes dropBytes(const Bytes& bytes, double rate);

    SimRandom random;
};

} // namespace ecusim
