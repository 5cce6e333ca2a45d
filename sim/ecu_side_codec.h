#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecusim {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kMarker0 = 0x00;
inline constexpr uint8_t kMarker1 = 0xF0;
inline constexpr std::size_t kMaxPayload = 50;

// Length byte plus every payload byte, modulo 65536; the markers are not summed.
uint16_t FrameChecksum(const Bytes& payload);

// A report as the ECU puts it on the line: 00 F0, length, payload, checksum high byte first.
Bytes EncodeReport(const Bytes& payload);

// Recovers the host's commands from its byte stream. The host sends its checksum low byte first. A frame
// that stalls for longer than the gap is abandoned, so a lost byte costs one command, not the next too.
class HostFrameReceiver {
public:
    static constexpr int64_t kGapUs = 50'000;

    // True when b completed a good frame; its payload is then in payload().
    bool feed(uint8_t b, int64_t nowUs);
    const Bytes& payload() const { return frame; }
    uint64_t goodFrames() const { return good; }
    uint64_t badFrames() const { return bad; }

private:
    enum class State { Hunting, Marker, Length, Payload, SumLow, SumHigh };

    bool feedInState(uint8_t b);
    bool finish(uint8_t high);

    State state = State::Hunting;
    Bytes frame;
    std::size_t expected = 0;
    uint8_t sumLow = 0;
    int64_t lastByteUs = 0;
    uint64_t good = 0;
    uint64_t bad = 0;
};

} // namespace ecusim
