// One worker pass of the real window, connected to the virtual ECU, with the Status page shown and all
// twelve live values changed since the last pass.
#include "ecu/tecu.h"
#include "pages/status_page.h"
#include "tests/support/window_bench.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// Two sets of live values that differ in every value, in the link's order of live values.
struct LiveSet {
    int32_t rpm;
    int32_t injection; // cylinder n gets injection + n
    int32_t cylinderStatus;
    int32_t lambda;
    int32_t gasPressure;
};
constexpr LiveSet kSets[2] = {{850, 250, 0x0F, 300, 312}, {1730, 410, 0xF0, 700, 355}};

void Publish(Tecu& link, const LiveSet& set) {
    link.rpm = set.rpm;
    for (int n = 0; n < Tecu::kCylinders; ++n)
        link.injectionTime[n] = set.injection + n;
    link.cylinderStatus = set.cylinderStatus;
    link.lambda = set.lambda;
    link.gasPressure = set.gasPressure;
    link.changedFlags.fill(true);
}

// The window shown offscreen on the Status page, connected, with the engine warm on gas.
class ShownWindow {
public:
    explicit ShownWindow(int liveIntervalMs = ecusim::EcuConfig{}.liveIntervalMs)
        : bench(WarmEngine(liveIntervalMs)) {
        TForm1& window = bench.window();
        window.show();
        ready = QTest::qWaitForWindowExposed(&window) && bench.connect();
        window.ecu->SetFuel(true);
        bench.runFor(std::chrono::seconds(2));
        window.PageControl1->setCurrentWidget(window.tsdurum);
        Settle();
    }
    static ecusim::EcuConfig WarmEngine(int liveIntervalMs) {
        ecusim::EcuConfig config;
        config.startTemperatureC = 60;
        config.liveIntervalMs = liveIntervalMs;
        return config;
    }
    // Lets every pending repaint happen.
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // False, with the benchmark marked skipped, when the window did not connect.
    bool ReadyOr(benchmark::State& state) {
        if (!ready)
            state.SkipWithError("the window did not connect to the virtual ECU");
        return ready;
    }
    // One worker pass after every live value changed, alternating between the two sets.
    void ChangedPass() {
        Tecu& link = *bench.window().ecu;
        Publish(link, kSets[which]);
        which ^= 1;
        link.WorkerPass();
    }

    WindowBench bench;
    bool ready = false;

private:
    int which = 0;
};

void BM_WorkerPassStatusPage(benchmark::State& state) {
    ShownWindow shown;
    if (!shown.ReadyOr(state))
        return;
    for (auto _ : state)
        shown.ChangedPass();
}
BENCHMARK(BM_WorkerPassStatusPage)->Iterations(4000)->Unit(benchmark::kMicrosecond);

// Counts the widgets painted, to tell a repaint of what changed from a repaint of everything.
class PaintCounter : public QObject {
public:
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int64_t paints = 0;
};

// The same pass with the repaint it leads to, which the program pays on every tick as well.
void BM_WorkerPassWithRepaint(benchmark::State& state) {
    ShownWindow shown;
    if (!shown.ReadyOr(state))
        return;
    PaintCounter counter;
    for (auto _ : state) {
        shown.ChangedPass();
        ShownWindow::Settle();
    }
    state.counters["widgets_painted"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WorkerPassWithRepaint)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// Ten seconds of the virtual ECU's noisy engine on a full line, in simulated time, with every repaint
// it causes: what the program pays on the Status page without its event loop's and the port's costs.
void BM_StatusPageOnFullLine(benchmark::State& state) {
    constexpr auto kSpan = std::chrono::seconds(10);
    ShownWindow shown(1);
    if (!shown.ReadyOr(state))
        return;
    shown.bench.onStep = [](auto) { QApplication::processEvents(); };
    PaintCounter counter;
    for (auto _ : state)
        shown.bench.runFor(kSpan);
    const double simulatedSeconds = static_cast<double>(state.iterations()) * kSpan.count();
    state.counters["widgets_painted_per_second"] = static_cast<double>(counter.paints) / simulatedSeconds;
}
BENCHMARK(BM_StatusPageOnFullLine)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
