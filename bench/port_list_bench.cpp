// Opening the program-settings panel, which builds its port list by asking the real serial port layer
// about every number from 0 to 254.
#include "app/program_settings_panel.h"
#include "app/tform1.h"
#include "tests/support/window_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_BuildPortList(benchmark::State& state) {
    QTemporaryDir folder;
    const QString iniPath = folder.filePath(QStringLiteral("ecusetup.ini"));
    QFile ini(iniPath);
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Main]\r\nComport=COM250\r\n") < 0) {
        state.SkipWithError("cannot write the INI file");
        return;
    }
    ini.close();

    RecordingMessages messages;
    ScriptedFiles files;
    TForm1Seams seams; // the real serial port, with the ports folder beside this program
    seams.iniPath = iniPath;
    seams.messages = &messages;
    seams.files = &files;
    seams.portQuestion = [] { return 0; };
    auto window = std::make_unique<TForm1>(std::move(seams));
    window->show();
    ProgramSettingsPanel& panel = *window->VrBlotter3;

    for (auto _ : state) {
        panel.Button17Click();
        state.PauseTiming();
        state.counters["ports_listed"] = panel.combo->count();
        panel.Button20Click();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildPortList)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
