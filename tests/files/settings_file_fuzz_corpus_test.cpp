#include "fuzz/corpus_cases.h"
#include "fuzz/settings_file_input.h"

#include <gtest/gtest.h>

// The kept fuzz cases of the settings-file reader: only whole, intact files are
// accepted.
class SettingsFileFuzzCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(SettingsFileFuzzCorpus, ReadsSoundly) {
  const CorpusCase &c = GetParam();
  EXPECT_EQ(FuzzSettingsFileInput::Run(c.bytes.data(), c.bytes.size()), "");
}

INSTANTIATE_TEST_SUITE_P(Kept, SettingsFileFuzzCorpus,
                         ::testing::ValuesIn(CorpusCases("settings_file_fuzz")),
                         [](const auto &info) {
                           return CorpusCaseName(info.param);
                         });

TEST(SettingsFileFuzzCorpus, CasesAreFound) {
  EXPECT_FALSE(CorpusCases("settings_file_fuzz").empty());
}
