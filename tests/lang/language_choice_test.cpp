#include "app/lang/language_table.h"

#include <gtest/gtest.h>

namespace {

struct CodeCase {
    const char* iniValue;
    const char* displayName;
};

void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << '"' << c.iniValue << '"';
}

class LanguageChoiceAtStart : public ::testing::TestWithParam<CodeCase> {};

TEST_P(LanguageChoiceAtStart, MatchesCodesExactly) {
    const CodeCase& c = GetParam();
    EXPECT_EQ(LanguageTable::DisplayNameForCode(QString::fromUtf8(c.iniValue)), c.displayName)
        << '"' << c.iniValue << '"';
}

// "EN" is what the caller passes when the INI file has no "Language" key.
INSTANTIATE_TEST_SUITE_P(IniValues, LanguageChoiceAtStart,
                         ::testing::Values(CodeCase{"AR", "Arabic"}, CodeCase{"DE", "Deutsch"},
                                           CodeCase{"EN", "English"}, CodeCase{"FA", "Farsian"},
                                           CodeCase{"IT", "Italiano"}, CodeCase{"RU", "Russian"},
                                           CodeCase{"TH", "Thai"}, CodeCase{"TR", "Turkish"},
                                           CodeCase{"en", "English"}, CodeCase{"it", "English"},
                                           CodeCase{"English", "English"}, CodeCase{"Italiano", "English"},
                                           CodeCase{"", "English"}, CodeCase{" IT", "English"},
                                           CodeCase{"IT ", "English"}, CodeCase{"XX", "English"}));

TEST(LanguageList, PositionsCodesAndNamesCorrespond) {
    const char* const codes[] = {"AR", "DE", "EN", "FA", "IT", "RU", "TH", "TR"};
    const char* const names[] = {"Arabic",   "Deutsch", "English", "Farsian",
                                 "Italiano", "Russian", "Thai",    "Turkish"};
    for (int position = 0; position < 8; ++position) {
        SCOPED_TRACE(position);
        EXPECT_EQ(LanguageTable::CodeForPosition(position), codes[position]);
        EXPECT_EQ(LanguageTable::PositionForDisplayName(names[position]), position);
        EXPECT_EQ(LanguageTable::DisplayNameForCode(codes[position]), names[position]);
    }
}

TEST(LanguageList, UnknownPositionsAndNames) {
    for (const int position : {-1, 8, 100}) {
        EXPECT_EQ(LanguageTable::CodeForPosition(position), "") << position;
    }
    for (const char* name : {"", "english", "ENGLISH", "Klingon", "English "}) {
        EXPECT_EQ(LanguageTable::PositionForDisplayName(name), -1) << name;
    }
}

} // namespace
