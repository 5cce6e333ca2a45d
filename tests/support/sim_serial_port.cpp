#include "tests/support/sim_serial_port.h"

#include "tests/support/byte_queue.h"

#include <algorithm>
#include <limits>

bool SimSerialPort::open(int portNumber) {
    close();
    if (portNumber == 0)
        portNumber = askForPort();
    if (portNumber <= 0) {
        error = "No serial port chosen";
        return false;
    }
    if (model.faults().unplugged) {
        error = "The virtual ECU is unplugged";
        return false;
    }
    number = portNumber;
    openFlag = true;
    error.clear();
    return true;
}

void SimSerialPort::close() {
    openFlag = false;
    number = 0;
    input.clear();
}

std::size_t SimSerialPort::takeBytes(uint8_t* buffer, std::size_t max) {
    return TakeFront(input, buffer, max);
}

bool SimSerialPort::write(const uint8_t* data, std::size_t size) {
    if (!openFlag)
        return false;
    written += size;
    model.receive(data, size);
    return true;
}

void SimSerialPort::pump(std::chrono::microseconds span) {
    const ecusim::Bytes bytes = model.advance(span);
    if (openFlag && model.faults().unplugged) {
        close();
        error = "The virtual ECU was unplugged";
        notifyPortLost();
        return;
    }
    if (!openFlag)
        return;
    input.insert(input.end(), bytes.begin(), bytes.end());
    // The notification carries at most 65535; a longer backlog waits for the next one.
    const std::size_t count = std::min<std::size_t>(input.size(), std::numeric_limits<uint16_t>::max());
    if (!bytes.empty() && count > 0)
        notifyBytesAvailable(static_cast<uint16_t>(count));
}
