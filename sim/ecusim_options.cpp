#include "sim/ecusim_options.h"

#include <charconv>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace ecusim {

namespace {

bool ParseInt(const std::string& text, long low, long high, long& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

bool ParseDouble(const std::string& text, double low, double high, double& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && value >= low && value <= high;
}

// "2.7" -> 2 and 7; each part 0..255.
bool ParseVersion(const std::string& text, uint8_t& major, uint8_t& minor) {
    const auto dot = text.find('.');
    long a = 0;
    long b = 0;
    if (dot == std::string::npos || !ParseInt(text.substr(0, dot), 0, 255, a) ||
        !ParseInt(text.substr(dot + 1), 0, 255, b))
        return false;
    major = static_cast<uint8_t>(a);
    minor = static_cast<uint8_t>(b);
    return true;
}

struct Flag {
    const char* name;
    std::function<void(EcusimOptions&)> set;
};

using Setter = std::function<bool(EcusimOptions&, const std::string&)>;

struct Valued {
    const char* name;
    const char* what; // for the error message
    Setter set;
};

Setter Rate(double Faults::*field) {
    return [field](EcusimOptions& o, const std::string& text) {
        return ParseDouble(text, 0.0, 1.0, o.faults.*field);
    };
}

const std::vector<Flag>& Flags() {
    static const std::vector<Flag> flags{
        {"--help", [](EcusimOptions& o) { o.help = true; }},
        {"-h", [](EcusimOptions& o) { o.help = true; }},
        {"--no-slave", [](EcusimOptions& o) { o.config.slavePresent = false; }},
        {"--silent", [](EcusimOptions& o) { o.faults.silent = true; }},
        {"--busy-forever", [](EcusimOptions& o) { o.faults.busyForever = true; }},
        {"--no-line-limit", [](EcusimOptions& o) { o.config.bytesPerSecond = 0; }},
        {"--quiet", [](EcusimOptions& o) { o.statusLine = false; }},
        {"--loop", [](EcusimOptions& o) { o.replayLoop = true; }},
    };
    return flags;
}

Setter Whole(long low, long high, std::function<void(EcusimOptions&, long)> assign) {
    return [=](EcusimOptions& o, const std::string& text) {
        long n = 0;
        if (!ParseInt(text, low, high, n))
            return false;
        assign(o, n);
        return true;
    };
}

const std::vector<Valued>& ValuedOptions() {
    static const std::vector<Valued> options{
        {"--com", "a port number from 1 to 255",
         Whole(1, 255, [](EcusimOptions& o, long n) { o.com = static_cast<int>(n); })},
        {"--ports-dir", "a folder",
         [](EcusimOptions& o, const std::string& t) {
             o.portsDir = t;
             return !t.empty();
         }},
        {"--start-temp", "a temperature from -40 to 150",
         [](EcusimOptions& o, const std::string& t) {
             return ParseDouble(t, -40.0, 150.0, o.config.startTemperatureC);
         }},
        {"--version", "MAJOR.MINOR, each from 0 to 255",
         [](EcusimOptions& o, const std::string& t) {
             return ParseVersion(t, o.config.versionMajor, o.config.versionMinor);
         }},
        {"--tank", "a reading from 0 to 1023",
         Whole(0, 1023, [](EcusimOptions& o, long n) { o.config.tankReading = static_cast<uint16_t>(n); })},
        {"--seed", "a whole number from 0 to 2147483647",
         Whole(0, 2147483647L, [](EcusimOptions& o, long n) { o.config.seed = static_cast<uint64_t>(n); })},
        {"--live-interval", "a time in milliseconds from 1 to 1000",
         Whole(1, 1000, [](EcusimOptions& o, long n) { o.config.liveIntervalMs = static_cast<int>(n); })},
        {"--replay", "a log file written by Record",
         [](EcusimOptions& o, const std::string& t) {
             o.replayFile = t;
             return !t.empty();
         }},
        {"--replay-speed", "a speed from 0.25 to 8",
         [](EcusimOptions& o, const std::string& t) { return ParseDouble(t, 0.25, 8.0, o.replaySpeed); }},
        {"--corrupt", "a rate from 0 to 1", Rate(&Faults::corruptRate)},
        {"--drop", "a rate from 0 to 1", Rate(&Faults::dropRate)},
        {"--noise", "a rate from 0 to 1", Rate(&Faults::noiseRate)},
    };
    return options;
}

template <typename T> const T* Find(const std::vector<T>& table, const std::string& name) {
    for (const T& entry : table)
        if (name == entry.name)
            return &entry;
    return nullptr;
}

} // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const Flag* flag = Find(Flags(), arg)) {
            flag->set(parsed.options);
            continue;
        }
        const Valued* valued = Find(ValuedOptions(), arg);
        if (!valued) {
            parsed.error = "unknown option " + arg;
            return parsed;
        }
        if (i + 1 >= args.size()) {
            parsed.error = arg + " needs " + valued->what;
            return parsed;
        }
        const std::string& value = args[++i];
        if (!valued->set(parsed.options, value)) {
            parsed.error = arg + " " + value + ": expected " + valued->what;
            return parsed;
        }
    }
    return parsed;
}

std::string HelpText() {
    std::ostringstream text;
    text << "Usage: ecusim [options]\n"
            "A virtual gas-injection ECU on a pseudo-terminal, reachable by the setup tool as COMn.\n"
            "It creates the link ports/COMn to its pseudo-terminal and removes it when it ends.\n\n"
            "  --com N            port number for the tool (default "
         << EcusimOptions::kDefaultCom
         << ")\n"
            "  --ports-dir DIR    folder of the COMn links (default: \"ports\" beside ecusim,\n"
            "                     which is beside the tool when both are built together)\n"
            "  --no-slave         no slave ECU: cylinders 5 to 8 absent\n"
            "  --start-temp C     reducer temperature at start (default 20; gas from 40)\n"
            "  --version X.Y      firmware version to report (default 2.7)\n"
            "  --tank N           tank sensor reading 0..1023 (default 420)\n"
            "  --seed N           seed of the engine noise and the faults (default 1)\n"
            "  --live-interval MS time between live reports (default 40); 1 fills the line\n"
            "  --no-line-limit    send faster than 19200 baud allows\n"
            "Replay:\n"
            "  --replay FILE      stream a drive recorded by Record (one line per 100 ms)\n"
            "                     instead of the engine model's idle; it moves on while\n"
            "                     the tool is connected and holds its last line at the end\n"
            "  --replay-speed X   0.25 to 8 times the recorded pace (default 1)\n"
            "  --loop             start the recording again at its end\n"
            "Faults:\n"
            "  --silent           hear and obey, but send nothing\n"
            "  --corrupt RATE     share 0..1 of reports with a wrong checksum\n"
            "  --drop RATE        share 0..1 of sent bytes lost\n"
            "  --noise RATE       share 0..1 of reports preceded by random bytes\n"
            "  --busy-forever     work that takes time never finishes\n"
            "Display:\n"
            "  --quiet            no status line\n"
            "  --help             this text\n\n"
            "Keys while running (in a terminal): s silent on/off, b busy forever on/off,\n"
            "u unplug/plug the cable, q quit; while replaying p pause/resume, . one line on.\n"
            "Ctrl+C also ends it and removes the link.\n";
    return text.str();
}

} // namespace ecusim
