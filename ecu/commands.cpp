#include "ecu/setting_values.h"
#include "ecu/tecu.h"

namespace {
uint8_t Low(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}
uint8_t High(int v) {
    return static_cast<uint8_t>((v >> 8) & 0xFF);
}
// Base correction and map points travel inverted.
uint8_t Inverted(int v) {
    return static_cast<uint8_t>((127 - v) & 0xFF);
}
} // namespace

void Tecu::SetFuel(bool gas) {
    SendPayload({static_cast<uint8_t>(gas ? 'r' : 's')});
}

void Tecu::SaveToEcu() {
    SendPayload({'w', 'w'});
}

void Tecu::LoadFromEcu() {
    SendPayload({'w', 'r'});
}

void Tecu::SetRpmDivider(int n) {
    if (const auto divider = SettingValues::RpmDivider(n))
        SendPayload({'d', Low(*divider)});
}

void Tecu::SetSwitchTemperature(int t) {
    if (const auto temperature = SettingValues::SwitchTemperature(t))
        SendPayload({'c', Low(*temperature)});
}

void Tecu::SetMinGasPressure(int v) {
    SendPayload({'b', Low(v), High(v)});
}

void Tecu::SetTankMax(int v) {
    if (SettingValues::TankPoint(v))
        SendPayload({'l', Low(v), High(v), Low(tankMin), High(tankMin)});
}

void Tecu::SetTankMin(int v) {
    if (SettingValues::TankPoint(v))
        SendPayload({'l', Low(tankMax), High(tankMax), Low(v), High(v)});
}

void Tecu::SetBaseCorrection(int x) {
    SendPayload({'n', Inverted(SettingValues::BaseCorrection(x))});
}

void Tecu::SetGasInjectors(int mask) {
    SendPayload({'m', Low(mask)});
}

void Tecu::SetInjectorProtection(int v) {
    SendPayload({'p', Low(v)});
}

void Tecu::SetRpmPin(int on) {
    SendPayload({'u', static_cast<uint8_t>(SettingValues::Flag(on))});
}

void Tecu::TestInjector(int cylinderBit, int state) {
    SendPayload({'a', Low(cylinderBit), Low(state)});
}

void Tecu::SendMap() {
    txLength = 0;
    txBuffer[txLength++] = 't';
    for (int32_t point : engineMap)
        txBuffer[txLength++] = Inverted(point);
    SendFrame();
}

void Tecu::RequestMap() {
    SendPayload({'y'});
}

void Tecu::RequestVersion() {
    SendPayload({'v', 0xFA});
}

void Tecu::StartStreaming() {
    SendPayload({'*'});
}

void Tecu::StopStreaming() {
    SendPayload({'x'});
}

void Tecu::SetSwitchRpm(int i) {
    SendPayload({'e', static_cast<uint8_t>(SettingValues::SwitchRpmIndex(i))});
}

void Tecu::SetMapSensor(int v) {
    SendPayload({'h', Low(v)});
}

void Tecu::SetFastChange(int v) {
    SendPayload({'f', Low(v)});
}

void Tecu::RequestStatusReport() {
    SendPayload({'2'});
}
