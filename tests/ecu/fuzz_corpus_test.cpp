#include "fuzz/corpus_cases.h"
#include "fuzz/link_input.h"

#include <gtest/gtest.h>

// The kept fuzz cases of the link: hostile bytes in every link state, each still handled soundly.
class LinkFuzzCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(LinkFuzzCorpus, StaysSound) {
    const CorpusCase& c = GetParam();
    EXPECT_EQ(FuzzLinkInput::Run(c.bytes.data(), c.bytes.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, LinkFuzzCorpus, ::testing::ValuesIn(CorpusCases("link_receiver_fuzz")),
                         [](const auto& info) { return CorpusCaseName(info.param); });

TEST(LinkFuzzCorpus, CasesAreFound) {
    EXPECT_FALSE(CorpusCases("link_receiver_fuzz").empty());
}
