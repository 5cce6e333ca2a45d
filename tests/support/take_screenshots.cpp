// Grabs the main window with each page shown, connected to the virtual ECU with the engine warm and on
// gas, into PNG files: take_screenshots [folder] (default: docs). Then the Status page on the smallest
// window and on a 1920 x 1080 screen, the program settings, the Status page and the program settings in
// the languages the README shows, and the Graphic page during a replay.
#include "tests/support/window_bench.h"

#include "app/lang/language_table.h"
#include "app/program_settings_panel.h"
#include "ecu/tecu.h"
#include "pages/calibration_page.h"
#include "pages/cylinder_strip.h"
#include "pages/graphic_page.h"
#include "pages/status_page.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>

#include <cmath>
#include <cstdio>

namespace {

const char* const kPageFiles[] = {"status-page",  "graphic-page",     "sensors-page",
                                  "options-page", "calibration-page", "injector-test-page"};

// A script of its own and a right-to-left one.
const char* const kShownLanguages[] = {"Thai", "Arabic"};

bool Save(TForm1& window, const QString& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The program settings as a fitter opens them, with the language picked there; "Close" then rewrites the
// values in it.
int TakeProgramSettings(WindowBench& bench, const QString& folder, const char* language,
                        const QString& name) {
    TForm1& window = bench.window();
    window.VrBlotter1->Button17->click();
    if (language) {
        QComboBox* list = window.VrBlotter3->langcombo;
        list->setCurrentIndex(LanguageTable::PositionForDisplayName(QString::fromLatin1(language)));
        emit list->activated(list->currentIndex());
    }
    bench.runFor(std::chrono::milliseconds(500));
    const bool saved = Save(window, folder, name);
    window.VrBlotter3->Button20->click();
    return saved ? 0 : 1;
}

// All four curves for a number of ticks (a minute unless told): the simulated clock drives the graph's
// ticks, not its wall-clock timer.
void RunGraph(WindowBench& bench, GraphicPage& graph, int ticks = 600) {
    for (QCheckBox* check : {graph.ch1, graph.ch2, graph.ch3, graph.ch4})
        check->setChecked(true);
    graph.Button19Click();
    graph.logt->stop();
    for (int tick = 0; tick < ticks; ++tick) {
        bench.runFor(std::chrono::milliseconds(GraphicPage::kTickMs));
        graph.logtTimer();
    }
    QApplication::processEvents();
    const QRectF plot = graph.Chart1->chart()->plotArea();
    graph.Chart1MouseMove(static_cast<int>(plot.top() + 0.4 * plot.height())); // off the grid lines
}

// Half a minute of a made-up drive as "Record" writes it: idle on petrol, the switch to gas, a pull to
// 3000 rpm, a cruise, a lift and a light cruise; the screenshot is taken in the light cruise.
std::vector<drive_log::Line> MadeUpDrive() {
    const auto speedAt = [](double t) {
        if (t < 6)
            return 850.0;
        if (t < 14)
            return 850.0 + (t - 6) * 268.75;
        if (t < 22)
            return 3000.0 + 200.0 * std::sin((t - 14) * 0.8);
        if (t < 26)
            return 3000.0 - (t - 22) * 350.0;
        return 1600.0 + 40.0 * (t - 26);
    };
    std::vector<drive_log::Line> drive;
    for (int i = 0; i < 300; ++i) {
        const double t = i / 10.0;
        const double rpm = speedAt(t);
        const double load = (rpm - 850.0) / 2350.0;
        const double lambda = 110.0 + 70.0 * std::sin(t * 1.9) + 60.0 * load;
        drive.push_back({static_cast<uint32_t>(rpm), static_cast<uint32_t>(250.0 + 320.0 * load),
                         static_cast<uint32_t>(268.0 - 25.0 * load),
                         static_cast<uint32_t>(std::max(lambda, 0.0)), t >= 4.0});
    }
    return drive;
}

// The virtual ECU replays the drive into a new window, whose graph draws it as on the road.
bool TakeReplayGraph(const QString& folder) {
    ecusim::EcuConfig config;
    config.startTemperatureC = 60;
    WindowBench bench(config);
    ecusim::DriveReplay replay(MadeUpDrive(), 1.0, false);
    replay.togglePause(); // on its first line until the window is connected
    bench.ecu().startReplay(std::move(replay));
    TForm1& window = bench.window();
    window.show();
    if (!bench.connect())
        return false;
    bench.ecu().replay()->togglePause();
    window.PageControl1->setCurrentWidget(window.TabSheet2);
    RunGraph(bench, *window.TabSheet2, 290);
    return Save(window, folder, QStringLiteral("graphic-page-replay"));
}

// The Status page on the smallest window and on a full workshop screen, then the default size again.
int TakeSizes(WindowBench& bench, const QString& folder) {
    TForm1& window = bench.window();
    const QSize normal = window.size();
    window.PageControl1->setCurrentWidget(window.tsdurum);
    int failures = 0;
    const struct {
        QSize size;
        const char* name;
    } shots[] = {{{TForm1::kMinWidth, TForm1::kMinHeight}, "status-page-800x600"},
                 {{1920, 1080}, "status-page-1920x1080"}};
    for (const auto& shot : shots) {
        window.resize(shot.size);
        bench.runFor(std::chrono::seconds(1));
        if (!Save(window, folder, QString::fromLatin1(shot.name)))
            ++failures;
    }
    window.resize(normal);
    bench.runFor(std::chrono::milliseconds(500));
    return failures;
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
        if (!Save(window, folder, QString::fromLatin1(kPageFiles[page])))
            ++failures;
    }

    failures += TakeSizes(bench, folder);
    failures += TakeProgramSettings(bench, folder, nullptr, QStringLiteral("program-settings"));
    for (const char* language : kShownLanguages) {
        const QString suffix = QStringLiteral("-") + QString::fromLatin1(language).toLower();
        failures += TakeProgramSettings(bench, folder, language, QStringLiteral("program-settings") + suffix);
        window.PageControl1->setCurrentIndex(0);
        bench.runFor(std::chrono::seconds(1));
        if (!Save(window, folder, QStringLiteral("status-page") + suffix))
            ++failures;
    }
    if (!TakeReplayGraph(folder))
        ++failures;
    return failures == 0 ? 0 : 1;
}
