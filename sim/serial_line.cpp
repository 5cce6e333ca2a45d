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

void SerialLine::clear() {
    pending.clear();
    credit = 0;
}

} // namespace ecusim
