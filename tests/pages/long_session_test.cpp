#include "tests/support/window_bench.h"

#include "ecu/tecu.h"
#include "pages/graphic_page.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

using Millis = WindowBench::Millis;

// Resident memory of this process in kB.
long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

double SoakHours() {
    const char* text = std::getenv("SOAK_HOURS");
    const double hours = text ? std::atof(text) : 8.0;
    return hours > 0 ? hours : 8.0;
}

// Eight hours in simulated time: streaming over a line with rare faults of every kind, the window bound
// offscreen, the graph running and a recording open the whole time.
TEST(LongSession, EightHoursOfFaultyLineWithGraphAndRecording) {
    ecusim::EcuConfig config;
    config.startTemperatureC = 60;
    config.seed = 7;
    WindowBench bench(config);
    auto& faults = bench.ecu().faults();
    faults.corruptRate = 0.002;
    faults.dropRate = 0.0005;
    faults.noiseRate = 0.002;
    ASSERT_TRUE(bench.connect());

    const ecusim::EcuSettings settingsAtStart = bench.ecu().settings();
    TForm1& window = bench.window();
    GraphicPage* graph = window.TabSheet2;
    window.PageControl1->setCurrentWidget(graph);
    QTemporaryDir folder;
    const QString logPath = folder.filePath(QStringLiteral("session.log"));
    bench.files.saveAnswers.push_back(logPath);
    graph->Button22Click();
    ASSERT_TRUE(graph->recording);

    const auto sessionLength = Millis(static_cast<long long>(SoakHours() * 3600.0 * 1000.0));
    long connectedSteps = 0, steps = 0;
    bench.onStep = [&](Millis now) {
        ++steps;
        connectedSteps += window.ecu->IsConnected() ? 1 : 0;
        if (now.count() % GraphicPage::kTickMs == 0)
            graph->logtTimer();
        if (now.count() % 1000 == 0)
            QCoreApplication::processEvents();
        // Every hour ten seconds of silence, and once the cable out for five seconds.
        const long long intoHour = now.count() % 3'600'000;
        faults.silent = intoHour >= 1'800'000 && intoHour < 1'810'000;
        faults.unplugged = now >= std::chrono::minutes(150) && now < std::chrono::minutes(150) + Millis(5000);
    };
    bench.runFor(std::chrono::minutes(10));
    const long residentAtStart = ResidentKb();
    const std::size_t samplesAtStart = graph->History(0).Count();
    bench.runFor(sessionLength - std::chrono::minutes(10));
    bench.onStep = nullptr;
    graph->Button22Click();
    EXPECT_FALSE(graph->recording);

    // Memory: beyond the graph's own samples (four doubles a tick), nothing grows.
    const std::size_t samples = graph->History(0).Count();
    const long sampleKb =
        static_cast<long>((samples - samplesAtStart) * GraphicPage::kCurves * sizeof(double) / 1024);
    const long growthKb = ResidentKb() - residentAtStart;
    EXPECT_LT(growthKb - sampleKb, 20 * 1024) << "grew " << growthKb << " kB, samples " << sampleKb << " kB";

    EXPECT_TRUE(bench.ecu().settings() == settingsAtStart) << "no setting went out that nobody asked for";

    // The link was up nearly all the time.
    const double upShare = static_cast<double>(connectedSteps) / static_cast<double>(steps);
    EXPECT_GT(upShare, 0.98);
    EXPECT_TRUE(window.ecu->IsConnected()) << "back after the last fault";

    // Every recorded line is complete and well formed.
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines.front(), QByteArray("RPM;inj;map;v;mode;\r"));
    EXPECT_TRUE(lines.back().isEmpty()) << "the file ends with a whole line";
    const QRegularExpression wellFormed(QStringLiteral("^\\d+;\\d+;\\d+;\\d+;[BG];\\r$"));
    long bad = 0;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i)
        bad += wellFormed.match(QString::fromLatin1(lines[i])).hasMatch() ? 0 : 1;
    EXPECT_EQ(bad, 0);
    const long recorded = static_cast<long>(lines.size()) - 2;
    EXPECT_NEAR(static_cast<double>(recorded), static_cast<double>(samples), samples * 0.01);

    std::printf(
        "soak %.1f h simulated: link up %.3f %% of the time, %ld lines recorded, %zu samples a curve, "
        "memory grew %ld kB (samples %ld kB)\n",
        SoakHours(), upShare * 100, recorded, samples, growthKb, sampleKb);
}

} // namespace
