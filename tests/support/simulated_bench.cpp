#include "tests/support/simulated_bench.h"

#include <QCoreApplication>
#include <QEvent>

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
    serial->pump(kStep);
    elapsed += kStep;
    while (elapsed >= nextTick) {
        link.LinkTick();
        // A timer given a new interval starts counting it afresh.
        nextTick += Millis(link.LinkInterval());
        if (link.WorkerPending()) {
            link.WorkerExecute();
            // The pass has run; the deferred call the link posted for it has nothing left to do.
            QCoreApplication::removePostedEvents(&link, QEvent::MetaCall);
        }
    }
}
