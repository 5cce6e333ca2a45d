// The Status page's repaint cost on a full line with the window at its default size and at
// 1920 x 1080, where every instrument is drawn larger.
#include "ecu/tecu.h"
#include "pages/status_page.h"
#include "tests/support/window_bench.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

const QSize kSizes[] = {{TForm1::kWidth, TForm1::kHeight}, {1920, 1080}};

void BM_StatusPageRepaintAtSize(benchmark::State& state) {
    constexpr auto kSpan = std::chrono::seconds(10);
    ecusim::EcuConfig engine;
    engine.startTemperatureC = 60;
    engine.liveIntervalMs = 1; // the line full
    WindowBench bench(engine);
    TForm1& window = bench.window();
    window.show();
    window.resize(kSizes[state.range(0)]);
    if (!QTest::qWaitForWindowExposed(&window) || !bench.connect()) {
        state.SkipWithError("the window did not connect to the virtual ECU");
        return;
    }
    window.ecu->SetFuel(true);
    window.PageControl1->setCurrentWidget(window.tsdurum);
    bench.runFor(std::chrono::seconds(2));
    QApplication::processEvents();
    bench.onStep = [](auto) { QApplication::processEvents(); };
    for (auto _ : state)
        bench.runFor(kSpan);
    state.counters["width"] = window.width();
    state.counters["height"] = window.height();
}
BENCHMARK(BM_StatusPageRepaintAtSize)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
