#include "app/format_number.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <limits>

namespace {

struct NumberCase {
    double value;
    unsigned decimals;
    const char* english;
    const char* german;
};

class FormatNumberTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumberTable, RoundsGroupsAndUsesTheLocaleSeparators) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.decimals, QLocale(QLocale::English, QLocale::UnitedStates)),
              QString::fromUtf8(c.english));
    EXPECT_EQ(FormatNumber(c.value, c.decimals, QLocale(QLocale::German, QLocale::Germany)),
              QString::fromUtf8(c.german));
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatNumberTable,
    ::testing::Values(NumberCase{1.25, 1, "1.3", "1,3"},           // half away from zero, not to even
                      NumberCase{-1.25, 1, "-1.3", "-1,3"},        //
                      NumberCase{2.5, 0, "3", "3"},                //
                      NumberCase{0.0, 2, "0.00", "0,00"},          //
                      NumberCase{-0.04, 1, "0.0", "0,0"},          // no "-0.0"
                      NumberCase{999.96, 1, "1,000.0", "1.000,0"}, // rounding carries into a new group
                      NumberCase{1234567.891, 2, "1,234,567.89", "1.234.567,89"},
                      NumberCase{30.0, 1, "30.0", "30,0"},
                      NumberCase{1e20, 0, "100,000,000,000,000,000,000", "100.000.000.000.000.000.000"}));

TEST(FormatNumberLimits, KeepsAtMostEighteenSignificantDigits) {
    // 0.1 is 0.1000000000000000055511... in binary: the 18th digit is rounded, the rest are zeros.
    EXPECT_EQ(FormatNumber(0.1, 20, QLocale::c()), QStringLiteral("0.10000000000000000600"));
}

TEST(FormatNumberLimits, NonFiniteValuesGiveText) {
    EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::quiet_NaN(), 1, QLocale::c()).isEmpty());
    EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::infinity(), 1, QLocale::c()).isEmpty());
}

} // namespace
