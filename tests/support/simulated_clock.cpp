#include "tests/support/simulated_clock.h"

#include "ecu/tecu.h"
#include "tests/support/sim_serial_port.h"

#include <QCoreApplication>
#include <QEvent>

void SimulatedClock::advance(Tecu& link, SimSerialPort& port) {
    port.pump(kStep);
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
