// The real program against the virtual ECU: ecusetup (offscreen, Status page, as it starts) connected
// to ecusim streaming as fast as the line carries reports. The figure is ecusetup's CPU time over the wall
// time, counted from the moment the link streams, in windows: each beside a short fixed loop that measures
// how fast the shared machine runs in that window, so a slow host can be told from a slow program. The
// main thread's voluntary context switches (its wake-ups) do not move with the host's speed.
#include "bench/child_process.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFirstCom = 40;
constexpr const char* kStreaming = "connected  streaming";
constexpr int kWindows = 6;

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The last line ecusim's status printed.
std::string LastLine(const std::string& path) {
    std::string text = FileText(path);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
}

// A field of /proc/PID/task/PID/status (the main thread) as a number; negative when it cannot be read.
double MainThreadStatus(pid_t pid, const std::string& field) {
    const std::string id = std::to_string(pid);
    std::ifstream file("/proc/" + id + "/task/" + id + "/status");
    std::string name;
    while (file >> name) {
        double value = 0;
        if (name == field + ":" && file >> value)
            return value;
        file.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return -1;
}

// Rounds a second of a fixed counting loop: the machine's speed right now.
double CalibrationRate() {
    constexpr long kRounds = 20'000'000;
    const double start = MonotonicSeconds();
    volatile long sink = 0;
    for (long i = 0; i < kRounds; ++i)
        sink = sink + i;
    return static_cast<double>(kRounds) / (MonotonicSeconds() - start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The first COM number whose link in the ports folder is free, as scripts/demo picks it.
int FreeCom(const std::string& ports) {
    int com = kFirstCom;
    while (Exists(ports + "/COM" + std::to_string(com)))
        ++com;
    return com;
}

void BM_ProgramOnStreamingEcu(benchmark::State& state) {
    const std::string bin = OwnFolder();
    const std::string ports = bin + "/ports";
    mkdir(ports.c_str(), 0755);
    const int com = FreeCom(ports);
    const std::string comText = "COM" + std::to_string(com);
    {
        std::ofstream ini(bin + "/ecusetup.ini", std::ios::binary);
        ini << "[Main]\r\nComport=" << comText << "\r\n";
    }
    const std::string simOutput = "/tmp/program_cpu_bench." + std::to_string(getpid()) + ".ecusim";
    const auto span = std::chrono::seconds(state.range(0));

    for (auto _ : state) {
        ChildProcess::Options simOptions;
        simOptions.args = {bin + "/ecusim", "--com", std::to_string(com), "--live-interval", "1"};
        simOptions.outputFile = simOutput;
        ChildProcess sim(simOptions);
        if (!sim.started() ||
            !WaitFor([&] { return Exists(ports + "/" + comText); }, std::chrono::seconds(10))) {
            state.SkipWithError("ecusim did not make its port");
            break;
        }
        ChildProcess::Options programOptions;
        programOptions.args = {bin + "/ecusetup"};
        programOptions.extraEnvironment = {"QT_QPA_PLATFORM=offscreen"};
        ChildProcess program(programOptions);
        if (!program.started() ||
            !WaitFor([&] { return LastLine(simOutput).find(kStreaming) != std::string::npos; },
                     std::chrono::seconds(30))) {
            state.SkipWithError("ecusetup did not connect to ecusim");
            break;
        }
        const double cpuStart = ProcessCpuSeconds(program.id());
        const double simStart = ProcessCpuSeconds(sim.id());
        const double readStart = ProcessReadBytes(program.id());
        const double wakeStart = MainThreadStatus(program.id(), "voluntary_ctxt_switches");
        const double rssStart = MainThreadStatus(program.id(), "VmRSS");
        const double start = MonotonicSeconds();
        std::vector<double> rawShares;
        std::vector<double> rates;
        bool readable = cpuStart >= 0 && wakeStart >= 0;
        for (int w = 0; w < kWindows && readable; ++w) {
            const double windowCpu = ProcessCpuSeconds(program.id());
            const double windowStart = MonotonicSeconds();
            rates.push_back(CalibrationRate());
            std::this_thread::sleep_until(std::chrono::steady_clock::now() + span / kWindows);
            const double windowEnd = ProcessCpuSeconds(program.id());
            readable = windowEnd >= 0;
            rawShares.push_back(100.0 * (windowEnd - windowCpu) / (MonotonicSeconds() - windowStart));
        }
        const double cpuEnd = ProcessCpuSeconds(program.id());
        const double simEnd = ProcessCpuSeconds(sim.id());
        const double readEnd = ProcessReadBytes(program.id());
        const double wakeEnd = MainThreadStatus(program.id(), "voluntary_ctxt_switches");
        const double rssEnd = MainThreadStatus(program.id(), "VmRSS");
        const double wall = MonotonicSeconds() - start;
        if (LastLine(simOutput).find(kStreaming) == std::string::npos || !readable || cpuEnd < 0) {
            state.SkipWithError("the link did not stream all the time");
            break;
        }
        // Each window's share as it would be on the fastest window's machine.
        const double fastest = *std::max_element(rates.begin(), rates.end());
        std::vector<double> corrected;
        for (std::size_t w = 0; w < rawShares.size(); ++w)
            corrected.push_back(rawShares[w] * rates[w] / fastest);
        state.counters["cpu_percent_corrected"] = Median(corrected);
        state.counters["cpu_percent_raw_min"] = *std::min_element(rawShares.begin(), rawShares.end());
        state.counters["cpu_percent_raw_max"] = *std::max_element(rawShares.begin(), rawShares.end());
        state.counters["calibration_spread"] = fastest / *std::min_element(rates.begin(), rates.end());
        state.counters["wakeups_per_second"] = (wakeEnd - wakeStart) / wall;
        state.counters["rss_growth_kb"] = rssEnd - rssStart;
        state.counters["rss_kb"] = rssEnd;
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * (cpuEnd - cpuStart) / wall;
        state.counters["ecusim_cpu_percent"] = 100.0 * (simEnd - simStart) / wall;
        // The line's bytes and the event loop's own wake-up reads: at least the line's 1920 a second.
        state.counters["read_bytes_per_second"] = (readEnd - readStart) / wall;
    }
    unlink(simOutput.c_str());
}
BENCHMARK(BM_ProgramOnStreamingEcu)->Arg(60)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
