#pragma once

namespace ecusim {

// Fault knobs of the virtual ECU, all off by default. They may be changed at any time; rates are shares
// from 0 to 1.
struct Faults {
    bool silent = false;      // hears and obeys, but sends nothing
    double corruptRate = 0.0; // share of reports sent with a wrong checksum
    double dropRate = 0.0;    // share of sent bytes lost on the line
    double noiseRate = 0.0;   // share of reports preceded by a burst of random bytes
    bool busyForever = false; // work that takes time never finishes; the busy report repeats
    bool unplugged = false;   // the cable is out: nothing arrives and nothing leaves
};

} // namespace ecusim
