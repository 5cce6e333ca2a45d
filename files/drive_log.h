#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The log file that "Record" writes: a header line, then one line every 100 ms of speed, injection time
// of cylinder 1, raw gas pressure, raw lambda and fuel, "%u;%u;%u;%u;%c;" with CR LF. Plain C++, so the
// virtual ECU and the command-line tools read it as the program writes it.
namespace drive_log {

inline constexpr std::string_view kHeader = "RPM;inj;map;v;mode;";
inline constexpr int64_t kLineIntervalUs = 100'000;

// The largest values the ECU's live report can carry into the program.
inline constexpr uint32_t kMaxRpm = 3'000'000;   // the shortest period, divider 1
inline constexpr uint32_t kMaxInjection = 26214; // 65535 x 0.4, in 0.01 ms
inline constexpr uint32_t kMaxRawWord = 65535;   // gas pressure and lambda travel as 16 bits

// Real units of the columns.
inline constexpr double kMsPerInjectionStep = 0.01;
inline constexpr double kBarPerPressureCount = 0.0044803225806451605;
inline constexpr double kVoltsPerLambdaCount = 5.0 / 1023.0;

struct Line {
    uint32_t rpm = 0;
    uint32_t injection = 0;   // 0.01 ms
    uint32_t gasPressure = 0; // raw counts
    uint32_t lambda = 0;      // raw counts
    bool gas = false;
    std::size_t number = 0; // 1-based line of the file, the header being line 1
    bool operator==(const Line&) const = default;
};

struct Log {
    std::vector<Line> lines;            // the good data lines, in file order
    std::size_t dataLines = 0;          // every line after the header, good or not
    std::vector<std::size_t> malformed; // line numbers of the lines skipped
};

enum class Problem {
    None,
    CannotRead,  // the file could not be opened or read
    WrongHeader, // not a log file: the first line is not the header
    NoGoodLine,  // a log file without a single usable data line
};

struct ReadResult {
    Problem problem = Problem::None;
    std::string message; // one line for the fitter; empty when the log is good
    Log log;
};

// Parses one data line without its line break; false when it is not of the log's format or a value is
// beyond what the ECU can report.
bool ParseLine(std::string_view text, Line& line);
std::string FormatLine(const Line& line); // with CR LF

ReadResult Parse(std::string_view text);
ReadResult Read(const std::string& path);

} // namespace drive_log
