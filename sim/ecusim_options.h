#pragma once

#include "sim/ecu_config.h"
#include "sim/faults.h"

#include <string>
#include <vector>

namespace ecusim {

// What the command line of ecusim asks for.
struct EcusimOptions {
    static constexpr int kDefaultCom = 40;

    EcuConfig config;
    Faults faults;
    int com = kDefaultCom;
    std::string portsDir; // empty: the folder "ports" beside the ecusim program
    bool statusLine = true;
    std::string replayFile; // empty: the engine model drives the live reports
    double replaySpeed = 1.0;
    bool replayLoop = false;
    bool help = false;
};

struct ParsedOptions {
    EcusimOptions options;
    std::string error; // empty when the command line was good
};

ParsedOptions ParseOptions(const std::vector<std::string>& args);
std::string HelpText();

} // namespace ecusim
