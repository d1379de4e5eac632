// Numbers with a fixed number of decimals: rounding on the exact binary value with halves away
// from zero, no minus on a zero, digit groups, and the decimals the number writer gives a value.

#include "tables/fixed_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct TFixedRow {
    const char* Name;
    double Value;
    int Decimals;
    char Separator;
    const char* Group; // nullptr: FixedText alone
    std::string Expected;
};

void PrintTo(const TFixedRow& row, std::ostream* out) {
    *out << row.Name;
}

class FixedTextRows : public ::testing::TestWithParam<TFixedRow> {};

TEST_P(FixedTextRows, WritesTheExpectedText) {
    const TFixedRow& row = GetParam();
    const std::string text =
        row.Group == nullptr ? FixedText(row.Value, row.Decimals, row.Separator)
                             : GroupedFixedText(row.Value, row.Decimals, row.Separator, row.Group);
    EXPECT_EQ(text, row.Expected);
}

constexpr double Inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, FixedTextRows,
    ::testing::Values(
        TFixedRow{"IntegerWithoutDecimals", 3, 0, ',', nullptr, "3"},
        TFixedRow{"PaddedWithZeros", 1.5, 3, ',', nullptr, "1,500"},
        TFixedRow{"PointSeparator", 1.5, 1, '.', nullptr, "1.5"},
        TFixedRow{"BinaryNoiseRoundedAway", 0.1 + 0.2, 10, ',', nullptr, "0,3000000000"},
        // 0.125, 2.5 and 2^-11 are exact binary values that lie exactly on a half.
        TFixedRow{"ExactHalfGoesUp", 0.125, 2, ',', nullptr, "0,13"},
        TFixedRow{"ExactHalfOfNegativeGoesDown", -0.125, 2, ',', nullptr, "-0,13"},
        TFixedRow{"ExactHalfWithoutDecimals", 2.5, 0, ',', nullptr, "3"},
        TFixedRow{"ExactHalfAtTheTenthDecimal", 0.00048828125, 10, ',', nullptr, "0,0004882813"},
        // 0.005 is stored a little above the half, 0.015 a little below it.
        TFixedRow{"StoredAboveTheHalf", 0.005, 2, ',', nullptr, "0,01"},
        TFixedRow{"StoredBelowTheHalf", 0.015, 2, ',', nullptr, "0,01"},
        TFixedRow{"CarryIntoTheIntegerPart", 999.9999999999999, 10, ',', nullptr,
                  "1000,0000000000"},
        TFixedRow{"NegativeRoundingToZeroHasNoMinus", -0.000001, 2, ',', nullptr, "0,00"},
        TFixedRow{"NegativeZeroHasNoMinus", -0.0, 3, ',', nullptr, "0,000"},
        TFixedRow{"NegativeKeepsItsMinus", -0.006, 2, ',', nullptr, "-0,01"},
        TFixedRow{"LargeValueInFull", 1e20, 1, ',', nullptr, "100000000000000000000,0"},
        TFixedRow{"TinyValueInFull", 5e-5, 5, '.', nullptr, "0.00005"},
        TFixedRow{"NotANumber", std::numeric_limits<double>::quiet_NaN(), 10, ',', nullptr, "NAN"},
        TFixedRow{"Infinity", Inf, 10, ',', nullptr, "INF"},
        TFixedRow{"MinusInfinity", -Inf, 10, ',', nullptr, "-INF"},
        TFixedRow{"GroupsOfThree", 1234.5, 10, ',', " ", "1 234,5000000000"},
        TFixedRow{"GroupsOfNegative", -1234567, 2, ',', " ", "-1 234 567,00"},
        TFixedRow{"NoGroupForThreeDigits", -999, 1, ',', " ", "-999,0"},
        TFixedRow{"GroupsWithoutDecimals", 100000, 0, '.', ",", "100,000"},
        TFixedRow{"GroupsAfterRounding", 999999.99, 1, ',', " ", "1 000 000,0"},
        TFixedRow{"MultiByteGroupSeparator", 12345, 1, ',', "\u00a0", "12\u00a0345,0"},
        TFixedRow{"EmptyGroupSeparatorGroupsNothing", 12345, 1, ',', "", "12345,0"},
        TFixedRow{"InfinityIsNotGrouped", Inf, 10, ',', " ", "INF"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(FixedText, ValueJustBelowAnExactHalfGoesDown) {
    volatile double half = 0.125;
    volatile double toward = 0;
    const double below = std::nextafter(half, toward);
    EXPECT_EQ(FixedText(below, 2, ','), "0,12");
    EXPECT_EQ(FixedText(half, 2, ','), "0,13");
}

struct TDecimalsRow {
    const char* Name;
    double Value;
    int Expected;
};

void PrintTo(const TDecimalsRow& row, std::ostream* out) {
    *out << row.Name;
}

class WrittenDecimalsRows : public ::testing::TestWithParam<TDecimalsRow> {};

TEST_P(WrittenDecimalsRows, CountsTheDigitsAfterTheSeparator) {
    EXPECT_EQ(WrittenDecimals(GetParam().Value), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Values, WrittenDecimalsRows,
                         ::testing::Values(TDecimalsRow{"Quarter", 0.25, 2},
                                           TDecimalsRow{"Integer", 3, 0},
                                           TDecimalsRow{"NegativeAboveMinusOne", -0.5, 1},
                                           TDecimalsRow{"NegativeBelowMinusOne", -1.5, 1},
                                           // The number writer alone would write 5E-5.
                                           TDecimalsRow{"SmallerThanTheExponentLimit", 0.00005, 5},
                                           TDecimalsRow{"FifteenSignificantDigits", 1.0 / 3.0, 15},
                                           TDecimalsRow{"Zero", 0, 0},
                                           TDecimalsRow{"LargeInteger", 1e20, 0}),
                         [](const auto& p) { return std::string(p.param.Name); });

} // namespace
