#include "tests/support/window_fixture.h"

#include <QTabWidget>

#include <array>
#include <random>

using namespace EcuFrames;

namespace {

// Every value a status report carries, changed at random; on a noisy line a corrupted report whose
// checksum happens to pass looks just like this.
Status RandomStatus(std::mt19937& random) {
    auto byte = [&] { return static_cast<uint8_t>(random() & 0xFF); };
    auto word = [&] { return static_cast<uint16_t>(random() & 0xFFFF); };
    Status s;
    s.baseCorrectionByte = byte();
    s.injectorProtection = byte();
    s.rpmDivider = byte();
    s.switchTemperature = byte();
    s.tankMax = word();
    s.tankMin = word();
    s.injectorTestMask = byte();
    s.gasInjectorMask = byte();
    s.reducerTemperature = static_cast<int16_t>(word());
    s.tankSensor = word();
    s.minGasPressure = word();
    s.switchRpmIndex = byte();
    s.statusBits = byte();
    return s;
}

Bytes RandomMap(std::mt19937& random) {
    std::array<uint8_t, 12> wire{};
    for (uint8_t& b : wire)
        b = static_cast<uint8_t>(random() & 0xFF);
    return MapReport(wire);
}

Live RandomLive(std::mt19937& random) {
    Live live;
    live.cylinderStatus = static_cast<uint8_t>(random() & 0xFF);
    for (uint16_t& t : live.injectionRaw)
        t = static_cast<uint16_t>(random() & 0xFFFF);
    live.periodA = static_cast<uint16_t>(random() & 0xFFFF);
    live.periodB = static_cast<uint16_t>(random() & 0xFFFF);
    live.lambda = static_cast<uint16_t>(random() & 0xFFFF);
    live.gasPressure = static_cast<uint16_t>(random() & 0xFFFF);
    return live;
}

using ReportEcho = WindowFixture;

// What the ECU reports is shown, never sent back: a burst of reports that changes every status value and
// the map, on every page in turn, sends not one byte.
TEST_F(ReportEcho, ABurstOfChangedReportsSendsNothing) {
    constexpr int kReports = 400;
    CreateWindow();
    Connect();
    window->show();
    std::mt19937 random(20);
    for (int i = 0; i < kReports; ++i) {
        window->PageControl1->setCurrentIndex(i / 10 % window->PageControl1->count());
        Deliver(RandomStatus(random).Frame());
        if (i % 3 == 0)
            Deliver(RandomMap(random));
        Deliver(RandomLive(random).Frame());
        Ticks(1);
        RunPendingWorker();
        ASSERT_TRUE(window->ecu->IsConnected()) << "report " << i;
        const std::vector<uint8_t> sent = Written();
        ASSERT_TRUE(sent.empty()) << "report " << i << " sent " << sent.size() << " bytes";
    }
}

} // namespace
