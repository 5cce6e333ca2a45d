#include "tests/sim/report_reader.h"

namespace {

int Word(const ecusim::Bytes& p, std::size_t offset) {
    return p.at(offset) | p.at(offset + 1) << 8;
}

} // namespace

void ReportReader::feed(const ecusim::Bytes& bytes, int64_t atUs) {
    for (uint8_t b : bytes) {
        switch (state) {
        case State::Hunting:
            state = b == 0x00 ? State::Marker : State::Hunting;
            break;
        case State::Marker:
            state = b == 0xF0 ? State::Length : State::Hunting;
            break;
        case State::Length:
            frame.clear();
            expected = b;
            state = b > ecusim::kMaxPayload ? State::Hunting : (b == 0 ? State::SumHigh : State::Payload);
            break;
        case State::Payload:
            frame.push_back(b);
            if (frame.size() == expected)
                state = State::SumHigh;
            break;
        case State::SumHigh:
            high = b;
            state = State::SumLow;
            break;
        case State::SumLow:
            if ((high << 8 | b) == ecusim::FrameChecksum(frame))
                reports.push_back({atUs, frame});
            else
                ++badFrames;
            state = State::Hunting;
            break;
        }
    }
}

std::vector<ecusim::Bytes> ReportReader::ofType(uint8_t letter) const {
    std::vector<ecusim::Bytes> out;
    for (const Timed& r : reports)
        if (!r.payload.empty() && r.payload[0] == letter)
            out.push_back(r.payload);
    return out;
}

std::vector<uint8_t> ReportReader::letters() const {
    std::vector<uint8_t> out;
    for (const Timed& r : reports)
        out.push_back(r.payload.empty() ? 0 : r.payload[0]);
    return out;
}

ReportReader RunFor(ecusim::VirtualEcu& ecu, std::chrono::milliseconds span, std::chrono::milliseconds step) {
    ReportReader reader;
    for (auto done = std::chrono::milliseconds(0); done < span; done += step)
        reader.feed(ecu.advance(step), ecu.now().count());
    return reader;
}

LiveView::LiveView(const ecusim::Bytes& p, int rpmDivider, bool rpmPin) {
    const int period = Word(p, rpmPin ? 19 : 21) / 10;
    rpm = period == 0 || period > 6552 ? 0 : 3'000'000 / period / rpmDivider;
    for (int n = 0; n < 8; ++n)
        injection[n] = Word(p, 3 + 2 * static_cast<std::size_t>(n)) * 2 / 5;
    cylinderStatus = p.at(1);
    lambda = Word(p, 23);
    pressureBar = Word(p, 25) * 0.0044803225806451605;
}

StatusView::StatusView(const ecusim::Bytes& p)
    : baseCorrection(127 - (p.at(1) & 0x7F)), injectorProtection(p.at(2)), rpmDivider(p.at(3)),
      switchTemperature(p.at(4)), tankMax(Word(p, 5)), tankMin(Word(p, 7)), injectorTestMask(p.at(9)),
      gasInjectorMask(p.at(10)), reducerTemperature(static_cast<int16_t>(Word(p, 11))),
      tankSensor(Word(p, 13)), minGasPressure(Word(p, 15)), switchRpmIndex(p.at(17)),
      gasMode(p.at(18) & 0x01), rpmPin(p.at(18) & 0x02), slaveEcu(p.at(18) & 0x10),
      mapSensor(p.at(18) & 0x20), fastChange(p.at(18) & 0x80) {}
