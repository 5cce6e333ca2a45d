#include "fuzz/corpus_cases.h"
#include "fuzz/ini_input.h"

#include <gtest/gtest.h>

// The kept fuzz cases of the INI file: defined values, and written back unchanged.
class IniFuzzCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(IniFuzzCorpus, ReadsAndKeepsValues) {
    const CorpusCase& c = GetParam();
    EXPECT_EQ(FuzzIniInput::Run(c.bytes.data(), c.bytes.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, IniFuzzCorpus, ::testing::ValuesIn(CorpusCases("ini_fuzz")),
                         [](const auto& info) { return CorpusCaseName(info.param); });

TEST(IniFuzzCorpus, CasesAreFound) {
    EXPECT_FALSE(CorpusCases("ini_fuzz").empty());
}
