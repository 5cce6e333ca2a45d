// The link's own cost: the receiver with DispatchFrame on the ECU's stream, and one live report's dispatch.
#include "bench/stream_port.h"
#include "ecu/tecu.h"
#include "tests/support/ecu_frames.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

constexpr int kLiveFrames = 64;
constexpr int kLivePerStatus = 4; // as the ECU mixes them while streaming

// Live values that differ from frame to frame, so every report is stored, not only compared.
EcuFrames::Live LiveNumber(int i) {
    EcuFrames::Live live;
    live.cylinderStatus = static_cast<uint8_t>(1 + i % 15);
    for (int c = 0; c < Tecu::kCylinders; ++c)
        live.injectionRaw[c] = static_cast<uint16_t>(600 + 7 * i + c);
    live.periodB = static_cast<uint16_t>(35000 + 40 * i);
    live.lambda = static_cast<uint16_t>(200 + 11 * i);
    live.gasPressure = static_cast<uint16_t>(300 + 3 * i);
    return live;
}

EcuFrames::Bytes EcuStream() {
    EcuFrames::Bytes stream;
    for (int i = 0; i < kLiveFrames; ++i) {
        const EcuFrames::Bytes live = LiveNumber(i).Frame();
        stream.insert(stream.end(), live.begin(), live.end());
        if (i % kLivePerStatus == kLivePerStatus - 1) {
            EcuFrames::Status status;
            status.reducerTemperature = static_cast<int16_t>(2000 + i); // the reducer warms up
            const EcuFrames::Bytes frame = status.Frame();
            stream.insert(stream.end(), frame.begin(), frame.end());
        }
    }
    return stream;
}

// A link past its handshake, with the display's events enabled, as it runs while connected.
void Connect(Tecu& link) {
    link.OpenPort();
    link.linkState = 5;
    link.eventsEnabled = true;
}

void BM_ReceiverWithDispatch(benchmark::State& state) {
    const EcuFrames::Bytes stream = EcuStream();
    auto port = std::make_unique<StreamPort>(stream);
    StreamPort& line = *port;
    Tecu link(std::move(port));
    Connect(link);
    int statusEvents = 0;
    link.OnReducerTemperature.bind([&statusEvents](int32_t) { ++statusEvents; });

    const auto chunk = static_cast<uint16_t>(stream.size());
    for (auto _ : state)
        line.deliver(chunk);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * chunk);
    if (statusEvents == 0)
        state.SkipWithError("no status report was decoded");
}
BENCHMARK(BM_ReceiverWithDispatch);

void BM_DispatchLiveReport(benchmark::State& state) {
    Tecu link(std::make_unique<StreamPort>(EcuFrames::Bytes{0}));
    Connect(link);
    const EcuFrames::Bytes reports[2] = {LiveNumber(0).Payload(), LiveNumber(1).Payload()};
    int which = 0;
    for (auto _ : state) {
        const EcuFrames::Bytes& payload = reports[which];
        which ^= 1;
        std::memcpy(link.rxBuffer, payload.data(), payload.size());
        link.rxLength = static_cast<uint32_t>(payload.size());
        link.frameBusy = true;
        link.DispatchFrame();
        benchmark::DoNotOptimize(link.rpm);
    }
    if (!link.changedFlags[Tecu::LiveInjection1])
        state.SkipWithError("the live report was not stored");
}
BENCHMARK(BM_DispatchLiveReport);

} // namespace

int main(int argc, char** argv) {
    // The link's timer wants the thread's event dispatcher.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
