#include "tests/support/simulated_bench.h"

#include <memory>

namespace {

std::unique_ptr<SimSerialPort> MakePort(ecusim::VirtualEcu& model, SimSerialPort*& keep) {
    auto port = std::make_unique<SimSerialPort>(model);
    keep = port.get();
    return port;
}

} // namespace

SimulatedBench::SimulatedBench(const ecusim::EcuConfig& config, int number)
    : model(config), serial(nullptr), link(MakePort(model, serial)), portNumber(number) {
    nextTick = Millis(link.LinkInterval());
}

bool SimulatedBench::open() {
    link.SetPort(portNumber);
    return link.OpenPort();
}

void SimulatedBench::actLikeTheWindow() {
    link.OnConnected.bind([this] {
        ++connectedCount;
        link.eventsEnabled = true;
        link.RefreshAll();
        link.RequestMap();
    });
    link.OnLinkLost.bind([this] { ++linkLostCount; });
}

void SimulatedBench::step() {
    advance(link, *serial);
}
