#pragma once

#include "ecu/tecu.h"
#include "tests/support/fake_serial_port.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One hostile input for the link: bytes from the ECU fed through a Tecu on a fake port, with the
// link in any state. Answers what went wrong, or "" when the link stayed sound. Shared by the fuzz
// target and the test that replays the kept cases.
//
// Byte 0 chooses the situation:
//   bits 0..2  link state (taken modulo 6)
//   bit 3      events enabled
//   bit 4      RPM pin (the other period word)
//   bit 5      automatic calibration running
//   bit 6      a link tick and a worker pass after every chunk
//   bit 7      chunks delivered byte by byte instead of in one notification
// Byte 1 gives the chunk length (1..32); the rest is the line.
namespace FuzzLinkInput {

inline constexpr uint8_t kHostRequests[] = {'y', 'v', '*', 'x', '2'};
// What a running calibration sends by itself: the fuel switch and the base correction.
inline constexpr uint8_t kCalibrationCommands[] = {'r', 's', 'n'};

inline bool Contains(const uint8_t* list, std::size_t n, uint8_t letter) {
    for (std::size_t i = 0; i < n; ++i) {
        if (list[i] == letter)
            return true;
    }
    return false;
}

// Every frame the link wrote must be well-formed and one it may send without being asked by the fitter.
inline std::string CheckWritten(const std::vector<uint8_t>& out, bool calibrating) {
    std::size_t at = 0;
    while (at < out.size()) {
        if (out.size() - at < 5 || out[at] != 0x00 || out[at + 1] != 0xF0)
            return "malformed frame written at byte " + std::to_string(at);
        const std::size_t length = out[at + 2];
        if (length == 0 || out.size() - at < 5 + length)
            return "frame cut short at byte " + std::to_string(at);
        const uint8_t letter = out[at + 3];
        const bool allowed =
            Contains(kHostRequests, sizeof kHostRequests, letter) ||
            (calibrating && Contains(kCalibrationCommands, sizeof kCalibrationCommands, letter));
        if (!allowed)
            return std::string("unasked command '") + static_cast<char>(letter) + "' sent";
        at += 5 + length;
    }
    return {};
}

inline std::string CheckState(const Tecu& ecu) {
    if (ecu.linkState > 5)
        return "link state " + std::to_string(ecu.linkState);
    if (ecu.rxState > 5 || ecu.rxCount >= static_cast<uint32_t>(Tecu::kBufferSize))
        return "receiver state out of range";
    for (int32_t point : ecu.engineMap) {
        if (point < 0 || point > 127)
            return "map point " + std::to_string(point);
    }
    if (ecu.rpm < 0 || ecu.lambda < 0 || ecu.gasPressure < 0)
        return "negative live value";
    for (int32_t t : ecu.injectionTime) {
        if (t < 0)
            return "negative injection time";
    }
    if (ecu.baseCorrection < 0 || ecu.baseCorrection > 127)
        return "base correction " + std::to_string(ecu.baseCorrection);
    return {};
}

inline void BindEveryEvent(Tecu& ecu, int64_t& sink) {
    auto add = [&sink](int32_t v) { sink += v; };
    for (Event<int32_t>* e : ecu.ValueEvents())
        e->bind(add);
    ecu.OnCalibrationProgress.bind(
        [&sink](int32_t step, int32_t count, int32_t code) { sink += step + count + code; });
    ecu.OnMapReceived.bind([&sink, &ecu] { sink += ecu.engineMap[0]; });
    ecu.OnLinkLost.bind([&sink] { ++sink; });
    ecu.OnConnected.bind([&sink] { ++sink; });
}

inline std::string Run(const uint8_t* data, std::size_t size) {
    if (size < 2)
        return {};
    const uint8_t situation = data[0];
    const std::size_t chunk = static_cast<std::size_t>(data[1] % 32) + 1;
    const bool ticks = (situation & 0x40) != 0;
    const bool byteByByte = (situation & 0x80) != 0;

    auto owned = std::make_unique<FakeSerialPort>();
    FakeSerialPort& port = *owned;
    Tecu ecu(std::move(owned));
    int64_t sink = 0;
    BindEveryEvent(ecu, sink);
    ecu.SetPort(1);
    ecu.OpenPort();
    ecu.linkState = static_cast<uint32_t>((situation & 0x07) % 6);
    ecu.linkTimeout = Tecu::kLinkTimeoutTicks;
    ecu.eventsEnabled = (situation & 0x08) != 0;
    ecu.rpmPin = (situation & 0x10) != 0;
    const bool calibrating = (situation & 0x20) != 0;
    ecu.SetCalibrationActive(calibrating);

    for (std::size_t at = 2; at < size; at += chunk) {
        const std::size_t end = at + chunk < size ? at + chunk : size;
        const std::vector<uint8_t> bytes(data + at, data + end);
        if (byteByByte) {
            for (uint8_t b : bytes)
                port.deliver({b});
        } else {
            port.deliver(bytes);
        }
        if (ticks) {
            ecu.LinkTick();
            ecu.WorkerPass();
        }
        if (std::string fault = CheckState(ecu); !fault.empty())
            return fault;
    }
    ecu.WorkerPass();
    if (std::string fault = CheckState(ecu); !fault.empty())
        return fault;
    return CheckWritten(port.takeWritten(), calibrating);
}

} // namespace FuzzLinkInput
