#pragma once

#include "fuzz/corpus_cases.h"

#include <gtest/gtest.h>

// Replays the kept inputs of one fuzz target (fuzz/corpus/<target>/) through the target's own check,
// one test per case named after its file, and makes sure the cases are there at all. A case passes
// when the check finds nothing wrong ("").
#define KEPT_FUZZ_CASES_TEST(Suite, Test, target, check)                                                     \
    class Suite : public ::testing::TestWithParam<CorpusCase> {};                                            \
    TEST_P(Suite, Test) {                                                                                    \
        const CorpusCase& c = GetParam();                                                                    \
        EXPECT_EQ(check(c.bytes.data(), c.bytes.size()), "");                                                \
    }                                                                                                        \
    INSTANTIATE_TEST_SUITE_P(Kept, Suite, ::testing::ValuesIn(CorpusCases(target)),                          \
                             [](const auto& info) { return info.param.name; });                              \
    TEST(Suite, CasesAreFound) {                                                                             \
        EXPECT_FALSE(CorpusCases(target).empty());                                                           \
    }
