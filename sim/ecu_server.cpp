#include "sim/ecu_server.h"

#include <array>
#include <cerrno>
#include <poll.h>

namespace ecusim {

namespace {
const std::string kNone = "-";
}

EcuServer::EcuServer(VirtualEcu& ecu, int com, std::string portsFolder)
    : model(ecu), comNumber(com), folder(std::move(portsFolder)), lastStep(Clock::now()),
      lastStatus(lastStep) {}

bool EcuServer::plug(std::string& error) {
    auto terminal = PseudoTerminal::Open(error);
    if (!terminal)
        return false;
    auto entry = PortLink::Create(folder, comNumber, terminal->slavePath(), error);
    if (!entry)
        return false;
    pty = std::move(terminal);
    link = std::move(entry);
    model.faults().unplugged = false;
    hostReading = false;
    masterHungUp = false;
    unreadAtWatch = 0;
    writtenSinceWatch = 0;
    return true;
}

void EcuServer::unplug() {
    link.reset();
    pty.reset();
    model.faults().unplugged = true;
}

const std::string& EcuServer::devicePath() const {
    return pty ? pty->slavePath() : kNone;
}

const std::string& EcuServer::linkPath() const {
    return link ? link->path() : kNone;
}

StatusSnapshot EcuServer::snapshot() const {
    StatusSnapshot s;
    s.com = comNumber;
    s.plugged = plugged();
    const auto last = model.lastHostFrame();
    const bool spokeLately = last && model.now() - *last < kHostQuietLimit;
    s.connected = plugged() && (spokeLately || (model.streaming() && hostReading));
    s.streaming = model.streaming();
    s.busy = model.busy();
    s.gas = model.fuel().gasMode;
    s.baseCorrection = model.settings().baseCorrection;
    s.reducerC = model.reducerTemperatureC();
    s.faults = model.faults();
    if (const DriveReplay* replay = model.replay()) {
        s.replayLine = replay->index() + 1;
        s.replayLines = replay->size();
        s.replayPaused = replay->isPaused();
    }
    return s;
}

bool EcuServer::run(const volatile std::sig_atomic_t& stop, Keyboard& keys, StatusLine& status) {
    lastStep = Clock::now();
    while (!stop) {
        bool keyWaiting = false;
        if (!waitForInput(keys, keyWaiting))
            return false;
        if (keyWaiting) {
            const auto key = keys.key();
            if (key && !onKey(*key))
                return true;
        }
        readHost();
        serveTime();
        if (Clock::now() - lastStatus >= std::chrono::milliseconds(kStatusEveryMs)) {
            lastStatus = Clock::now();
            watchHost();
            status.show(snapshot());
        }
    }
    return true;
}

bool EcuServer::waitForInput(Keyboard& keys, bool& keyWaiting) {
    std::array<pollfd, 2> fds{};
    nfds_t count = 0;
    // A hung-up master reports POLLHUP at once on every poll; leave it out for a step instead of spinning.
    const bool watchMaster = pty && !masterHungUp;
    if (watchMaster)
        fds[count++] = {pty->masterFd(), POLLIN, 0};
    const nfds_t keyIndex = count;
    if (keys.active())
        fds[count++] = {keys.fd(), POLLIN, 0};
    masterHungUp = false;
    if (poll(fds.data(), count, kStepMs) < 0)
        return errno == EINTR;
    if (watchMaster)
        masterHungUp = (fds[0].revents & (POLLHUP | POLLERR)) != 0 && (fds[0].revents & POLLIN) == 0;
    keyWaiting = keys.active() && (fds[keyIndex].revents & POLLIN) != 0;
    return true;
}

void EcuServer::readHost() {
    if (!pty)
        return;
    std::array<uint8_t, 512> buffer{};
    for (std::size_t n; (n = pty->read(buffer.data(), buffer.size())) > 0;)
        model.receive(buffer.data(), n);
}

void EcuServer::serveTime() {
    const Clock::time_point now = Clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(now - lastStep);
    lastStep += elapsed;
    const Bytes out = model.advance(elapsed);
    if (pty && !out.empty()) {
        writtenSinceWatch += pty->write(out.data(), out.size());
    }
}

void EcuServer::watchHost() {
    if (!pty)
        return;
    const int unread = pty->unreadByHost();
    // A reading host keeps the queue short. The count lags the writes a little, so a queue that merely
    // stopped growing by a few bytes does not count as read.
    const std::size_t offered = static_cast<std::size_t>(unreadAtWatch) + writtenSinceWatch;
    if (offered > 0)
        hostReading = static_cast<std::size_t>(unread) < offered / 2;
    unreadAtWatch = unread;
    if (unread > kStaleBytes) {
        // Nobody reads: throw the old reports away, so a host that opens the port later starts fresh.
        pty->discardUnread();
        unreadAtWatch = 0;
    }
    writtenSinceWatch = 0;
}

bool EcuServer::onKey(char key) {
    Faults& f = model.faults();
    switch (key) {
    case 's':
        f.silent = !f.silent;
        break;
    case 'b':
        f.busyForever = !f.busyForever;
        break;
    case 'u':
        if (plugged()) {
            unplug();
        } else {
            std::string error;
            if (!plug(error))
                std::fprintf(stderr, "\necusim: cannot plug in again: %s\n", error.c_str());
        }
        break;
    case 'p':
        if (DriveReplay* replay = model.replay())
            replay->togglePause();
        break;
    case '.':
        if (DriveReplay* replay = model.replay())
            replay->step();
        break;
    case 'q':
        return false;
    default:
        break;
    }
    return true;
}

} // namespace ecusim
