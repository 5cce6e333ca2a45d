#include "tests/support/handshake.h"

#include "ecu/tecu.h"
#include "tests/support/ecu_frames.h"
#include "tests/support/fake_serial_port.h"

using namespace EcuFrames;

void RunHandshake(Tecu& ecu, FakeSerialPort& port, uint8_t major, uint8_t minor) {
    ecu.LinkTick();
    port.deliver(MapReportOfValues({32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32}));
    ecu.LinkTick();
    port.deliver(VersionReport(major, minor));
    port.deliver(Status{}.Frame());
    ecu.LinkTick();
    port.deliver(Live{}.Frame());
    ecu.LinkTick();
}
