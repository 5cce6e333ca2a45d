#include "ecu/tecu.h"

#include <algorithm>

namespace {

constexpr uint32_t kLiveReportLength = 27;
constexpr uint32_t kStatusReportLength = 19;
constexpr uint32_t kMapReportLength = 13;
constexpr uint32_t kVersionReportLength = 3;
constexpr uint32_t kMaxPeriod = 6552;
constexpr uint32_t kRpmNumerator = 3000000;

uint32_t Word(const uint8_t* p, int offset) {
    return p[offset] | (static_cast<uint32_t>(p[offset + 1]) << 8);
}

int32_t InvertedPoint(uint8_t b) {
    return 127 - (b & 0x7F);
}

// One item of the status report, in the order the ECU's values are compared and published.
enum class Width { Byte, InvertedByte, Word, SignedWord, Bit };
struct StatusItem {
    Width width;
    int where; // payload offset, or bit number of the status byte
    int32_t Tecu::*number;
    bool Tecu::*flag;
    Event<int32_t> Tecu::*event;
    bool tankInput;
};

constexpr int kStatusBitsOffset = 18;

const StatusItem kStatusItems[] = {
    {Width::Bit, 4, nullptr, &Tecu::slaveEcu, &Tecu::OnSlaveEcuChanged, false},
    {Width::Byte, 4, &Tecu::switchTemperature, nullptr, &Tecu::OnSwitchTemperatureChanged, false},
    {Width::SignedWord, 11, &Tecu::reducerTemperature, nullptr, &Tecu::OnReducerTemperature, false},
    {Width::Word, 13, &Tecu::tankSensor, nullptr, &Tecu::OnTankSensor, true},
    {Width::Byte, 3, &Tecu::rpmDivider, nullptr, &Tecu::OnRpmDividerChanged, false},
    {Width::Word, 5, &Tecu::tankMax, nullptr, &Tecu::OnTankMaxChanged, true},
    {Width::Word, 7, &Tecu::tankMin, nullptr, &Tecu::OnTankMinChanged, true},
    {Width::InvertedByte, 1, &Tecu::baseCorrection, nullptr, &Tecu::OnBaseCorrectionChanged, false},
    {Width::Byte, 2, &Tecu::injectorProtection, nullptr, &Tecu::OnInjectorProtectionChanged, false},
    {Width::Byte, 9, &Tecu::injectorTestMask, nullptr, &Tecu::OnInjectorTestChanged, false},
    {Width::Byte, 10, &Tecu::gasInjectorMask, nullptr, &Tecu::OnGasInjectorsChanged, false},
    {Width::Word, 15, &Tecu::minGasPressure, nullptr, &Tecu::OnMinGasPressureChanged, false},
    {Width::Byte, 17, &Tecu::switchRpmIndex, nullptr, &Tecu::OnSwitchRpmChanged, false},
    {Width::Bit, 0, nullptr, &Tecu::gasMode, &Tecu::OnGasModeChanged, false},
    {Width::Bit, 1, nullptr, &Tecu::rpmPin, &Tecu::OnRpmPinChanged, false},
    {Width::Bit, 5, nullptr, &Tecu::mapSensor, &Tecu::OnMapSensorChanged, false},
    {Width::Bit, 6, nullptr, &Tecu::statusBit6, &Tecu::OnStatusBit6Changed, false},
    {Width::Bit, 7, nullptr, &Tecu::fastChange, &Tecu::OnFastChangeChanged, false},
};

int32_t DecodeItem(const StatusItem& item, const uint8_t* p) {
    switch (item.width) {
    case Width::Byte:
        return p[item.where];
    case Width::InvertedByte:
        return InvertedPoint(p[item.where]);
    case Width::Word:
        return static_cast<int32_t>(Word(p, item.where));
    case Width::SignedWord:
        return static_cast<int16_t>(Word(p, item.where));
    case Width::Bit:
        return (p[kStatusBitsOffset] >> item.where) & 1;
    }
    return 0;
}

// The stored value as the ECU's field width sees it.
int32_t StoredAsWire(const StatusItem& item, int32_t stored) {
    switch (item.width) {
    case Width::Byte:
        return stored & 0xFF;
    case Width::Word:
        return stored & 0xFFFF;
    default:
        return stored;
    }
}

} // namespace

