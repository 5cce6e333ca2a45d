#include "sim/serial_line.h"

namespace ecusim {

void SerialLine::transmit(int64_t us, Bytes& out) {
    if (rate <= 0) {
        out.insert(out.end(), pending.begin(), pending.end());
        pending.clear();
        return;
    }
    if (pending.empty())
        return;
    credit += us * rate;
    while (!pending.empty() && credit >= kByteCost) {
        out.push_back(pending.front());
        pending.pop_front();
        credit -= kByteCost;
    }
    if (pending.empty())
        credit = 0;
}

int64_t SerialLine::busyMicros() const {
    if (rate <= 0 || pending.empty())
        return 0;
    const int64_t owed = static_cast<int64_t>(pending.size()) * kByteCost - credit;
    return (owed + rate - 1) / rate;
}

void SerialLine::clear() {
    pending.clear();
    credit = 0;
}

} // namespace ecusim
