#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ecusim {

// A pseudo-terminal pair in raw mode: the program serves the master side; the tool opens the slave as
// its serial port. The slave stays open here as well, so a host that closes its port leaves the master
// readable without an endless stream of errors.
class PseudoTerminal {
public:
    // Empty, with the reason in error, when the system gives no pseudo-terminal.
    static std::unique_ptr<PseudoTerminal> Open(std::string& error);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slavePath() const { return path; }
    int masterFd() const { return master; }
    // What the host wrote, without waiting; 0 when nothing waits.
    std::size_t read(uint8_t* buffer, std::size_t size);
    // As much as the terminal takes without waiting; what a host that does not read leaves no room for is
    // lost, as on a line with no one listening.
    std::size_t write(const uint8_t* data, std::size_t size);
    // Bytes sent towards the host that nobody has read yet.
    int unreadByHost() const;
    void discardUnread();

private:
    PseudoTerminal(int masterFd, int slaveFd, std::string slavePath);

    int master;
    int slave;
    std::string path;
};

} // namespace ecusim