void Tecu::DispatchFrame() {
    const uint8_t letter = rxBuffer[0];
    // A report shorter than its layout is not decoded: its missing bytes were never received.
    // Such a frame is ignored as a whole, like an unknown one.
    switch (letter) {
    case '1':
        if (!FrameCarries(kLiveReportLength))
            break;
        linkTimeout = kLinkTimeoutTicks;
        ecuBusy = false;
        DecodeLiveReport();
        if (linkState == 3)
            linkState = 4;
        break;
    case '2':
        if (!FrameCarries(kStatusReportLength))
            break;
        linkTimeout = kLinkTimeoutTicks;
        ecuBusy = false;
        if (linkState == 5 && eventsEnabled) {
            DecodeStatusReport();
            ++statusReports;
        }
        if (linkState == 2)
            linkState = 3;
        break;
    case 'b':
        linkTimeout = kLinkTimeoutTicks;
        ecuBusy = true;
        break;
    case 'v':
        if (!FrameCarries(kVersionReportLength))
            break;
        ecuVersionMajor = rxBuffer[2];
        ecuVersionMinor = rxBuffer[1];
        ecuBusy = false;
        if (linkState == 1) {
            linkState = 2;
            RefreshAll();
        }
        break;
    case 'y':
        if (!FrameCarries(kMapReportLength))
            break;
        linkTimeout = kLinkTimeoutTicks;
        ecuBusy = false;
        DecodeMapReport();
        if (linkState == 0)
            linkState = 1;
        break;
    default:
        break;
    }
    frameBusy = false;
}

int32_t* Tecu::LiveField(int index) {
    switch (index) {
    case LiveRpm:
        return &rpm;
    case LiveCylinderStatus:
        return &cylinderStatus;
    case LiveLambda:
        return &lambda;
    case LiveGasPressure:
        return &gasPressure;
    default:
        return &injectionTime[index - LiveInjection1];
    }
}

Event<int32_t>& Tecu::LiveEvent(int index) {
    switch (index) {
    case LiveRpm:
        return OnRpm;
    case LiveCylinderStatus:
        return OnCylinderStatus;
    case LiveLambda:
        return OnLambda;
    case LiveGasPressure:
        return OnGasPressure;
    default:
        return OnInjectionTime[index - LiveInjection1];
    }
}

uint32_t Tecu::ComputeRpm(uint32_t period) const {
    const uint32_t divider = static_cast<uint32_t>(rpmDivider);
    if (period == 0 || divider == 0 || period > kMaxPeriod)
        return 0;
    return kRpmNumerator / period / divider;
}

void Tecu::DecodeLiveReport() {
    const uint8_t* p = rxBuffer;
    auto store = [this](int index, int32_t value, bool publish) {
        int32_t& field = *LiveField(index);
        if (field == value)
            return;
        field = value;
        if (publish)
            changedFlags[index] = true;
    };

    const uint32_t period = Word(p, rpmPin ? 19 : 21) / 10;
    store(LiveRpm, static_cast<int32_t>(ComputeRpm(period)), true);
    for (int n = 0; n < kCylinders; ++n)
        store(LiveInjection1 + n, static_cast<int32_t>(Word(p, 3 + 2 * n) * 2 / 5), true);
    // A drop to 0 is stored silently, so the next non-zero status is published again.
    store(LiveCylinderStatus, p[1], p[1] != 0);
    store(LiveLambda, static_cast<int32_t>(Word(p, 23)), true);
    store(LiveGasPressure, static_cast<int32_t>(Word(p, 25)), true);
}

void Tecu::DecodeStatusReport() {
    for (const StatusItem& item : kStatusItems) {
        const int32_t value = DecodeItem(item, rxBuffer);
        if (item.flag) {
            if ((this->*item.flag ? 1 : 0) == value)
                continue;
            this->*item.flag = value != 0;
        } else {
            if (StoredAsWire(item, this->*item.number) == value)
                continue;
            this->*item.number = value;
        }
        if (item.tankInput)
            ComputeTankLevel();
        (this->*item.event).raise(value);
    }
}

void Tecu::DecodeMapReport() {
    for (int i = 0; i < kMapPoints; ++i)
        engineMap[i] = InvertedPoint(rxBuffer[1 + i]);
    ++mapReports;
    if (eventsEnabled)
        OnMapReceived.raise();
}

