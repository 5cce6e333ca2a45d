#pragma once

#include "tests/support/simulated_clock.h"

#include "ecu/tecu.h"
#include "sim/virtual_ecu.h"
#include "tests/support/sim_serial_port.h"

#include <chrono>
#include <functional>

// The link Tecu against the virtual ECU in simulated time, with nothing running on its own: runFor lets
// the model run in steps, delivers its bytes, runs the link tick whenever the link's timer interval has
// passed and the worker pass whenever one is pending. A test never waits on the wall clock.
class SimulatedBench : public SimulatedClock {
public:
    explicit SimulatedBench(const ecusim::EcuConfig& config = {}, int portNumber = 7);

    ecusim::VirtualEcu& ecu() { return model; }
    Tecu& tecu() { return link; }
    SimSerialPort& port() { return *serial; }

    // SetPort and OpenPort with the bench's port number.
    bool open();
    // Binds OnConnected the way the main window does (events enabled, RefreshAll, map request) and counts
    // OnConnected and OnLinkLost. A test that binds these events itself does without.
    void actLikeTheWindow();

    int connectedCount = 0;
    int linkLostCount = 0;

private:
    void step() override;

    ecusim::VirtualEcu model;
    SimSerialPort* serial; // owned by the link
    Tecu link;
    int portNumber;
};
