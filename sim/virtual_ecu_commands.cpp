#include "sim/reports.h"
#include "sim/virtual_ecu.h"

#include <algorithm>
#include <array>

namespace ecusim {

namespace {

uint16_t WordAt(const Bytes& payload, std::size_t offset) {
    return static_cast<uint16_t>(payload[offset] | payload[offset + 1] << 8);
}

constexpr uint8_t kVersionKey = 0xFA;
constexpr uint16_t kMaxReading = 1023;
constexpr uint8_t kSwitchRpmChoices = 6;

} // namespace

const VirtualEcu::Command* VirtualEcu::FindCommand(uint8_t letter) {
    static const std::array<Command, 21> commands{{
        {'r', 1, false, &VirtualEcu::onGas},
        {'s', 1, false, &VirtualEcu::onPetrol},
        {'w', 2, false, &VirtualEcu::onStore},
        {'d', 2, true, &VirtualEcu::onRpmDivider},
        {'c', 2, true, &VirtualEcu::onSwitchTemperature},
        {'b', 3, true, &VirtualEcu::onMinGasPressure},
        {'l', 5, true, &VirtualEcu::onTankPoints},
        {'n', 2, true, &VirtualEcu::onBaseCorrection},
        {'m', 2, true, &VirtualEcu::onGasInjectors},
        {'p', 2, true, &VirtualEcu::onInjectorProtection},
        {'u', 2, true, &VirtualEcu::onRpmPin},
        {'a', 3, false, &VirtualEcu::onTestInjector},
        {'t', 1 + kMapPoints, true, &VirtualEcu::onSendMap},
        {'y', 1, false, &VirtualEcu::onRequestMap},
        {'v', 2, false, &VirtualEcu::onRequestVersion},
        {'*', 1, false, &VirtualEcu::onStartStreaming},
        {'x', 1, false, &VirtualEcu::onStopStreaming},
        {'e', 2, true, &VirtualEcu::onSwitchRpm},
        {'h', 2, true, &VirtualEcu::onMapSensor},
        {'f', 2, true, &VirtualEcu::onFastChange},
        {'2', 1, false, &VirtualEcu::onRequestStatus},
    }};
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [letter](const Command& c) { return c.letter == letter; });
    return found == commands.end() ? nullptr : &*found;
}

void VirtualEcu::handleFrame(const Bytes& payload) {
    if (payload.empty())
        return;
    const Command* command = FindCommand(payload[0]);
    // Unknown letters and commands short of their bytes are ignored, as a real unit would.
    if (!command || payload.size() < command->length)
        return;
    taken = true;
    (this->*command->handler)(payload);
    if (taken && command->setting && !streamOn)
        startJob(kSettingWorkUs);
}

bool VirtualEcu::reducerWarm() const {
    return reducerTemperatureC() >= working.switchTemperature;
}

void VirtualEcu::onGas(const Bytes&) {
    // A cold reducer would freeze: the request leaves the engine on petrol.
    if (!reducerWarm())
        return;
    switchFuel(true);
}

void VirtualEcu::onPetrol(const Bytes&) {
    switchFuel(false);
}

// Every cylinder with a gas injector goes to gas, or all go to petrol.
void VirtualEcu::switchFuel(bool gas) {
    fuelState.gasMode = gas;
    fuelState.injectorTestMask =
        gas ? static_cast<uint8_t>(~(working.gasInjectorMask & engineModel.cylinders())) : uint8_t{0xFF};
}

void VirtualEcu::onStore(const Bytes& payload) {
    if (payload[1] == 'w')
        stored = working;
    else if (payload[1] == 'r')
        working = stored;
    else
        return;
    startJob(kStoreWorkUs);
}

void VirtualEcu::onRpmDivider(const Bytes& payload) {
    taken = payload[1] >= 1 && payload[1] <= 8;
    if (taken)
        working.rpmDivider = payload[1];
}

void VirtualEcu::onSwitchTemperature(const Bytes& payload) {
    working.switchTemperature = payload[1];
}

void VirtualEcu::onMinGasPressure(const Bytes& payload) {
    const uint16_t value = WordAt(payload, 1);
    taken = value <= kMaxReading;
    if (taken)
        working.minGasPressure = value;
}

void VirtualEcu::onTankPoints(const Bytes& payload) {
    const uint16_t max = WordAt(payload, 1);
    const uint16_t min = WordAt(payload, 3);
    taken = max <= kMaxReading && min <= kMaxReading;
    if (!taken)
        return;
    working.tankMax = max;
    working.tankMin = min;
}

void VirtualEcu::onBaseCorrection(const Bytes& payload) {
    working.baseCorrection = reports::FromInverted(payload[1]);
}

void VirtualEcu::onGasInjectors(const Bytes& payload) {
    working.gasInjectorMask = payload[1];
    // A cylinder whose gas injector is switched off goes back to petrol.
    fuelState.injectorTestMask |= static_cast<uint8_t>(~payload[1]);
}

void VirtualEcu::onInjectorProtection(const Bytes& payload) {
    working.injectorProtection = payload[1];
}

void VirtualEcu::onRpmPin(const Bytes& payload) {
    working.rpmPin = payload[1] != 0;
}

void VirtualEcu::onTestInjector(const Bytes& payload) {
    // The host sends the state it sees; the cylinder goes to the other fuel.
    const uint8_t bit = payload[1];
    if ((bit & engineModel.cylinders()) == 0)
        return;
    const bool toGas = payload[2] != 0;
    if (!toGas)
        fuelState.injectorTestMask |= bit;
    else if (reducerWarm())
        fuelState.injectorTestMask &= static_cast<uint8_t>(~bit);
}

void VirtualEcu::onSendMap(const Bytes& payload) {
    for (std::size_t i = 0; i < working.map.size(); ++i)
        working.map[i] = static_cast<uint8_t>(reports::FromInverted(payload[1 + i]));
}

void VirtualEcu::onRequestMap(const Bytes&) {
    send(reports::Map(working));
}

void VirtualEcu::onRequestVersion(const Bytes& payload) {
    if (payload[1] != kVersionKey)
        return;
    send(reports::Version(cfg.versionMajor, cfg.versionMinor));
    // The host's handshake waits for a status report that the ECU sends of its own accord.
    sendStatus();
}

void VirtualEcu::onStartStreaming(const Bytes&) {
    if (streamOn)
        return;
    streamOn = true;
    nextLiveAt = nowUs;
    liveCount = 0;
}

void VirtualEcu::onStopStreaming(const Bytes&) {
    streamOn = false;
}

void VirtualEcu::onSwitchRpm(const Bytes& payload) {
    taken = payload[1] < kSwitchRpmChoices;
    if (taken)
        working.switchRpmIndex = payload[1];
}

void VirtualEcu::onMapSensor(const Bytes& payload) {
    working.mapSensor = payload[1] != 0;
}

void VirtualEcu::onFastChange(const Bytes& payload) {
    working.fastChange = payload[1] != 0;
}

void VirtualEcu::onRequestStatus(const Bytes&) {
    sendStatus();
}

} // namespace ecusim
