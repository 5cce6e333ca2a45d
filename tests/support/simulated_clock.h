#pragma once

#include <chrono>
#include <functional>

// Simulated time for the benches: each step lets the model and the link run for one slice; nothing
// ever waits on the wall clock.
class SimulatedClock {
public:
    using Millis = std::chrono::milliseconds;

    virtual ~SimulatedClock() = default;

    void runFor(Millis span) {
        const Millis end = elapsed + span;
        while (elapsed < end)
            step();
    }
    // Runs until done() holds or the limit has passed; true when it held.
    bool runUntil(const std::function<bool()>& done, Millis limit) {
        const Millis end = elapsed + limit;
        while (!done()) {
            if (elapsed >= end)
                return false;
            step();
        }
        return true;
    }
    Millis now() const { return elapsed; }

protected:
    // Advances `elapsed` by one slice.
    virtual void step() = 0;

    Millis elapsed{0};
};
