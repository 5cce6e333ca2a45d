#pragma once

#include "pages/cylinder_strip.h"
#include "pages/injector_test_page.h"
#include "pages/sensors_page.h"
#include "pages/status_page.h"
#include "tests/support/window_fixture.h"

// The window connected to the fake ECU, with the last live and status reports kept, so that a test
// changes one value and sends the rest unchanged.
class LiveDisplay : public WindowFixture {
protected:
    void SetUp() override {
        CreateWindow();
        Connect();
    }

    // The wire word that the link turns into this injection time (raw x 0.4, truncated).
    static uint16_t WireTime(int hundredthsMs) { return static_cast<uint16_t>((hundredthsMs * 5 + 1) / 2); }

    // Live values are only stored on arrival; the next connected tick's worker pass publishes them.
    void SendLive() {
        Deliver(live.Frame());
        Ticks(1);
        RunPendingWorker();
    }
    void SendStatus() { DeliverAndDispatch(status.Frame()); }
    void SendTime(int cylinder, int hundredthsMs) {
        live.injectionRaw[cylinder - 1] = WireTime(hundredthsMs);
        SendLive();
    }
    void SendFuel(bool gas) {
        status.statusBits = static_cast<uint8_t>(gas ? status.statusBits | 0x01 : status.statusBits & ~0x01);
        SendStatus();
    }

    CylinderStrip& strip() { return *window->VrBlotter1; }
    StatusPage& statusPage() { return *window->tsdurum; }
    InjectorTestPage& testPage() { return *window->ts4; }

    EcuFrames::Live live;
    EcuFrames::Status status;
};
