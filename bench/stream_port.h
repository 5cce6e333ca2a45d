#pragma once

#include "ecu/serial_port.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// A port whose input is one recorded stream, served again from its start whenever it runs out, so the
// receiver can be fed for as long as a benchmark wants without the port's own cost showing.
class StreamPort : public SerialPort {
public:
    explicit StreamPort(std::vector<uint8_t> bytes) : stream(std::move(bytes)) {}

    bool open(int) override { return openFlag = true; }
    void close() override { openFlag = false; }
    bool isOpen() const override { return openFlag; }
    std::size_t takeBytes(uint8_t* buffer, std::size_t max) override {
        for (std::size_t taken = 0; taken < max;) {
            const std::size_t run = std::min(max - taken, stream.size() - next);
            std::memcpy(buffer + taken, stream.data() + next, run);
            taken += run;
            next = next + run == stream.size() ? 0 : next + run;
        }
        return max;
    }
    bool write(const uint8_t*, std::size_t) override { return true; }
    void flush() override {}
    bool isAvailable(int portNumber) override { return portNumber != 0; }

    // Raises the bytes-available notification for the next count bytes.
    void deliver(uint16_t count) { notifyBytesAvailable(count); }

private:
    std::vector<uint8_t> stream;
    std::size_t next = 0;
    bool openFlag = false;
};
