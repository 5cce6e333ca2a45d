#pragma once

#include "tests/support/simulated_clock.h"

#include "app/tform1.h"
#include "sim/virtual_ecu.h"
#include "tests/support/sim_serial_port.h"
#include "tests/support/window_fixture.h"

#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>

// The real main window against the virtual ECU in simulated time: runFor lets the model run in steps,
// delivers its bytes, runs the link tick whenever the link's interval has passed and the worker pass
// whenever one is pending. Dialogs and file choice are the recording seams; nothing waits on the clock.
class WindowBench : public SimulatedClock {
public:
    explicit WindowBench(const ecusim::EcuConfig& config = {},
                         const QByteArray& ini = "[Main]\r\nComport=COM7\r\n");
    ~WindowBench();

    TForm1& window() { return *form; }
    ecusim::VirtualEcu& ecu() { return model; }
    SimSerialPort& port() { return *serial; }

    // Runs until the link is connected and the first live values are on screen.
    bool connect(Millis limit = Millis(5000));

    // Runs after every step, with the simulated time: for timers of the pages that the bench does not run.
    std::function<void(Millis)> onStep;

    RecordingMessages messages;
    ScriptedFiles files;

private:
    void step() override;

    QTemporaryDir folder;
    ecusim::VirtualEcu model;
    SimSerialPort* serial = nullptr; // owned by the link
    std::unique_ptr<TForm1> form;
};
