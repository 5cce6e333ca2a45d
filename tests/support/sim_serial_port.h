#pragma once

#include "ecu/serial_port.h"
#include "sim/virtual_ecu.h"

#include <chrono>
#include <deque>
#include <string>

// A serial port whose far end is the virtual ECU, in simulated time: what the link writes goes to the
// model at once; the model's bytes arrive when the test lets time pass with pump(). Pulling the model's
// cable (its unplugged knob) closes the port and reports it lost, as a vanished USB adapter does.
class SimSerialPort : public SerialPort {
public:
    explicit SimSerialPort(ecusim::VirtualEcu& ecu) : model(ecu) {}

    bool open(int portNumber) override;
    void close() override;
    bool isOpen() const override { return openFlag; }
    std::size_t takeBytes(uint8_t* buffer, std::size_t max) override;
    bool write(const uint8_t* data, std::size_t size) override;
    void flush() override { input.clear(); }
    bool isAvailable(int portNumber) override { return portNumber > 0 && !model.faults().unplugged; }
    std::string lastError() const override { return error; }

    // Lets the model run for the span and delivers what it sent with one bytes-available notification.
    // While the port is closed the model runs on and its bytes are lost.
    void pump(std::chrono::microseconds span);

    int openedNumber() const { return number; }
    std::size_t waiting() const { return input.size(); }
    uint64_t bytesWritten() const { return written; }

private:
    ecusim::VirtualEcu& model;
    std::deque<uint8_t> input;
    bool openFlag = false;
    int number = 0;
    uint64_t written = 0;
    std::string error;
};
