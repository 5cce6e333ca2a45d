// Drawing the Graphic page after a short and after an eight-hour history (ten samples a second): the
// chart only ever holds the page shown, so both should cost the same.
#include "pages/graphic_page.h"
#include "tests/support/window_bench.h"

#include <QCheckBox>
#include <QLineSeries>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void FillHistory(GraphicPage& page, int64_t samples) {
    for (int64_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i);
        page.AddPoints({85 + 10 * std::sin(t / 40), 50 + 5 * std::sin(t / 7), 450 + 300 * std::sin(t / 3),
                        312 + 20 * std::sin(t / 90)});
    }
}

void BM_DrawGraphicPage(benchmark::State& state) {
    WindowBench bench;
    TForm1& window = bench.window();
    window.show();
    GraphicPage& page = *window.TabSheet2;
    window.PageControl1->setCurrentWidget(&page);
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("the window was not shown");
        return;
    }
    for (QCheckBox* check : {page.ch1, page.ch2, page.ch3, page.ch4})
        check->setChecked(true);
    FillHistory(page, state.range(0));
    if (page.History(0).Count() != static_cast<std::size_t>(state.range(0))) {
        state.SkipWithError("the graph did not keep every sample");
        return;
    }
    for (auto _ : state) {
        QPixmap drawn = page.grab();
        benchmark::DoNotOptimize(drawn);
    }
    state.counters["points_drawn"] = static_cast<double>(page.Line(0)->count());
}
BENCHMARK(BM_DrawGraphicPage)->Arg(300)->Arg(288000)->Iterations(200)->Unit(benchmark::kMillisecond);

} // namespace
