#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Another program started by a benchmark: its own environment additions, its output into files, and
// ended (SIGTERM, then waited for) when this object goes.
class ChildProcess {
public:
    struct Options {
        std::vector<std::string> args;             // args[0] is the program's path
        std::vector<std::string> extraEnvironment; // "NAME=value"
        std::string outputFile;                    // standard output; empty: /dev/null
        std::string errorFile;                     // standard error; empty: /dev/null
    };

    explicit ChildProcess(const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid > 0; }
    pid_t id() const { return pid; }
    // Sends SIGTERM and waits for the end; answers the exit status as waitpid gives it.
    int stop();
    // Waits for the program to end by itself; answers the exit status as waitpid gives it.
    int wait();

private:
    pid_t pid = -1;
    bool reaped = false;
    int status = 0;
};

// CPU time (user + system, every thread) a running process has used, in seconds; negative when it
// cannot be read.
double ProcessCpuSeconds(pid_t pid);
// Bytes a running process has taken through read calls of any kind; negative when it cannot be read.
double ProcessReadBytes(pid_t pid);
// The system-wide monotonic clock, in seconds; the same clock in every process.
double MonotonicSeconds();
// The folder this program was started from.
std::string OwnFolder();
