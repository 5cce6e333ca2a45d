#include "sim/virtual_ecu.h"

#include "sim/reports.h"

#include <algorithm>
#include <limits>

namespace ecusim {

VirtualEcu::VirtualEcu(const EcuConfig& config)
    : cfg(config), engineModel(config), injector(config.seed), line(config.bytesPerSecond) {
    working.gasInjectorMask = CylinderMask(cfg.slavePresent);
    stored = working;
}

std::optional<VirtualEcu::Micros> VirtualEcu::lastHostFrame() const {
    if (!lastFrameUs)
        return std::nullopt;
    return Micros(*lastFrameUs);
}

void VirtualEcu::receive(const uint8_t* data, std::size_t size) {
    if (faultKnobs.unplugged)
        return;
    for (std::size_t i = 0; i < size; ++i) {
        if (receiver.feed(data[i], nowUs)) {
            lastFrameUs = nowUs;
            handleFrame(receiver.payload());
        }
    }
}

Bytes VirtualEcu::advance(Micros span) {
    Bytes out;
    advance(span, out);
    return out;
}

void VirtualEcu::advance(Micros span, Bytes& out) {
    const int64_t end = nowUs + std::max<int64_t>(span.count(), 0);
    runDueEvents();
    while (nowUs < end) {
        // Events are due strictly later once runDueEvents has run; the guard only keeps time moving.
        const int64_t next = std::clamp(nextEventAt(), nowUs + 1, end);
        if (faultKnobs.unplugged)
            line.clear();
        else
            line.transmit(next - nowUs, out);
        if (drive && streamOn && !job)
            drive->advance(next - nowUs);
        nowUs = next;
        runDueEvents();
    }
}

void VirtualEcu::runDueEvents() {
    runJob();
    runStreaming();
}

int64_t VirtualEcu::nextEventAt() const {
    int64_t next = std::numeric_limits<int64_t>::max();
    if (job) {
        next = std::min(next, job->nextBusyAt);
        if (!faultKnobs.busyForever)
            next = std::min(next, job->doneAt);
    } else if (streamOn) {
        next = std::min(next, nextLiveAt);
        if (drive && drive->untilNextLineUs() < std::numeric_limits<int64_t>::max() - nowUs)
            next = std::min(next, nowUs + drive->untilNextLineUs());
    }
    return next;
}

void VirtualEcu::runJob() {
    if (!job)
        return;
    if (!faultKnobs.busyForever && job->doneAt <= nowUs) {
        job.reset();
        sendStatus();
        nextLiveAt = nowUs + cfg.liveIntervalMs * 1000LL;
        return;
    }
    if (job->nextBusyAt <= nowUs) {
        send(reports::Busy());
        job->nextBusyAt = nowUs + kBusyRepeatUs;
    }
}

bool VirtualEcu::replayMovedOn() const {
    return drive && drive->moves() != shownReplayMoves;
}

void VirtualEcu::runStreaming() {
    // A new line of a replayed drive goes out at once, so the host sees each line for its whole time.
    if (!streamOn || job || (nextLiveAt > nowUs && !replayMovedOn()))
        return;
    // Like the ECU's transmitter, a report waits until the one before it has left: at intervals
    // shorter than the line allows, the line is full but the reports stay fresh.
    if (const int64_t busy = line.busyMicros(); busy > 0) {
        nextLiveAt = nowUs + busy;
        return;
    }
    sendLive();
    if (liveCount % std::max(cfg.statusEveryLive, 1) == 0)
        sendStatus();
    ++liveCount;
    nextLiveAt = std::max(nextLiveAt, nowUs) + cfg.liveIntervalMs * 1000LL;
}

void VirtualEcu::startJob(int64_t workUs) {
    job = Job{nowUs + workUs, nowUs + kBusyRepeatUs};
    send(reports::Busy());
}

void VirtualEcu::send(const Bytes& payload) {
    if (faultKnobs.silent || faultKnobs.unplugged)
        return;
    line.queue(injector.apply(EncodeReport(payload), faultKnobs));
}

void VirtualEcu::startReplay(DriveReplay replay) {
    drive.emplace(std::move(replay));
    shownReplayMoves = drive->moves();
    replayGas.reset();
}

EngineReading VirtualEcu::nextReading() {
    if (!drive)
        return engineModel.read(nowUs, working, fuelState);
    shownReplayMoves = drive->moves();
    return engineModel.recorded(drive->current(), working);
}

void VirtualEcu::sendLive() {
    send(reports::Live(nextReading()));
    // The recording switches the fuel where it switched; between switches the host's own choice holds.
    if (drive && replayGas != drive->current().gas) {
        replayGas = drive->current().gas;
        switchFuel(*replayGas);
        sendStatus();
    }
}

void VirtualEcu::sendStatus() {
    reports::StatusExtras extras;
    extras.fuel = fuelState;
    extras.slavePresent = cfg.slavePresent;
    extras.reducerTemperatureC = reducerTemperatureC();
    extras.tankReading = cfg.tankReading;
    send(reports::Status(working, extras));
}

} // namespace ecusim
