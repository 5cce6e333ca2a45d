#include "fuzz/ini_input.h"
#include "tests/support/kept_fuzz_cases.h"

// The kept fuzz cases of the INI file: defined values, and written back unchanged.
KEPT_FUZZ_CASES_TEST(IniFuzzCorpus, ReadsAndKeepsValues, "ini_fuzz", FuzzIniInput::Run)
