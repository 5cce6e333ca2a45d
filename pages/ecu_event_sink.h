#pragma once

#include <cstdint>

// The main window's handlers of the link's change events, as the pages receive them. The window is
// the single subscriber of every event and hands each value on to every page; a page overrides only
// the values it shows.
class EcuEventSink {
public:
    virtual ~EcuEventSink() = default;

    virtual void ShowRpm(int32_t) {}
    virtual void ShowRpmPin(int32_t) {}
    virtual void ShowInjectionTime(int /*cylinder 1..8*/, int32_t) {}
    virtual void ShowCylinderStatus(int32_t) {}
    virtual void ShowFuelMode(int32_t) {}
    virtual void ShowLambda(int32_t) {}
    virtual void ShowSwitchTemperature(int32_t) {}
    virtual void ShowReducerTemperature(int32_t) {}
    virtual void ShowTankSensor(int32_t) {}
    virtual void ShowRpmDivider(int32_t) {}
    virtual void ShowTankMax(int32_t) {}
    virtual void ShowTankMin(int32_t) {}
    virtual void ShowBaseCorrection(int32_t) {}
    virtual void ShowInjectorProtection(int32_t) {}
    virtual void ShowLinkLost() {}
    virtual void ShowConnected() {}
    virtual void ShowEngineMap() {}
    virtual void ShowCalibrationProgress(int32_t /*step*/, int32_t /*count*/, int32_t /*code*/) {}
    virtual void ShowInjectorTest(int32_t) {}
    virtual void ShowGasInjectors(int32_t) {}
    virtual void ShowGasPressure(int32_t) {}
    virtual void ShowMinGasPressure(int32_t) {}
    virtual void ShowMapSensor(int32_t) {}
    virtual void ShowFastChange(int32_t) {}
    virtual void ShowSwitchRpm(int32_t) {}
};
