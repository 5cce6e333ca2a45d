// Start-up to the first painted window: startup_probe, started afresh for every run, tells when its
// window was first painted; the time from starting it to then is the figure.
#include "bench/child_process.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

namespace {

// The probe reads its INI beside itself; a port number that maps to no device keeps it from waiting
// on a port question, and a failed open costs what it costs any fitter without the cable.
bool WriteProbeIni(const std::string& folder) {
    std::ofstream ini(folder + "/startup_probe.ini", std::ios::binary);
    ini << "[Main]\r\nComport=COM250\r\n";
    return static_cast<bool>(ini);
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
    const std::string folder = OwnFolder();
    const std::string output = "/tmp/startup_probe." + std::to_string(getpid()) + ".out";
    if (!WriteProbeIni(folder)) {
        state.SkipWithError("cannot write the probe's INI file");
        return;
    }
    ChildProcess::Options options;
    options.args = {folder + "/startup_probe"};
    options.extraEnvironment = {"QT_QPA_PLATFORM=offscreen"};
    options.outputFile = output;
    for (auto _ : state) {
        const double start = MonotonicSeconds();
        ChildProcess probe(options);
        if (!probe.started()) {
            state.SkipWithError("startup_probe did not start");
            break;
        }
        probe.wait();
        double painted = 0;
        std::ifstream result(output);
        const bool reported = static_cast<bool>(result >> painted);
        if (!reported || painted < start) {
            state.SkipWithError("startup_probe did not report a painted window");
            break;
        }
        state.SetIterationTime(painted - start);
    }
    unlink(output.c_str());
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
