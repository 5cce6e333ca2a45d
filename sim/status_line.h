#pragma once

#include "sim/faults.h"

#include <cstdio>
#include <string>

namespace ecusim {

// What the one status line of ecusim tells.
struct StatusSnapshot {
    int com = 0;
    bool plugged = true;
    bool connected = false;
    bool streaming = false;
    bool busy = false;
    bool gas = false;
    int baseCorrection = 0;
    double reducerC = 0.0;
    // Of a replayed drive: the line shown (1-based) of how many; 0 when nothing is replayed.
    std::size_t replayLine = 0;
    std::size_t replayLines = 0;
    bool replayPaused = false;
    Faults faults;
};

std::string FormatStatus(const StatusSnapshot& s);

// Writes the line in place on a terminal; elsewhere (a log, a pipe) it writes a new line only when the
// line changes apart from the temperature, so a log does not fill up. Without a stream it shows nothing.
class StatusLine {
public:
    StatusLine(std::FILE* out, bool inPlace) : stream(out), overwrite(inPlace) {}
    void show(const StatusSnapshot& s);
    // Ends the line in place so the shell prompt starts on a fresh one.
    void finish();

private:
    std::FILE* stream;
    bool overwrite;
    std::string lastKey;
    bool shown = false;
};

} // namespace ecusim
