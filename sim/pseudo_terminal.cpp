#include "sim/pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace ecusim {

namespace {

std::string Reason(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

bool MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

bool SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

} // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::Open(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        error = Reason("posix_openpt");
        return nullptr;
    }
    const char* name = nullptr;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || (name = ptsname(master)) == nullptr) {
        error = Reason("grantpt/unlockpt/ptsname");
        close(master);
        return nullptr;
    }
    const std::string path = name;
    const int slave = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0 || !MakeRaw(slave) || !SetNonBlocking(master) || !SetNonBlocking(slave)) {
        error = Reason(path.c_str());
        if (slave >= 0)
            close(slave);
        close(master);
        return nullptr;
    }
    return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master, slave, path));
}

PseudoTerminal::PseudoTerminal(int masterFd, int slaveFd, std::string slavePath)
    : master(masterFd), slave(slaveFd), path(std::move(slavePath)) {}

PseudoTerminal::~PseudoTerminal() {
    close(slave);
    close(master);
}

std::size_t PseudoTerminal::read(uint8_t* buffer, std::size_t size) {
    const ssize_t n = ::read(master, buffer, size);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::size_t PseudoTerminal::write(const uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(master, data + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

int PseudoTerminal::unreadByHost() const {
    int waiting = 0;
    return ioctl(slave, FIONREAD, &waiting) == 0 ? waiting : 0;
}

void PseudoTerminal::discardUnread() {
    tcflush(slave, TCIFLUSH);
}

} // namespace ecusim
