#pragma once

#include <ostream>
#include <string>
#include <vector>

// The ecuslog command line: summary and csv of the log files that "Record" writes.
namespace EcuslogCli {

// The exit codes of ecusettings, where they apply.
enum ExitCode {
    kOk = 0,
    kError = 2, // usage error
    kCannotRead = 3,
    kNotALog = 4,    // wrong header, or an empty file
    kNoGoodLine = 5, // damaged: not one usable data line
};

// Runs one command; `arguments` excludes the program name. Results go to `out`, problems to `err`.
int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace EcuslogCli
