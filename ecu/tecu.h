#pragma once

#include "ecu/event.h"
#include "ecu/serial_port.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>

// The ECU link: serial port, frame codec, link state machine, command operations, the stored ECU state
// and one change event per state value. Everything runs on the GUI thread.
class Tecu : public QObject {
    Q_OBJECT

public:
    static constexpr int kCylinders = 8;
    static constexpr int kMapPoints = 12;
    static constexpr int kLiveValues = 12; // rpm, injection time 1..8, cylinder status, lambda, gas pressure
    static constexpr int kBufferSize = 100;
    static constexpr int kLinkTimeoutTicks = 100;
    static constexpr int kRxIdleTicks = 10;
    static constexpr int kMaxRxLength = 50;
    static constexpr std::size_t kReceiveBlockSize = 256; // bytes taken from the port at a time
    static constexpr int kTickStartMs = 100;
    static constexpr int kTickSlowMs = 1000;
    static constexpr int kTickConnectedMs = 25;
    static constexpr int kStatusWaitTicks = 3;      // slow ticks in state 2 before the version is asked again
    static constexpr int kCalibrationSamples = 101; // petrol samples of one cycle; the first 100 count
    static constexpr uint32_t kMinCalibrationSensitivity = 1;
    static constexpr uint32_t kMaxCalibrationSensitivity = 15;

    enum LiveValue {
        LiveRpm = 0,
        LiveInjection1 = 1, // cylinders 1..8 follow in order
        LiveCylinderStatus = 9,
        LiveLambda = 10,
        LiveGasPressure = 11,
    };

    // Without a port the Qt serial port is used.
    explicit Tecu(std::unique_ptr<SerialPort> port = nullptr, QObject* parent = nullptr);
    ~Tecu() override;

    // --- link control ---
    void SetPort(int n);
    uint16_t PortNumber() const { return portNumber; }
    bool OpenPort();
    bool IsPortOpen() const;
    bool IsConnected() const { return linkState == 5; }
    void Disconnect();
    SerialPort& Port() { return *port; }
    int LinkInterval() const { return linkTimer.interval(); }
    bool LinkTimerActive() const { return linkTimer.isActive(); }
    void LinkTick();
    void WorkerExecute();
    bool WorkerPending() const { return workerEnabled; }
    bool ReopeningLostPort() const { return reopenLostPort; }

    // --- frame codec ---
    void SendFrame();
    void OnBytesAvailable(uint16_t count);
    void ReceiveBlock(const uint8_t* bytes, std::size_t count);
    std::size_t ReceivePayloadRun(const uint8_t* bytes, std::size_t count);
    void ReceiveByte(uint8_t b);

    // --- commands (fire-and-forget) ---
    void SetFuel(bool gas);
    void SaveToEcu();
    void LoadFromEcu();
    void SetRpmDivider(int n);
    void SetSwitchTemperature(int t);
    void SetMinGasPressure(int v);
    void SetTankMax(int v);
    void SetTankMin(int v);
    void SetBaseCorrection(int x);
    void SetGasInjectors(int mask);
    void SetInjectorProtection(int v);
    void SetRpmPin(int on);
    void TestInjector(int cylinderBit, int state);
    void SendMap();
    void RequestMap();
    void RequestVersion();
    void StartStreaming();
    void StopStreaming();
    void SetSwitchRpm(int i);
    void SetMapSensor(int v);
    void SetFastChange(int v);
    void RequestStatusReport();

    // --- state and events ---
    void DispatchFrame();
    void WorkerPass();
    void RefreshAll();
    void ClearEventHandlers();
    // Every event that carries one value, the injection times included.
    static constexpr int kValueEvents = 22 + kCylinders;
    std::array<Event<int32_t>*, kValueEvents> ValueEvents();
    int32_t TankLevelMask() const { return tankLevelMask; }
    void SetCalibrationActive(bool on);
    void SetCalibrationSensitivity(uint32_t n);
    uint32_t ComputeRpm(uint32_t period) const;
    void ComputeTankLevel();
    // Advances a running automatic calibration by one step; run by the worker pass.
    void AdvanceCalibration();

    // --- codec fields ---
    uint8_t txBuffer[kBufferSize] = {};
    uint32_t txLength = 0;
    uint32_t rxState = 0;
    int32_t rxIdle = 0;
    uint32_t rxLength = 0;
    int32_t rxSum = 0;
    uint32_t rxCount = 0;
    uint8_t rxBuffer[kBufferSize] = {};
    bool frameBusy = false;

