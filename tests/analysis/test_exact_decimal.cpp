// Exact decimals: reading the engine's number texts, adding and comparing without binary drift,
// and the fixed texts with their rounding, sign and digit groups.

#include "analysis/exact_decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>

namespace {

using kurvant::TExactDecimal;

TExactDecimal D(const char* text) {
    const std::optional<TExactDecimal> d = TExactDecimal::Parse(text, '.');
    EXPECT_TRUE(d.has_value()) << text;
    return d.value_or(TExactDecimal());
}

struct ParseRow {
    const char* Name;
    const char* Text;
    bool Ok;
    int Decimals;      // when Ok
    const char* Fixed; // when Ok: the value with its own decimals, '.' and no groups
};

void PrintTo(const ParseRow& row, std::ostream* os) {
    *os << row.Name;
}

class Parse : public testing::TestWithParam<ParseRow> {};

TEST_P(Parse, ReadsTheEngineForms) {
    const ParseRow& row = GetParam();
    const std::optional<TExactDecimal> d = TExactDecimal::Parse(row.Text, '.');
    ASSERT_EQ(d.has_value(), row.Ok);
    if (row.Ok) {
        EXPECT_EQ(d->Decimals(), row.Decimals);
        EXPECT_EQ(d->Fixed(d->Decimals(), '.', ""), row.Fixed);
    }
}

const ParseRow ParseRows[] = {
    {"Whole", "12", true, 0, "12"},
    {"Fraction", "0.00005", true, 5, "0.00005"},
    {"NegativeFraction", "-2.5", true, 1, "-2.5"},
    {"TrailingZerosCount", "1.50", true, 2, "1.50"},
    {"SmallExponent", "1E-5", true, 5, "0.00001"},
    {"ExponentWithFraction", "-2.5E-7", true, 8, "-0.00000025"},
    {"LargeExponent", "2.5E20", true, 0, "250000000000000000000"},
    {"NegativeZeroIsZero", "-0", true, 0, "0"},
    {"Empty", "", false, 0, ""},
    {"SignOnly", "-", false, 0, ""},
    {"OtherSeparator", "1,5", false, 0, ""},
    {"Infinity", "INF", false, 0, ""},
    {"ExponentWithoutDigits", "1E", false, 0, ""},
    {"LowerCaseExponent", "1e5", false, 0, ""},
    {"TrailingBlank", "1 ", false, 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Rows, Parse, testing::ValuesIn(ParseRows),
                         [](const auto& row) { return std::string(row.param.Name); });

struct FixedRow {
    const char* Name;
    const char* Value;
    int Decimals;
    const char* Group;
    const char* Text;
};

void PrintTo(const FixedRow& row, std::ostream* os) {
    *os << row.Name;
}

class Fixed : public testing::TestWithParam<FixedRow> {};

TEST_P(Fixed, RoundsHalvesAwayFromZeroAndGroups) {
    const FixedRow& row = GetParam();
    EXPECT_EQ(D(row.Value).Fixed(row.Decimals, ',', row.Group), row.Text);
}

const FixedRow FixedRows[] = {
    {"PadsWithZeros", "2", 3, "", "2,000"},
    {"BelowHalfGoesDown", "0.12344999", 4, "", "0,1234"},
    {"HalfGoesUp", "0.12345", 4, "", "0,1235"},
    {"NegativeHalfGoesAwayFromZero", "-0.12345", 4, "", "-0,1235"},
    {"CarryIntoTheWholePart", "9.99995", 4, "", "10,0000"},
    {"NoDecimals", "2.5", 0, "", "3"},
    {"NegativeRoundingToZeroKeepsItsMinus", "-0.00000004", 7, "", "-0,0000000"},
    {"PositiveRoundingToZero", "0.00000004", 7, "", "0,0000000"},
    {"NegativeHalfOfTheLastPlace", "-0.00000005", 7, "", "-0,0000001"},
    {"ZeroHasNoSign", "-0", 2, "", "0,00"},
    {"GroupsOfThree", "1234567.5", 1, " ", "1 234 567,5"},
    {"NoGroupBelowAThousand", "999.25", 2, " ", "999,25"},
    {"GroupOfANegative", "-1000", 0, ".", "-1.000"},
    {"MultiByteGroup", "12345", 0, "\xC2\xA0",
     "12\xC2\xA0"
     "345"},
    {"RoundingReachesAThousand", "999.99999996", 7, " ", "1 000,0000000"},
};

INSTANTIATE_TEST_SUITE_P(Rows, Fixed, testing::ValuesIn(FixedRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(ExactDecimalArithmetic, RepeatedTenthsStayExact) {
    TExactDecimal x;
    for (int i = 0; i < 3; ++i) {
        x = x + D("0.1");
    }
    EXPECT_EQ(x, D("0.3"));
    EXPECT_EQ(x.Fixed(1, '.', ""), "0.3");
}

TEST(ExactDecimalArithmetic, SignsOfSumsAndDifferences) {
    EXPECT_EQ((D("-0.3") + D("0.1")).Fixed(1, '.', ""), "-0.2");
    EXPECT_EQ((D("-0.1") + D("0.3")).Fixed(1, '.', ""), "0.2");
    EXPECT_EQ((D("-0.1") + D("0.1")).Fixed(1, '.', ""), "0.0");
    EXPECT_FALSE((D("-0.1") + D("0.1")).IsNegative());
    EXPECT_EQ((D("1") - D("2.75")).Fixed(2, '.', ""), "-1.75");
    EXPECT_EQ((D("-1") - D("-1")).Fixed(0, '.', ""), "0");
    EXPECT_EQ(D("0.1").Times(5000), D("500"));
    EXPECT_EQ(D("-0.25").Times(3).Fixed(2, '.', ""), "-0.75");
    EXPECT_EQ(D("7").Times(0), TExactDecimal());
}

TEST(ExactDecimalArithmetic, ComparesValuesWhateverTheirDecimals) {
    EXPECT_EQ(D("0.50"), D("0.5"));
    EXPECT_LT(D("-2"), D("-1.5"));
    EXPECT_LT(D("-0.001"), D("0"));
    EXPECT_GT(D("10"), D("9.999"));
    EXPECT_GT(D("0.3"), D("0.29999999999999999999"));
}

TEST(ExactDecimalValue, IsTheNearestLongDouble) {
    EXPECT_EQ(D("0.1").Value(), 0.1L);
    EXPECT_EQ(D("-2.5").Value(), -2.5L);
    EXPECT_EQ(D("0").Value(), 0.0L);
    EXPECT_EQ(D("1E-5").Value(), 1e-5L);
}

TEST(ExactDecimalOfEngineValue, TakesFifteenSignificantDigits) {
    // 0.1 + 0.2 as a double is 0.30000000000000004; the engine writes it 0.3.
    const std::optional<TExactDecimal> sum = TExactDecimal::OfEngineValue(0.1 + 0.2);
    ASSERT_TRUE(sum);
    EXPECT_EQ(*sum, D("0.3"));
    EXPECT_EQ(TExactDecimal::OfEngineValue(2.0L / 3)->Fixed(16, '.', ""), "0.6666666666666670");
    EXPECT_FALSE(TExactDecimal::OfEngineValue(HUGE_VALL));
    EXPECT_FALSE(TExactDecimal::OfEngineValue(-HUGE_VALL));
}

} // namespace
