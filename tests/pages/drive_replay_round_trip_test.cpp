#include "tests/support/window_bench.h"

#include "ecu/tecu.h"
#include "files/drive_log.h"
#include "pages/graphic_page.h"

#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

using drive_log::Line;
using Millis = WindowBench::Millis;

// What the program shows of a line; the line numbers of two files do not matter.
auto Values(const Line& line) {
    return std::make_tuple(line.rpm, line.injection, line.gasPressure, line.lambda, line.gas);
}

ecusim::EcuConfig WarmEcu() {
    ecusim::EcuConfig config;
    config.startTemperatureC = 60;
    return config;
}

// "Record" on the Graphic page of the real window, with the page's tick run by `tickNow`.
class Recording {
public:
    explicit Recording(WindowBench& bench) : bench(bench) {
        path = folder.filePath(QStringLiteral("drive.log"));
        graph = bench.window().TabSheet2;
        bench.window().PageControl1->setCurrentWidget(graph);
        bench.files.saveAnswers.push_back(path);
        graph->Button22Click();
    }
    void tick() { graph->logtTimer(); }
    std::vector<Line> finish() {
        graph->Button22Click();
        const drive_log::ReadResult read = drive_log::Read(path.toStdString());
        EXPECT_EQ(read.problem, drive_log::Problem::None) << read.message;
        EXPECT_TRUE(read.log.malformed.empty());
        return read.log.lines;
    }

private:
    WindowBench& bench;
    QTemporaryDir folder;
    QString path;
    GraphicPage* graph = nullptr;
};

// A drive recorded by the program at its own 100 ms rhythm against the engine model, the fitter switching
// to gas after 5 s and back to petrol after 15 s.
std::vector<Line> RecordAnIdleDrive() {
    WindowBench bench(WarmEcu());
    EXPECT_TRUE(bench.connect());
    Recording recording(bench);
    const Millis start = bench.now();
    bench.onStep = [&](Millis now) {
        const Millis into = now - start;
        if (into.count() % GraphicPage::kTickMs == 0)
            recording.tick();
        if (into == Millis(5000) || into == Millis(15000))
            bench.window().ecu->SetFuel(into == Millis(5000));
    };
    bench.runFor(Millis(20000));
    bench.onStep = nullptr;
    return recording.finish();
}

// The drive replayed by the virtual ECU into a new window, recorded again: one tick in the middle of
// every replayed line, as the page's timer ticks once in every 100 ms.
std::vector<Line> RecordTheReplay(const std::vector<Line>& drive) {
    WindowBench bench(WarmEcu());
    ecusim::DriveReplay replay(drive, 1.0, false);
    replay.togglePause(); // held on its first line until the window is connected
    bench.ecu().startReplay(std::move(replay));
    EXPECT_TRUE(bench.connect());
    Recording recording(bench);
    ecusim::DriveReplay& playing = *bench.ecu().replay();
    playing.togglePause();
    uint64_t moves = playing.moves();
    Millis lineStart = bench.now();
    std::size_t ticks = 0;
    bench.onStep = [&](Millis now) {
        if (playing.moves() != moves) {
            moves = playing.moves();
            lineStart = now;
        }
        if (now - lineStart == Millis(50) && ticks < drive.size()) {
            recording.tick();
            ++ticks;
        }
    };
    bench.runFor(Millis(static_cast<long long>(drive.size()) * GraphicPage::kTickMs + 500));
    bench.onStep = nullptr;
    EXPECT_EQ(ticks, drive.size());
    return recording.finish();
}

TEST(DriveReplayRoundTrip, ARecordedDriveReplayedAndRecordedAgainGivesTheSameLines) {
    const std::vector<Line> drive = RecordAnIdleDrive();
    ASSERT_EQ(drive.size(), 200u);
    ASSERT_TRUE(std::any_of(drive.begin(), drive.end(), [](const Line& l) { return l.gas; }));
    ASSERT_TRUE(std::any_of(drive.begin(), drive.end(), [](const Line& l) { return !l.gas; }));

    const std::vector<Line> again = RecordTheReplay(drive);
    ASSERT_EQ(again.size(), drive.size());
    for (std::size_t i = 0; i < drive.size(); ++i)
        EXPECT_EQ(Values(again[i]), Values(drive[i])) << "line " << i + 2;
}

// Speeds above about 1730 rpm: one step of the period field is more than one rpm, so the program gets
// the nearest speed the field can carry. Everything else comes back exactly.
TEST(DriveReplayRoundTrip, FastSpeedsComeBackWithinOneStepOfThePeriodField) {
    const std::vector<Line> drive{{850, 245, 312, 450, false},    {1731, 1, 0, 0, false},
                                  {2500, 333, 65535, 1023, true}, {4321, 777, 280, 512, true},
                                  {6000, 26214, 290, 120, true},  {0, 0, 0, 0, false}};
    const std::vector<Line> again = RecordTheReplay(drive);
    ASSERT_EQ(again.size(), drive.size());
    for (std::size_t i = 0; i < drive.size(); ++i) {
        const Line& sent = drive[i];
        const Line& shown = again[i];
        const double step = std::max(1.0, sent.rpm * static_cast<double>(sent.rpm) / 3'000'000.0);
        EXPECT_LE(std::abs(static_cast<double>(shown.rpm) - sent.rpm), step) << "line " << i + 2;
        EXPECT_EQ(std::make_tuple(shown.injection, shown.gasPressure, shown.lambda, shown.gas),
                  std::make_tuple(sent.injection, sent.gasPressure, sent.lambda, sent.gas))
            << "line " << i + 2;
    }
}

} // namespace
