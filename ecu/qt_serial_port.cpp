#include "ecu/qt_serial_port.h"

#include "ecu/com_port_names.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {
constexpr int kBufferBytes = 4096;
}

QtSerialPort::QtSerialPort(QString folder, QObject* parent)
    : QObject(parent),
      portsFolder(folder.isEmpty() ? ComPortNames::DefaultPortsFolder() : std::move(folder)) {
    connect(&port, &QSerialPort::readyRead, this, &QtSerialPort::OnReadyRead);
    connect(&port, &QSerialPort::errorOccurred, this, &QtSerialPort::OnError);
}

QtSerialPort::~QtSerialPort() {
    port.close();
}

QString QtSerialPort::DeviceFor(int portNumber) const {
    return ComPortNames::DevicePath(portNumber, portsFolder);
}

void QtSerialPort::Configure(QSerialPort& p) {
    p.setBaudRate(QSerialPort::Baud19200);
    p.setDataBits(QSerialPort::Data8);
    p.setParity(QSerialPort::NoParity);
    p.setStopBits(QSerialPort::OneStop);
    p.setFlowControl(QSerialPort::NoFlowControl);
    p.setReadBufferSize(kBufferBytes);
}

bool QtSerialPort::open(int portNumber) {
    close();
    if (portNumber == 0)
        portNumber = askForPort();
    if (portNumber == 0) {
        error = QStringLiteral("No serial port chosen");
        return false;
    }
    const QString device = DeviceFor(portNumber);
    if (device.isEmpty()) {
        error = QStringLiteral("%1 names no serial device").arg(ComPortNames::PortText(portNumber));
        return false;
    }
    port.setPortName(device);
    Configure(port);
    if (!port.open(QIODevice::ReadWrite)) {
        error = QStringLiteral("%1: %2").arg(device, port.errorString());
        if (port.error() == QSerialPort::PermissionError)
            error += QStringLiteral(" (is the user in the group that owns the device, such as dialout?)");
        return false;
    }
    // Pseudo-terminals refuse the modem lines; that is no reason to fail.
    port.setDataTerminalReady(true);
    port.setRequestToSend(true);
    port.clearError();
    openNumber = portNumber;
    error.clear();
    return true;
}

void QtSerialPort::close() {
    if (port.isOpen())
        port.close();
    openNumber = 0;
}

std::size_t QtSerialPort::takeBytes(uint8_t* buffer, std::size_t max) {
    const qint64 n = port.read(reinterpret_cast<char*>(buffer), static_cast<qint64>(max));
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool QtSerialPort::write(const uint8_t* data, std::size_t size) {
    if (!port.isOpen())
        return false;
    const qint64 queued = port.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return queued == static_cast<qint64>(size);
}

void QtSerialPort::flush() {
    if (port.isOpen())
        port.clear(QSerialPort::AllDirections);
}

bool QtSerialPort::isAvailable(int portNumber) {
    if (portNumber <= 0)
        return false;
    if (port.isOpen() && openNumber == portNumber)
        return true;
    const QString device = DeviceFor(portNumber);
    // Probing a device that is not there still costs milliseconds; the list covers 255 numbers.
    if (device.isEmpty() || !QFileInfo::exists(device))
        return false;
    QSerialPort probe(device);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return true;
    }
    // Held by someone else (or refused to us): it exists, so it is listed.
    return probe.error() == QSerialPort::PermissionError;
}

void QtSerialPort::OnReadyRead() {
    const qint64 waiting = port.bytesAvailable();
    if (waiting <= 0)
        return;
    notifyBytesAvailable(
        static_cast<uint16_t>(std::min<qint64>(waiting, std::numeric_limits<uint16_t>::max())));
}

void QtSerialPort::OnError(QSerialPort::SerialPortError code) {
    // A device that went away reports one of these over and over in a tight loop: a pulled USB adapter
    // gives a resource error, a pseudo-terminal whose other end closed gives read errors. Close at the first.
    const bool deviceGone = code == QSerialPort::ResourceError || code == QSerialPort::ReadError;
    if (!port.isOpen())
        return;
    // QSerialPort queues what it is given and writes it later; a failure then comes only as this error.
    if (code == QSerialPort::WriteError)
        notifyWriteFailed();
    if (!deviceGone)
        return;
    error = QStringLiteral("%1: the device went away").arg(port.portName());
    close();
    notifyPortLost();
}
