#pragma once

#include "sim/keyboard.h"
#include "sim/port_link.h"
#include "sim/pseudo_terminal.h"
#include "sim/status_line.h"
#include "sim/virtual_ecu.h"

#include <chrono>
#include <csignal>
#include <memory>
#include <string>

namespace ecusim {

// Serves the virtual ECU in real time on a pseudo-terminal that the tool reaches as COMn. Waits in poll()
// for the host, a key or the next step, so it never spins.
class EcuServer {
public:
    static constexpr int kStepMs = 10;
    static constexpr int kStatusEveryMs = 250;
    static constexpr std::chrono::seconds kHostQuietLimit{3};
    static constexpr int kStaleBytes = 1024; // unread by the host: nobody has the port open

    EcuServer(VirtualEcu& ecu, int com, std::string portsFolder);

    // Opens a pseudo-terminal and links COMn to it, as plugging in a cable.
    bool plug(std::string& error);
    // Closes both: the host's port reports the device gone.
    void unplug();
    bool plugged() const { return pty != nullptr; }
    const std::string& devicePath() const;
    const std::string& linkPath() const;

    // Until stop is set or q is pressed; false when waiting failed.
    bool run(const volatile std::sig_atomic_t& stop, Keyboard& keys, StatusLine& status);
    StatusSnapshot snapshot() const;

private:
    using Clock = std::chrono::steady_clock;

    bool waitForInput(Keyboard& keys, bool& keyWaiting);
    void readHost();
    void serveTime();
    void watchHost();
    // False when the key asks to quit.
    bool onKey(char key);

    VirtualEcu& model;
    int comNumber;
    std::string folder;
    std::unique_ptr<PseudoTerminal> pty;
    std::unique_ptr<PortLink> link;
    Clock::time_point lastStep;
    Clock::time_point lastStatus;
    std::size_t writtenSinceWatch = 0;
    int unreadAtWatch = 0;
    bool hostReading = false;
    bool masterHungUp = false;
};

} // namespace ecusim
