#pragma once

#include "ecu/serial_port.h"

#include <deque>
#include <functional>
#include <set>
#include <vector>

// A serial port for tests: records what the link writes and delivers chosen bytes on demand.
class FakeSerialPort : public SerialPort {
public:
    bool open(int portNumber) override;
    void close() override {
        if (openFlag && onClose)
            onClose();
        openFlag = false;
    }
    bool isOpen() const override { return openFlag; }
    std::size_t takeBytes(uint8_t* buffer, std::size_t max) override;
    // A failing write queues nothing, a short one the first half; both answer false.
    bool write(const uint8_t* data, std::size_t size) override {
        if (failWrite)
            return false;
        const std::size_t taken = shortWrite ? size / 2 : size;
        written.insert(written.end(), data, data + taken);
        return taken == size;
    }
    void flush() override;
    bool isAvailable(int portNumber) override { return portNumber != 0 && available.count(portNumber) > 0; }
    std::string lastError() const override { return error; }

    // Queues bytes and raises the bytes-available notification with their count.
    void deliver(const std::vector<uint8_t>& bytes);
    // Queues bytes without notifying.
    void queue(const std::vector<uint8_t>& bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }
    void notify(uint16_t count) { notifyBytesAvailable(count); }
    void unplug() { openFlag = false, notifyPortLost(); }
    // Queued bytes that failed later, as a serial port reports a write error.
    void failQueuedWrite() { notifyWriteFailed(); }
    std::vector<uint8_t> takeWritten();

    bool openFlag = false;
    std::function<void()> onClose; // runs when an open port is closed
    bool failOpen = false;
    bool failTake = false;
    bool failWrite = false;
    bool shortWrite = false;
    int openCount = 0;
    int lastOpened = -1;
    int flushCount = 0;
    std::set<int> available;
    std::deque<uint8_t> input;
    std::vector<uint8_t> written;
    std::string error;
};
