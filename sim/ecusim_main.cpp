// ecusim: the virtual ECU on a pseudo-terminal, for trying the setup tool without a car.

#include "files/drive_log.h"
#include "sim/ecu_server.h"
#include "sim/ecusim_options.h"
#include "sim/keyboard.h"
#include "sim/port_link.h"
#include "sim/status_line.h"
#include "sim/virtual_ecu.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

// Without SA_RESTART, so poll() returns at once and the link is removed on the way out.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

// Reads the recorded drive; a file that cannot serve is refused with one line.
bool StartReplay(ecusim::VirtualEcu& ecu, const ecusim::EcusimOptions& options) {
    drive_log::ReadResult read = drive_log::Read(options.replayFile);
    if (read.problem != drive_log::Problem::None) {
        std::fprintf(stderr, "ecusim: %s: %s\n", options.replayFile.c_str(), read.message.c_str());
        return false;
    }
    std::printf("ecusim: replaying %s: %zu lines, %zu malformed and skipped\n", options.replayFile.c_str(),
                read.log.lines.size(), read.log.malformed.size());
    ecu.startReplay(ecusim::DriveReplay(std::move(read.log.lines), options.replaySpeed, options.replayLoop));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const ecusim::ParsedOptions parsed =
        ecusim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "ecusim: %s\nTry ecusim --help.\n", parsed.error.c_str());
        return 2;
    }
    const ecusim::EcusimOptions& options = parsed.options;
    if (options.help) {
        std::fputs(ecusim::HelpText().c_str(), stdout);
        return 0;
    }

    ecusim::VirtualEcu ecu(options.config);
    ecu.faults() = options.faults;
    if (!options.replayFile.empty() && !StartReplay(ecu, options))
        return 3;
    const std::string folder =
        options.portsDir.empty() ? ecusim::DefaultPortsFolder(argv[0]) : options.portsDir;
    ecusim::EcuServer server(ecu, options.com, folder);
    std::string error;
    if (!server.plug(error)) {
        std::fprintf(stderr, "ecusim: %s\n", error.c_str());
        return 1;
    }
    CatchStopSignals();
    std::printf("ecusim: virtual ECU on %s, reachable as COM%d through %s\n", server.devicePath().c_str(),
                options.com, server.linkPath().c_str());
    ecusim::Keyboard keys;
    if (keys.active())
        std::printf("Keys: s silent, b busy forever, u unplug/plug, q quit%s.\n",
                    ecu.replay() ? ", p pause/resume the replay, . one line on" : "");
    std::fflush(stdout);

    ecusim::StatusLine status(options.statusLine ? stdout : nullptr, isatty(STDOUT_FILENO) != 0);
    const bool served = server.run(stopRequested, keys, status);
    status.finish();
    server.unplug();
    return served ? 0 : 1;
}
