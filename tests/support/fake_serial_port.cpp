#include "tests/support/fake_serial_port.h"

bool FakeSerialPort::open(int portNumber) {
    ++openCount;
    if (portNumber == 0)
        portNumber = askForPort();
    lastOpened = portNumber;
    openFlag = !failOpen && portNumber != 0;
    return openFlag;
}

bool FakeSerialPort::takeByte(uint8_t& byte) {
    if (failTake || input.empty())
        return false;
    byte = input.front();
    input.pop_front();
    return true;
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
