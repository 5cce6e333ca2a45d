// Grabs the main window with each page shown, connected to the virtual ECU with the engine warm and on
// gas, into PNG files: take_screenshots [folder] (default: docs).
#include "tests/support/window_bench.h"

#include "ecu/tecu.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

namespace {

const char* const kPageFiles[] = {"status-page", "graphic-page", "sensors-page",
                                  "options-page", "calibration-page", "injector-test-page"};

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
        bench.runFor(std::chrono::seconds(page == 1 ? 20 : 1)); // the graph needs some history
        QApplication::processEvents();
        const QString path = QDir(folder).filePath(QString::fromLatin1(kPageFiles[page]) + QStringLiteral(".png"));
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    return failures == 0 ? 0 : 1;
}
