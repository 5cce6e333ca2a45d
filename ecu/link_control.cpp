#include "ecu/tecu.h"

#include "ecu/qt_serial_port.h"

Tecu::Tecu(std::unique_ptr<SerialPort> serialPort, QObject* parent)
    : QObject(parent), port(serialPort ? std::move(serialPort) : std::make_unique<QtSerialPort>()) {
    port->setBytesAvailableHandler([this](uint16_t count) { OnBytesAvailable(count); });
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
    workerEnabled = false;
}

void Tecu::SetPort(int n) {
    port->close();
    portNumber = static_cast<uint16_t>(n);
}

bool Tecu::OpenPort() {
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
    StopStreaming();
    port->close();
}

void Tecu::LinkTick() {
    if (!port->isOpen())
        return;

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
        RequestVersion();
        break;
    case 2:
        // The ECU sends its status report by itself after the version exchange.
        break;
    case 3:
        StartStreaming();
        break;
    case 4:
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
