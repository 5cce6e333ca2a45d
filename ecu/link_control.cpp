#include "ecu/tecu.h"

#include "ecu/qt_serial_port.h"

Tecu::Tecu(std::unique_ptr<SerialPort> serialPort, QObject* parent)
    : QObject(parent), port(serialPort ? std::move(serialPort) : std::make_unique<QtSerialPort>()) {
    port->setBytesAvailableHandler([this](uint16_t count) { OnBytesAvailable(count); });
    port->setPortLostHandler([this] { HandlePortLost(); });
    port->setWriteFailedHandler([this] { ++lineFaults; });
    ClearEventHandlers();
    linkTimer.setTimerType(Qt::PreciseTimer);
    connect(&linkTimer, &QTimer::timeout, this, &Tecu::LinkTick);
    linkTimer.start(kTickStartMs);
}

Tecu::~Tecu() {
    linkTimer.stop();
    if (port->isOpen()) {
        port->flush();
        port->close();
    }
    port->setBytesAvailableHandler(nullptr);
    port->setPortLostHandler(nullptr);
    port->setWriteFailedHandler(nullptr);
    workerEnabled = false;
}

void Tecu::SetPort(int n) {
    reopenLostPort = false;
    port->close();
    portNumber = static_cast<uint16_t>(n);
}

bool Tecu::OpenPort() {
    reopenLostPort = false;
    if (port->isOpen())
        port->close();
    port->forgetChosenPort();
    const bool opened = port->open(portNumber);
    if (portNumber == 0 && port->lastChosenPort() != 0)
        portNumber = static_cast<uint16_t>(port->lastChosenPort());
    return opened && port->isOpen();
}

bool Tecu::IsPortOpen() const {
    return port->isOpen();
}

void Tecu::Disconnect() {
    reopenLostPort = false;
    StopStreaming();
    port->close();
}

void Tecu::LinkTick() {
    if (!port->isOpen()) {
        if (reopenLostPort)
            TryReopenLostPort();
        return;
    }
    ++linkTicks;

    // A frame in progress is abandoned after 11 quiet ticks.
    if (rxIdle > 0)
        --rxIdle;
    else
        rxState = 0;

    if (linkTimeout > 0) {
        --linkTimeout;
    } else {
        linkState = 0;
        eventsEnabled = false;
        OnLinkLost.raise();
    }

    switch (linkState) {
    case 0:
        eventsEnabled = false;
        SetLinkInterval(kTickSlowMs);
        RequestMap();
        break;
    case 1:
        statusWaitTicks = 0;
        RequestVersion();
        break;
    case 2:
        // The ECU sends its status report by itself after the version exchange. When that one report is
        // lost on a poor line, asking for the version again brings another instead of waiting out the
        // whole link timeout.
        if (++statusWaitTicks > kStatusWaitTicks) {
            statusWaitTicks = 0;
            linkState = 1;
            RequestVersion();
        }
        break;
    case 3:
        StartStreaming();
        break;
    case 4:
        statusReportsAtConnect = statusReports;
        OnConnected.raise();
        linkState = 5;
        SetLinkInterval(kTickConnectedMs);
        break;
    case 5:
        EnableWorker();
        break;
    default:
        linkState = 0;
        break;
    }
}

// A pulled adapter is a lost link at once, not after the silence runs out: the display must not go on
// saying "connected" while nothing can arrive.
void Tecu::HandlePortLost() {
    ++lineFaults;
    port->close();
    rxState = 0;
    linkState = 0;
    linkTimeout = 0;
    eventsEnabled = false;
    reopenLostPort = portNumber != 0;
    SetLinkInterval(kTickSlowMs);
    OnLinkLost.raise();
    OnPortLost.raise();
}

// Quietly, on the slow tick: the same port number, never the port question.
void Tecu::TryReopenLostPort() {
    if (!port->open(portNumber) || !port->isOpen())
        return;
    reopenLostPort = false;
    port->flush();
    OnPortReopened.raise();
}

void Tecu::SetLinkInterval(int ms) {
    if (linkTimer.interval() != ms)
        linkTimer.setInterval(ms);
}

void Tecu::EnableWorker() {
    if (workerEnabled)
        return;
    workerEnabled = true;
    QMetaObject::invokeMethod(this, &Tecu::WorkerExecute, Qt::QueuedConnection);
}

void Tecu::WorkerExecute() {
    // A pass already run directly leaves the posted call with nothing to do.
    if (!workerEnabled)
        return;
    WorkerPass();
    workerEnabled = false;
}
