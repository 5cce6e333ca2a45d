#pragma once

#include "sim/drive_replay.h"
#include "sim/ecu_config.h"
#include "sim/ecu_settings.h"
#include "sim/ecu_side_codec.h"
#include "sim/engine_model.h"
#include "sim/fault_injector.h"
#include "sim/faults.h"
#include "sim/serial_line.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ecusim {

// The far end of the serial line: takes the host's commands, answers and streams reports, runs the engine
// model, and is driven by the time it is given, so a run is deterministic. Nothing here touches a clock
// or a device.
class VirtualEcu {
public:
    using Micros = std::chrono::microseconds;

    static constexpr int64_t kSettingWorkUs = 50'000; // a setting command while streaming is stopped
    static constexpr int64_t kStoreWorkUs = 400'000;  // save to or load from the permanent store
    static constexpr int64_t kBusyRepeatUs = 250'000;

    explicit VirtualEcu(const EcuConfig& config = {});

    // Bytes from the host, taken at the current simulated time.
    void receive(const uint8_t* data, std::size_t size);
    void receive(const Bytes& bytes) { receive(bytes.data(), bytes.size()); }
    // Lets time pass and appends to out the bytes that leave the ECU meanwhile.
    void advance(Micros span, Bytes& out);
    Bytes advance(Micros span);

    // Live reports from now on carry the recorded drive, which moves on while the ECU streams, and the
    // fuel follows the recording where it switches.
    void startReplay(DriveReplay replay);
    DriveReplay* replay() { return drive ? &*drive : nullptr; }
    const DriveReplay* replay() const { return drive ? &*drive : nullptr; }

    Faults& faults() { return faultKnobs; }
    const Faults& faults() const { return faultKnobs; }
    // The working settings as the next status report carries them.
    EcuSettings& settings() { return working; }
    const EcuSettings& settings() const { return working; }
    const EcuSettings& storedSettings() const { return stored; }
    const FuelState& fuel() const { return fuelState; }
    const EcuConfig& config() const { return cfg; }
    EngineModel& engine() { return engineModel; }
    // Line rate in bytes per second; 0 lifts the limit.
    void setBytesPerSecond(int rate) { line.setBytesPerSecond(rate); }

    Micros now() const { return Micros(nowUs); }
    bool streaming() const { return streamOn; }
    bool busy() const { return job.has_value(); }
    double reducerTemperatureC() const { return engineModel.reducerTemperatureC(nowUs); }
    // When the last good frame from the host arrived; empty before the first.
    std::optional<Micros> lastHostFrame() const;
    uint64_t hostFrames() const { return receiver.goodFrames(); }
    uint64_t badHostFrames() const { return receiver.badFrames(); }

private:
    struct Job {
        int64_t doneAt;
        int64_t nextBusyAt;
    };
    using Handler = void (VirtualEcu::*)(const Bytes& payload);
    struct Command {
        uint8_t letter;
        std::size_t length; // payload bytes the command needs, letter included
        bool setting;       // a stored setting: busy while streaming is stopped
        Handler handler;
    };
    static const Command* FindCommand(uint8_t letter);

    // --- protocol ---
    void handleFrame(const Bytes& payload);
    void send(const Bytes& payload);
    void sendLive();
    void sendStatus();
    void startJob(int64_t workUs);
    EngineReading nextReading();
    bool replayMovedOn() const;

    // --- time ---
    void runDueEvents();
    int64_t nextEventAt() const;
    void runStreaming();
    void runJob();

    // --- commands (virtual_ecu_commands.cpp) ---
    void onGas(const Bytes&);
    void onPetrol(const Bytes&);
    void onStore(const Bytes&);
    void onRpmDivider(const Bytes&);
    void onSwitchTemperature(const Bytes&);
    void onMinGasPressure(const Bytes&);
    void onTankPoints(const Bytes&);
    void onBaseCorrection(const Bytes&);
    void onGasInjectors(const Bytes&);
    void onInjectorProtection(const Bytes&);
    void onRpmPin(const Bytes&);
    void onTestInjector(const Bytes&);
    void onSendMap(const Bytes&);
    void onRequestMap(const Bytes&);
    void onRequestVersion(const Bytes&);
    void onStartStreaming(const Bytes&);
    void onStopStreaming(const Bytes&);
    void onSwitchRpm(const Bytes&);
    void onMapSensor(const Bytes&);
    void onFastChange(const Bytes&);
    void onRequestStatus(const Bytes&);
    bool reducerWarm() const;
    void switchFuel(bool gas);
    // Whether the last handler took its command; a refused command gets no report back.
    bool taken = true;

    EcuConfig cfg;
    EngineModel engineModel;
    FaultInjector injector;
    SerialLine line;
    HostFrameReceiver receiver;
    Faults faultKnobs;
    EcuSettings working;
    EcuSettings stored;
    FuelState fuelState;
    int64_t nowUs = 0;
    std::optional<int64_t> lastFrameUs;
    bool streamOn = false;
    int64_t nextLiveAt = 0;
    int liveCount = 0;
    std::optional<Job> job;
    std::optional<DriveReplay> drive;
    uint64_t shownReplayMoves = 0; // the replay's move count at the last live report
    std::optional<bool> replayGas; // the recorded fuel at the last live report
};

} // namespace ecusim
