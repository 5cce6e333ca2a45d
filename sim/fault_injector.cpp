#include "sim/fault_injector.h"

namespace ecusim {

namespace {
constexpr uint64_t kFaultStream = 0x6661756C7473ull;
}

FaultInjector::FaultInjector(uint64_t seed) : random(seed ^ kFaultStream) {}

Bytes FaultInjector::apply(const Bytes& frame, const Faults& faults) {
    Bytes out;
    if (random.chance(faults.noiseRate))
        addNoise(out);
    Bytes report = frame;
    if (random.chance(faults.corruptRate))
        corruptChecksum(report);
    out.insert(out.end(), report.begin(), report.end());
    return faults.dropRate > 0.0 ? dropBytes(out, faults.dropRate) : out;
}

void FaultInjector::addNoise(Bytes& out) {
    const uint32_t count = 1 + random.below(kMaxNoiseBytes);
    for (uint32_t i = 0; i < count; ++i)
        out.push_back(static_cast<uint8_t>(random.below(256)));
}

void FaultInjector::corruptChecksum(Bytes& frame) {
    // Never XOR with 0, so the checksum really changes.
    if (!frame.empty())
        frame.back() ^= static_cast<uint8_t>(1 + random.below(255));
}

Bytes FaultInjector::dropBytes(const Bytes& bytes, double rate) {
    Bytes kept;
    kept.reserve(bytes.size());
    for (uint8_t b : bytes)
        if (!random.chance(rate))
            kept.push_back(b);
    return kept;
}

} // namespace ecusim
