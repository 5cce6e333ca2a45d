// Grabs the main window with each page shown, connected to the virtual ECU with the engine warm and on
// gas, into PNG files: take_screenshots [folder] (default: docs).
#include "tests/support/window_bench.h"

#include "ecu/tecu.h"
#include "pages/calibration_page.h"
#include "pages/graphic_page.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

namespace {

const char* const kPageFiles[] = {"status-page",  "graphic-page",     "sensors-page",
                                  "options-page", "calibration-page", "injector-test-page"};

// A minute of all four curves: the simulated clock drives the graph's ticks, not its wall-clock timer.
void RunGraph(WindowBench& bench, GraphicPage& graph) {
    for (QCheckBox* check : {graph.ch1, graph.ch2, graph.ch3, graph.ch4})
        check->setChecked(true);
    graph.Button19Click();
    graph.logt->stop();
    for (int tick = 0; tick < 600; ++tick) {
        bench.runFor(std::chrono::milliseconds(GraphicPage::kTickMs));
        graph.logtTimer();
    }
    QApplication::processEvents();
    const QRectF plot = graph.Chart1->chart()->plotArea();
    graph.Chart1MouseMove(static_cast<int>(plot.top() + 0.4 * plot.height())); // off the grid lines
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(folder);

    ecusim::EcuConfig config;
    config.startTemperatureC = 60;
    WindowBench bench(config);
    TForm1& window = bench.window();
    window.show();
    if (!bench.connect()) {
        std::fprintf(stderr, "the window did not connect to the virtual ECU\n");
        return 1;
    }
    window.ecu->SetFuel(true);
    bench.runFor(std::chrono::seconds(3));

    int failures = 0;
    for (int page = 0; page < window.PageControl1->count(); ++page) {
        window.PageControl1->setCurrentIndex(page);
        if (window.PageControl1->currentWidget() == window.TabSheet2) {
            RunGraph(bench, *window.TabSheet2);
        } else if (window.PageControl1->currentWidget() == window.ts3) {
            // A whole automatic calibration, so the page shows its result and the map it tuned.
            window.ts3->startbtnClick();
            bench.runUntil([&] { return !window.ecu->calibrationActive; }, std::chrono::minutes(3));
            bench.runFor(std::chrono::seconds(2));
        } else
            bench.runFor(std::chrono::seconds(1));
        QApplication::processEvents();
        const QString path =
            QDir(folder).filePath(QString::fromLatin1(kPageFiles[page]) + QStringLiteral(".png"));
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    return failures == 0 ? 0 : 1;
}
