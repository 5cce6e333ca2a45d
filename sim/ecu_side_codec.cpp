#include "sim/ecu_side_codec.h"

namespace ecusim {

uint16_t FrameChecksum(const Bytes& payload) {
    uint16_t sum = static_cast<uint16_t>(payload.size());
    for (uint8_t b : payload)
        sum = static_cast<uint16_t>(sum + b);
    return sum;
}

Bytes EncodeReport(const Bytes& payload) {
    Bytes frame;
    frame.reserve(payload.size() + 5);
    frame.push_back(kMarker0);
    frame.push_back(kMarker1);
    frame.push_back(static_cast<uint8_t>(payload.size()));
    for (uint8_t b : payload)
        frame.push_back(b);
    const uint16_t sum = FrameChecksum(payload);
    frame.push_back(static_cast<uint8_t>(sum >> 8));
    frame.push_back(static_cast<uint8_t>(sum & 0xFF));
    return frame;
}

bool HostFrameReceiver::feed(uint8_t b, int64_t nowUs) {
    const bool stalled = state != State::Hunting && nowUs - lastByteUs > kGapUs;
    lastByteUs = nowUs;
    if (stalled) {
        ++bad;
        state = State::Hunting;
    }
    return feedInState(b);
}

bool HostFrameReceiver::feedInState(uint8_t b) {
    switch (state) {
    case State::Hunting:
        if (b == kMarker0)
            state = State::Marker;
        return false;
    case State::Marker:
        state = b == kMarker1 ? State::Length : (b == kMarker0 ? State::Marker : State::Hunting);
        return false;
    case State::Length:
        if (b > kMaxPayload) {
            ++bad;
            state = State::Hunting;
            return false;
        }
        frame.clear();
        expected = b;
        state = expected == 0 ? State::SumLow : State::Payload;
        return false;
    case State::Payload:
        frame.push_back(b);
        if (frame.size() == expected)
            state = State::SumLow;
        return false;
    case State::SumLow:
        sumLow = b;
        state = State::SumHigh;
        return false;
    case State::SumHigh:
        state = State::Hunting;
        return finish(b);
    }
    return false;
}

bool HostFrameReceiver::finish(uint8_t high) {
    const uint16_t received = static_cast<uint16_t>(high << 8 | sumLow);
    if (received != FrameChecksum(frame)) {
        ++bad;
        return false;
    }
    ++good;
    return true;
}

} // namespace ecusim
