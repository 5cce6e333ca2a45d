#include "sim/drive_replay.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ecusim {

DriveReplay::DriveReplay(std::vector<drive_log::Line> lines, double replaySpeed, bool loopAtEnd)
    : recorded(std::move(lines)), speed(std::clamp(replaySpeed, kMinSpeed, kMaxSpeed)), loop(loopAtEnd) {}

int64_t DriveReplay::lineUs() const {
    return std::max<int64_t>(std::llround(static_cast<double>(drive_log::kLineIntervalUs) / speed), 1);
}

void DriveReplay::advance(int64_t ecuUs) {
    if (paused || ecuUs <= 0)
        return;
    intoLineUs += ecuUs;
    while (!atEnd() && intoLineUs >= lineUs()) {
        intoLineUs -= lineUs();
        moveOn();
    }
    if (atEnd())
        intoLineUs = 0;
}

int64_t DriveReplay::untilNextLineUs() const {
    if (paused || atEnd())
        return std::numeric_limits<int64_t>::max();
    return lineUs() - intoLineUs;
}

void DriveReplay::step() {
    paused = true;
    intoLineUs = 0;
    if (!atEnd())
        moveOn();
}

void DriveReplay::moveOn() {
    position = (position + 1) % recorded.size();
    ++moveCount;
}

} // namespace ecusim
