#include "tests/ecu/link_fixture.h"

#include "tests/support/handshake.h"

using namespace EcuFrames;

namespace {
FakeSerialPort* MakeFake(FakeSerialPort*& out) {
    return out = new FakeSerialPort;
}
} // namespace

LinkFixture::LinkFixture() : ecu(std::unique_ptr<SerialPort>(MakeFake(fake))) {}

void LinkFixture::Open() {
    ecu.SetPort(1);
    ASSERT_TRUE(ecu.OpenPort());
}

void LinkFixture::Ticks(int n) {
    for (int i = 0; i < n; ++i)
        ecu.LinkTick();
}

void LinkFixture::Connect() {
    Open();
    ecu.OnConnected.bind([this] { ecu.eventsEnabled = true; });
    RunHandshake(ecu, *fake);
    ASSERT_TRUE(ecu.IsConnected());
    ASSERT_TRUE(ecu.eventsEnabled);
    Written();
}

void LinkFixture::RecordAllEvents() {
    auto value = [this](const char* name) {
        return [this, name](int32_t v) { events.push_back(std::string(name) + "=" + std::to_string(v)); };
    };
    auto plain = [this](const char* name) { return [this, name] { events.push_back(name); }; };
    ecu.OnRpm.bind(value("Rpm"));
    ecu.OnRpmPinChanged.bind(value("RpmPin"));
    for (int n = 0; n < Tecu::kCylinders; ++n) {
        static const char* names[] = {"Inj1", "Inj2", "Inj3", "Inj4", "Inj5", "Inj6", "Inj7", "Inj8"};
        ecu.OnInjectionTime[n].bind(value(names[n]));
    }
    ecu.OnCylinderStatus.bind(value("CylinderStatus"));
    ecu.OnGasModeChanged.bind(value("GasMode"));
    ecu.OnLambda.bind(value("Lambda"));
    ecu.OnSwitchTemperatureChanged.bind(value("SwitchTemperature"));
    ecu.OnReducerTemperature.bind(value("ReducerTemperature"));
    ecu.OnTankSensor.bind(value("TankSensor"));
    ecu.OnRpmDividerChanged.bind(value("RpmDivider"));
    ecu.OnTankMaxChanged.bind(value("TankMax"));
    ecu.OnTankMinChanged.bind(value("TankMin"));
    ecu.OnBaseCorrectionChanged.bind(value("BaseCorrection"));
    ecu.OnInjectorProtectionChanged.bind(value("InjectorProtection"));
    ecu.OnInjectorTestChanged.bind(value("InjectorTest"));
    ecu.OnGasInjectorsChanged.bind(value("GasInjectors"));
    ecu.OnSlaveEcuChanged.bind(value("SlaveEcu"));
    ecu.OnGasPressure.bind(value("GasPressure"));
    ecu.OnMinGasPressureChanged.bind(value("MinGasPressure"));
    ecu.OnMapSensorChanged.bind(value("MapSensor"));
    ecu.OnStatusBit6Changed.bind(value("StatusBit6"));
    ecu.OnFastChangeChanged.bind(value("FastChange"));
    ecu.OnSwitchRpmChanged.bind(value("SwitchRpm"));
    ecu.OnLinkLost.bind(plain("LinkLost"));
    ecu.OnConnected.bind(plain("Connected"));
    ecu.OnMapReceived.bind(plain("MapReceived"));
}

std::vector<std::string> LinkFixture::TakeEvents() {
    std::vector<std::string> out;
    out.swap(events);
    return out;
}
