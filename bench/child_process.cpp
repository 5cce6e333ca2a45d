#include "bench/child_process.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (std::string& t : texts)
        out.push_back(t.data());
    out.push_back(nullptr);
    return out;
}

} // namespace

ChildProcess::ChildProcess(const Options& options) {
    if (options.args.empty())
        return;
    std::vector<std::string> args = options.args;
    std::vector<std::string> environment(options.extraEnvironment);
    for (char** e = environ; *e; ++e)
        environment.emplace_back(*e);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const auto redirect = [&actions](int fd, const std::string& file) {
        const char* path = file.empty() ? "/dev/null" : file.c_str();
        posix_spawn_file_actions_addopen(&actions, fd, path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    };
    redirect(STDOUT_FILENO, options.outputFile);
    redirect(STDERR_FILENO, options.errorFile);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(environment);
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (started() && !reaped)
        stop();
}

int ChildProcess::stop() {
    if (!started() || reaped)
        return status;
    kill(pid, SIGTERM);
    return wait();
}

int ChildProcess::wait() {
    if (!started() || reaped)
        return status;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            break;
    }
    reaped = true;
    return status;
}

double ProcessCpuSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The program's name, in brackets, may hold blanks: the fields are counted after its end.
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(nameEnd + 2));
    std::string field;
    // Fields 3 to 13 come before utime (14) and stime (15).
    for (int i = 3; i <= 13 && fields >> field; ++i) {
    }
    long long user = 0;
    long long system = 0;
    if (!(fields >> user >> system))
        return -1;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ProcessReadBytes(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/io");
    std::string name;
    long long value = 0;
    while (file >> name >> value) {
        if (name == "rchar:")
            return static_cast<double>(value);
    }
    return -1;
}

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string OwnFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string full(path, static_cast<std::size_t>(n));
    return full.substr(0, full.rfind('/'));
}
