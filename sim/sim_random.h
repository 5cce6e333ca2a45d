#pragma once

#include <cstdint>

namespace ecusim {

// A small generator (splitmix64) whose sequence is the same on every platform and library, which the
// standard distributions do not promise; a seed replays a run exactly.
class SimRandom {
public:
    explicit SimRandom(uint64_t seed) : state(seed) {}

    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [-amplitude, amplitude).
    double spread(double amplitude) { return (unit() * 2.0 - 1.0) * amplitude; }
    bool chance(double rate) { return rate > 0.0 && unit() < rate; }
    // Uniform in [0, n); n must be positive.
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }

private:
    uint64_t state;
};

} // namespace ecusim
