#include "fuzz/link_input.h"
#include "tests/support/kept_fuzz_cases.h"

// The kept fuzz cases of the link: hostile bytes in every link state, each still handled soundly.
KEPT_FUZZ_CASES_TEST(LinkFuzzCorpus, StaysSound, "link_receiver_fuzz", FuzzLinkInput::Run)
