#include "tools/ecuslog_cli.h"

#include "files/drive_log.h"
#include "tools/drive_log_report.h"

namespace EcuslogCli {

namespace {

const char kUsage[] = "Usage: ecuslog summary FILE\n"
                      "       ecuslog csv FILE\n"
                      "\n"
                      "  summary  duration, time on gas and on petrol, switches, and the minimum, mean\n"
                      "           and maximum of speed, injection time, gas pressure and lambda\n"
                      "  csv      the log as CSV in real units with a time column in seconds\n"
                      "\n"
                      "Malformed lines are skipped and counted. Exit codes: 0 good, 2 usage error,\n"
                      "3 cannot read, 4 not a log file, 5 no usable line.\n";

int CodeOf(drive_log::Problem problem) {
    switch (problem) {
    case drive_log::Problem::None:
        return kOk;
    case drive_log::Problem::CannotRead:
        return kCannotRead;
    case drive_log::Problem::WrongHeader:
        return kNotALog;
    case drive_log::Problem::NoGoodLine:
        break;
    }
    return kNoGoodLine;
}

std::string LineNumbers(const std::vector<std::size_t>& numbers) {
    constexpr std::size_t kShown = 5;
    std::string text;
    for (std::size_t i = 0; i < numbers.size() && i < kShown; ++i)
        text += (i ? ", " : "") + std::to_string(numbers[i]);
    return numbers.size() > kShown ? text + ", ..." : text;
}

// Reads the file, telling on `err` in one line what is wrong with it or which lines were skipped.
drive_log::ReadResult ReadReporting(const std::string& fileName, std::ostream& err) {
    drive_log::ReadResult read = drive_log::Read(fileName);
    if (read.problem != drive_log::Problem::None)
        err << "ecuslog: " << fileName << ": " << read.message << '\n';
    else if (const std::size_t skipped = read.log.malformed.size(); skipped > 0)
        err << "ecuslog: " << fileName << ": " << skipped << " malformed line" << (skipped > 1 ? "s" : "")
            << " skipped (line " << LineNumbers(read.log.malformed) << ")\n";
    return read;
}

int UsageError(const std::string& problem, std::ostream& err) {
    err << "ecuslog: " << problem << '\n' << kUsage;
    return kError;
}

} // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage;
        return kOk;
    }
    if (arguments.empty())
        return UsageError("no command given", err);
    const std::string& verb = arguments[0];
    if (verb != "summary" && verb != "csv")
        return UsageError("unknown command \"" + verb + "\"", err);
    if (arguments.size() != 2)
        return UsageError("wrong number of files for " + verb, err);
    const drive_log::ReadResult read = ReadReporting(arguments[1], err);
    if (read.problem == drive_log::Problem::None)
        out << (verb == "summary" ? DriveLogReport::Summary(read.log) : DriveLogReport::Csv(read.log));
    return CodeOf(read.problem);
}

} // namespace EcuslogCli
