#include "tests/support/fake_serial_port.h"

#include "tests/support/byte_queue.h"

bool FakeSerialPort::open(int portNumber) {
    ++openCount;
    if (portNumber == 0)
        portNumber = askForPort();
    lastOpened = portNumber;
    openFlag = !failOpen && portNumber != 0;
    return openFlag;
}

std::size_t FakeSerialPort::takeBytes(uint8_t* buffer, std::size_t max) {
    return failTake ? 0 : TakeFront(input, buffer, max);
}

void FakeSerialPort::flush() {
    ++flushCount;
    input.clear();
}

void FakeSerialPort::deliver(const std::vector<uint8_t>& bytes) {
    queue(bytes);
    notifyBytesAvailable(static_cast<uint16_t>(bytes.size()));
}

std::vector<uint8_t> FakeSerialPort::takeWritten() {
    std::vector<uint8_t> out;
    out.swap(written);
    return out;
}
