#include "ecu/tecu.h"

namespace {
constexpr uint8_t kMarker0 = 0x00;
constexpr uint8_t kMarker1 = 0xF0;
constexpr uint32_t kMaxPayloadIndex = 98;
} // namespace

void Tecu::SendFrame() {
    if (!port->isOpen()) {
        ++lineFaults;
        return;
    }
    // Marker, length, payload and checksum go out as one block; the host sends the sum low byte first.
    uint8_t frame[3 + kBufferSize + 2];
    const uint32_t length = txLength <= kBufferSize ? txLength : kBufferSize;
    uint16_t sum = static_cast<uint8_t>(length);
    std::size_t n = 0;
    frame[n++] = kMarker0;
    frame[n++] = kMarker1;
    frame[n++] = static_cast<uint8_t>(length);
    for (uint32_t i = 0; i < length; ++i) {
        frame[n++] = txBuffer[i];
        sum = static_cast<uint16_t>(sum + txBuffer[i]);
    }
    frame[n++] = static_cast<uint8_t>(sum & 0xFF);
    frame[n++] = static_cast<uint8_t>(sum >> 8);
    if (!port->write(frame, n))
        ++lineFaults;
}

void Tecu::SendPayload(std::initializer_list<uint8_t> payload) {
    txLength = 0;
    for (uint8_t b : payload)
        txBuffer[txLength++] = b;
    SendFrame();
}

void Tecu::OnBytesAvailable(uint16_t count) {
    // Taken in blocks: one call into the port per block rather than per byte.
    uint8_t block[kReceiveBlockSize];
    std::size_t remaining = count;
    while (remaining > 0) {
        const std::size_t wanted = remaining < sizeof block ? remaining : sizeof block;
        const std::size_t taken = port->takeBytes(block, wanted);
        // Bytes that reach a nested notification while a frame is dispatched are dropped.
        if (!frameBusy)
            ReceiveBlock(block, taken);
        if (taken < wanted) {
            port->flush();
            return;
        }
        remaining -= taken;
    }
}

void Tecu::ReceiveBlock(const uint8_t* bytes, std::size_t count) {
    std::size_t i = 0;
    while (i < count) {
        if (rxState == 3 && rxLength > 0)
            i += ReceivePayloadRun(bytes + i, count - i);
        else
            ReceiveByte(bytes[i++]);
    }
}

// The payload of a frame with a length goes in as one run up to its end, rather than byte by byte
// through the state machine. A frame of length 0 is left to ReceiveByte, which drops it by overflow.
std::size_t Tecu::ReceivePayloadRun(const uint8_t* bytes, std::size_t count) {
    const std::size_t left = rxLength - rxCount;
    const std::size_t run = count < left ? count : left;
    int32_t sum = rxSum;
    for (std::size_t k = 0; k < run; ++k) {
        rxBuffer[rxCount + k] = bytes[k];
        sum += bytes[k];
    }
    rxSum = sum;
    rxCount += static_cast<uint32_t>(run);
    rxIdle = kRxIdleTicks;
    if (rxCount == rxLength)
        rxState = 4;
    return run;
}

void Tecu::ReceiveByte(uint8_t b) {
    rxIdle = kRxIdleTicks;
    switch (rxState) {
    case 0:
        if (b == kMarker0)
            rxState = 1;
        break;
    case 1:
        rxState = (b == kMarker1) ? 2 : 0;
        break;
    case 2:
        if (b > kMaxRxLength) {
            rxState = 0;
            break;
        }
        rxLength = b;
        rxSum = b;
        rxCount = 0;
        rxState = 3;
        break;
    case 3:
        if (rxCount > kMaxPayloadIndex) {
            rxState = 0;
            break;
        }
        rxSum += b;
        rxBuffer[rxCount++] = b;
        if (rxCount == rxLength)
            rxState = 4;
        break;
    case 4:
        rxBuffer[rxCount] = b;
        rxState = 5;
        break;
    case 5: {
        // The ECU sends its checksum high byte first.
        const int32_t received = (static_cast<int32_t>(rxBuffer[rxCount]) << 8) | b;
        rxState = 0;
        if (received == (rxSum & 0xFFFF)) {
            frameBusy = true;
            DispatchFrame();
        }
        break;
    }
    default:
        rxState = 0;
        break;
    }
}
