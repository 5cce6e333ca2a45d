#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// A broken rule of the code under test is a finding: told on stderr, then the process aborts so
// libFuzzer keeps the input.
inline void FuzzCheck(const std::string& fault) {
    if (fault.empty())
        return;
    std::fprintf(stderr, "fuzz finding: %s\n", fault.c_str());
    std::abort();
}
