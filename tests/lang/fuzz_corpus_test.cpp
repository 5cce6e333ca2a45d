#include "fuzz/language_table_input.h"
#include "tests/support/kept_fuzz_cases.h"

// The kept fuzz cases of the language-table line splitter.
KEPT_FUZZ_CASES_TEST(LanguageTableFuzzCorpus, SplitsSoundly, "language_table_fuzz",
                     FuzzLanguageTableInput::Run)
