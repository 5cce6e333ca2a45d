#include "ecu/tecu.h"

namespace {
uint8_t Low(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}
uint8_t High(int v) {
    return static_cast<uint8_t>((v >> 8) & 0xFF);
}
bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
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
    if (InRange(n, 1, 8))
        SendPayload({'d', Low(n)});
}

void Tecu::SetSwitchTemperature(int t) {
    if (InRange(t, 1, 1019))
        SendPayload({'c', Low(t)});
}

void Tecu::SetMinGasPressure(int v) {
    SendPayload({'b', Low(v), High(v)});
}

void Tecu::SetTankMax(int v) {
    if (InRange(v, 1, 1022))
        SendPayload({'l', Low(v), High(v), Low(tankMin), High(tankMin)});
}

void Tecu::SetTankMin(int v) {
    if (InRange(v, 1, 1022))
        SendPayload({'l', Low(tankMax), High(tankMax), Low(v), High(v)});
}

void Tecu::SetBaseCorrection(int x) {
    if (x == -1)
        x = 0;
    if (static_cast<uint32_t>(x) > 127)
        x = 127;
    SendPayload({'n', Inverted(x)});
}

void Tecu::SetGasInjectors(int mask) {
    SendPayload({'m', Low(mask)});
}

void Tecu::SetInjectorProtection(int v) {
    SendPayload({'p', Low(v)});
}

void Tecu::SetRpmPin(int on) {
    SendPayload({'u', static_cast<uint8_t>(on ? 1 : 0)});
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
    SendPayload({'e', static_cast<uint8_t>(static_cast<uint32_t>(i) > 11 ? 0 : i)});
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
