#pragma once

#include "ecu/serial_port.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

// The ECU line on a real serial port (or the virtual ECU's pseudo-terminal).
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT

public:
    // An empty folder means the default ports folder, chosen once here rather than at every lookup.
    explicit QtSerialPort(QString portsFolder = {}, QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool open(int portNumber) override;
    void close() override;
    bool isOpen() const override { return port.isOpen(); }
    std::size_t takeBytes(uint8_t* buffer, std::size_t max) override;
    bool write(const uint8_t* data, std::size_t size) override;
    void flush() override;
    bool isAvailable(int portNumber) override;
    std::string lastError() const override { return error.toStdString(); }

private:
    QString DeviceFor(int portNumber) const;
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError code);
    static void Configure(QSerialPort& p);

    QSerialPort port;
    QString portsFolder;
    int openNumber = 0;
    QString error;
};
