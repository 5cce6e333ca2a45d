#include "sim/status_line.h"

#include <cmath>
#include <sstream>

namespace ecusim {

namespace {

std::string FaultWords(const Faults& f) {
    std::string words;
    const auto add = [&words](const std::string& w) { words += (words.empty() ? "" : " ") + w; };
    if (f.silent)
        add("silent");
    if (f.busyForever)
        add("busy-forever");
    if (f.corruptRate > 0)
        add("corrupt");
    if (f.dropRate > 0)
        add("drop");
    if (f.noiseRate > 0)
        add("noise");
    return words;
}

std::string Line(const StatusSnapshot& s, bool withTemperature) {
    std::ostringstream line;
    line << "COM" << s.com << "  ";
    if (!s.plugged) {
        line << "unplugged (press u)";
        return line.str();
    }
    line << (s.connected ? "connected" : "not connected") << "  " << (s.streaming ? "streaming" : "stopped")
         << (s.busy ? "  busy" : "") << "  fuel " << (s.gas ? "gas" : "petrol") << "  base correction "
         << s.baseCorrection;
    if (withTemperature)
        line << "  reducer " << std::lround(s.reducerC) << " C";
    if (s.replayLines > 0) {
        line << "  replay";
        if (withTemperature)
            line << " " << s.replayLine << "/" << s.replayLines;
        if (s.replayPaused)
            line << " paused";
    }
    const std::string faults = FaultWords(s.faults);
    if (!faults.empty())
        line << "  faults: " << faults;
    return line.str();
}

} // namespace

std::string FormatStatus(const StatusSnapshot& s) {
    return Line(s, true);
}

void StatusLine::show(const StatusSnapshot& s) {
    if (!stream)
        return;
    if (overwrite) {
        std::fprintf(stream, "\r%s\033[K", FormatStatus(s).c_str());
        std::fflush(stream);
        shown = true;
        return;
    }
    const std::string key = Line(s, false);
    if (key == lastKey)
        return;
    lastKey = key;
    std::fprintf(stream, "%s\n", FormatStatus(s).c_str());
    std::fflush(stream);
}

void StatusLine::finish() {
    if (!stream)
        return;
    if (overwrite && shown)
        std::fprintf(stream, "\n");
    std::fflush(stream);
}

} // namespace ecusim
