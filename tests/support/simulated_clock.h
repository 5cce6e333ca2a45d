#pragma once

#include <chrono>
#include <functional>

class SimSerialPort;
class Tecu;

// Simulated time for the benches: each step lets the model and the link run for one slice; nothing
// ever waits on the wall clock.
class SimulatedClock {
public:
    using Millis = std::chrono::milliseconds;
    static constexpr Millis kStep{25};

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
    // One slice: the model's bytes for it, then the link tick whenever the link's interval has passed
    // and the worker pass whenever one is pending.
    void advance(Tecu& link, SimSerialPort& port);

    Millis elapsed{0};
    Millis nextTick{0};
};
