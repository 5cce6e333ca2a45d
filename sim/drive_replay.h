#pragma once

#include "files/drive_log.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecusim {

// A recorded drive played back in its own rhythm: one log line per 100 ms of recorded time, sped up or
// slowed down, paused or stepped by hand. Recorded time moves only as it is given time.
class DriveReplay {
public:
    static constexpr double kMinSpeed = 0.25;
    static constexpr double kMaxSpeed = 8.0;

    // lines must not be empty.
    DriveReplay(std::vector<drive_log::Line> lines, double speed, bool loop);

    void advance(int64_t ecuUs);
    // ECU time until the next line begins; INT64_MAX when paused or at the end of a replay that ends.
    int64_t untilNextLineUs() const;
    const drive_log::Line& current() const { return recorded[position]; }
    std::size_t index() const { return position; }
    std::size_t size() const { return recorded.size(); }
    // How often the position has moved: a new value for every line shown, a loop's restart included.
    uint64_t moves() const { return moveCount; }
    bool atEnd() const { return !loop && position + 1 == recorded.size(); }

    void togglePause() { paused = !paused; }
    bool isPaused() const { return paused; }
    // One line on, pausing the replay there.
    void step();

private:
    void moveOn();
    int64_t lineUs() const;

    std::vector<drive_log::Line> recorded;
    double speed;
    bool loop;
    bool paused = false;
    std::size_t position = 0;
    int64_t intoLineUs = 0; // ECU time spent on the current line
    uint64_t moveCount = 0;
};

} // namespace ecusim
