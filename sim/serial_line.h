#pragma once

#include "sim/ecu_side_codec.h"

#include <cstdint>
#include <deque>

namespace ecusim {

// The ECU's transmit line: bytes queued by the ECU leave no faster than the line rate allows. A byte
// leaves once its whole transmission time has passed; an idle line saves up no time for later bursts.
class SerialLine {
public:
    explicit SerialLine(int bytesPerSecond) : rate(bytesPerSecond) {}

    void queue(const Bytes& bytes) { pending.insert(pending.end(), bytes.begin(), bytes.end()); }
    // Appends to out the bytes that finish during the next us microseconds.
    void transmit(int64_t us, Bytes& out);
    void clear();
    std::size_t waiting() const { return pending.size(); }
    // How long the bytes waiting now take to leave, in microseconds; 0 when the line is free.
    int64_t busyMicros() const;
    // 0 lifts the limit.
    void setBytesPerSecond(int bytesPerSecond) { rate = bytesPerSecond; }
    int bytesPerSecond() const { return rate; }

private:
    static constexpr int64_t kByteCost = 1'000'000; // credit of one byte, in byte-microseconds

    std::deque<uint8_t> pending;
    int64_t credit = 0;
    int rate;
};

} // namespace ecusim