    // --- link fields ---
    uint32_t linkState = 0;
    int32_t linkTimeout = 0;
    bool eventsEnabled = false;
    // Counted from construction, so that an operation of several frames can tell what happened since it
    // began: frames that did not go out whole (a failed or short write, or the port closed) and ports lost
    // while open; ticks run with the port open; status reports taken into the state; map reports taken.
    uint32_t lineFaults = 0;
    uint32_t linkTicks = 0;
    uint32_t statusReports = 0;
    uint32_t mapReports = 0;
    // Whether the stored settings come from this connection's ECU rather than from start values or an
    // earlier connection.
    bool StatusReportedSinceConnect() const { return statusReports != statusReportsAtConnect; }

    // --- stored ECU state ---
    std::array<int32_t, kCylinders> injectionTime{};
    int32_t rpm = 0;
    int32_t cylinderStatus = 0;
    int32_t lambda = 0;
    int32_t gasPressure = 0;
    int32_t baseCorrection = 0;
    int32_t injectorProtection = 0;
    int32_t rpmDivider = 1;
    int32_t switchTemperature = 0;
    int32_t tankMax = 1000;
    int32_t tankMin = 10;
    int32_t injectorTestMask = 255;
    int32_t gasInjectorMask = 0;
    int32_t reducerTemperature = 0;
    int32_t tankSensor = 0;
    int32_t minGasPressure = 0;
    int32_t switchRpmIndex = 0;
    bool gasMode = false;
    bool rpmPin = false;
    bool slaveEcu = true;
    bool mapSensor = false;
    bool statusBit6 = false;
    bool fastChange = false;
    std::array<int32_t, kMapPoints> engineMap{32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32};
    int32_t ecuVersionMajor = 0;
    int32_t ecuVersionMinor = 0;
    int32_t tankLevelMask = 0;
    bool ecuBusy = false;
    std::array<bool, kLiveValues> changedFlags{};
    bool calibrationActive = false;
    bool calibrationPaused = false;
    int32_t calibrationStep = 0;
    uint32_t calibrationCount = 0;
    std::array<uint32_t, kCalibrationSamples> calibrationSamples{};
    uint32_t calibrationSensitivity = 1;
    uint32_t petrolAverage = 0;
    uint32_t gasAverage = 0;
    uint32_t gasSum = 0;
    uint32_t sampleDivider = 0;
    uint32_t settleCounter = 0;
    uint32_t matchCounter = 0;

    // --- change events ---
    Event<int32_t> OnRpm;
    Event<int32_t> OnRpmPinChanged;
    std::array<Event<int32_t>, kCylinders> OnInjectionTime; // [0] is cylinder 1
    Event<int32_t> OnCylinderStatus;
    Event<int32_t> OnGasModeChanged;
    Event<int32_t> OnLambda;
    Event<int32_t> OnSwitchTemperatureChanged;
    Event<int32_t> OnReducerTemperature;
    Event<int32_t> OnTankSensor;
    Event<int32_t> OnRpmDividerChanged;
    Event<int32_t> OnTankMaxChanged;
    Event<int32_t> OnTankMinChanged;
    Event<int32_t> OnBaseCorrectionChanged;
    Event<int32_t> OnInjectorProtectionChanged;
    Event<> OnLinkLost;
    Event<> OnConnected;
    // The port vanished while open (adapter pulled); the link retries it about once a second.
    Event<> OnPortLost;
    Event<> OnPortReopened;
    Event<> OnMapReceived;
    Event<int32_t, int32_t, int32_t> OnCalibrationProgress; // step, sample count, code
    Event<int32_t> OnInjectorTestChanged;
    Event<int32_t> OnGasInjectorsChanged;
    Event<int32_t> OnSlaveEcuChanged;
    Event<int32_t> OnGasPressure;
    Event<int32_t> OnMinGasPressureChanged;
    Event<int32_t> OnMapSensorChanged;
    Event<int32_t> OnStatusBit6Changed;
    Event<int32_t> OnFastChangeChanged;
    Event<int32_t> OnSwitchRpmChanged;

private:
    void SendPayload(std::initializer_list<uint8_t> payload);
    void EnableWorker();
    void HandlePortLost();
    void TryReopenLostPort();
    void SetLinkInterval(int ms);
    void DecodeLiveReport();
    void DecodeStatusReport();
    void DecodeMapReport();
    bool FrameCarries(uint32_t layoutLength) const { return rxLength >= layoutLength; }
    int32_t* LiveField(int index);
    Event<int32_t>& LiveEvent(int index);

    std::unique_ptr<SerialPort> port;
    uint16_t portNumber = 0;
    QTimer linkTimer;
    bool workerEnabled = false;
    bool reopenLostPort = false;
    int statusWaitTicks = 0;
    uint32_t statusReportsAtConnect = 0;
};
