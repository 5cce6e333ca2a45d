#include "fuzz/corpus_cases.h"
#include "fuzz/language_table_input.h"

#include <gtest/gtest.h>

// The kept fuzz cases of the language-table line splitter.
class LanguageTableFuzzCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(LanguageTableFuzzCorpus, SplitsSoundly) {
    const CorpusCase& c = GetParam();
    EXPECT_EQ(FuzzLanguageTableInput::Run(c.bytes.data(), c.bytes.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, LanguageTableFuzzCorpus,
                         ::testing::ValuesIn(CorpusCases("language_table_fuzz")),
                         [](const auto& info) { return CorpusCaseName(info.param); });

TEST(LanguageTableFuzzCorpus, CasesAreFound) {
    EXPECT_FALSE(CorpusCases("language_table_fuzz").empty());
}