void Tecu::ComputeTankLevel() {
    if (tankMax == tankMin)
        return;
    // A reading beyond either point counts as that point, and a sensor wired the other way round
    // (Max below Min) reads the same way, so an empty tank never shows as full.
    const int32_t inverted = 1023 - tankSensor;
    const double span = tankMax - tankMin;
    double fromFull = static_cast<double>(tankMax - inverted);
    if (fromFull / span < 0)
        fromFull = 0;
    if (fromFull / span > 1)
        fromFull = span;
    int32_t step = static_cast<int32_t>((4.4 / span) * fromFull);
    if (step > 4 || step < 0)
        step = 0;
    tankLevelMask = 255 << step;
}

void Tecu::WorkerPass() {
    if (!eventsEnabled || linkState != 5)
        return;
    for (int i = 0; i < kLiveValues; ++i) {
        if (changedFlags[i])
            LiveEvent(i).raise(*LiveField(i));
    }
    if (calibrationActive)
        AdvanceCalibration();
    changedFlags.fill(false);
}

void Tecu::RefreshAll() {
    if (!eventsEnabled)
        return;
    OnRpmPinChanged.raise(rpmPin);
    OnRpm.raise(rpm);
    for (int n = 0; n < kCylinders; ++n)
        OnInjectionTime[n].raise(injectionTime[n]);
    OnCylinderStatus.raise(cylinderStatus);
    OnGasModeChanged.raise(gasMode);
    OnLambda.raise(lambda);
    OnSwitchTemperatureChanged.raise(switchTemperature);
    OnReducerTemperature.raise(reducerTemperature);
    OnTankSensor.raise(tankSensor);
    OnRpmDividerChanged.raise(rpmDivider);
    OnTankMaxChanged.raise(tankMax);
    OnTankMinChanged.raise(tankMin);
    OnBaseCorrectionChanged.raise(baseCorrection);
    OnInjectorProtectionChanged.raise(injectorProtection);
    OnInjectorTestChanged.raise(injectorTestMask);
    OnMapReceived.raise();
    OnGasInjectorsChanged.raise(gasInjectorMask);
    OnSlaveEcuChanged.raise(slaveEcu);
    OnMinGasPressureChanged.raise(minGasPressure);
    OnMapSensorChanged.raise(mapSensor);
    OnStatusBit6Changed.raise(statusBit6);
    OnFastChangeChanged.raise(fastChange);
    OnGasPressure.raise(gasPressure);
    OnSwitchRpmChanged.raise(switchRpmIndex);
}

std::array<Event<int32_t>*, Tecu::kValueEvents> Tecu::ValueEvents() {
    std::array<Event<int32_t>*, kValueEvents> events{&OnRpm,
                                                     &OnRpmPinChanged,
                                                     &OnCylinderStatus,
                                                     &OnGasModeChanged,
                                                     &OnLambda,
                                                     &OnSwitchTemperatureChanged,
                                                     &OnReducerTemperature,
                                                     &OnTankSensor,
                                                     &OnRpmDividerChanged,
                                                     &OnTankMaxChanged,
                                                     &OnTankMinChanged,
                                                     &OnBaseCorrectionChanged,
                                                     &OnInjectorProtectionChanged,
                                                     &OnInjectorTestChanged,
                                                     &OnGasInjectorsChanged,
                                                     &OnSlaveEcuChanged,
                                                     &OnGasPressure,
                                                     &OnMinGasPressureChanged,
                                                     &OnMapSensorChanged,
                                                     &OnStatusBit6Changed,
                                                     &OnFastChangeChanged,
                                                     &OnSwitchRpmChanged};
    for (int n = 0; n < kCylinders; ++n)
        events[kValueEvents - kCylinders + n] = &OnInjectionTime[n];
    return events;
}

void Tecu::ClearEventHandlers() {
    for (Event<int32_t>* e : ValueEvents())
        e->clear();
    OnLinkLost.clear();
    OnConnected.clear();
    OnPortLost.clear();
    OnPortReopened.clear();
    OnMapReceived.clear();
    OnCalibrationProgress.clear();
}

void Tecu::SetCalibrationActive(bool on) {
    calibrationStep = 0;
    calibrationActive = on;
}

void Tecu::SetCalibrationSensitivity(uint32_t n) {
    calibrationSensitivity = std::clamp(n, kMinCalibrationSensitivity, kMaxCalibrationSensitivity);
}
