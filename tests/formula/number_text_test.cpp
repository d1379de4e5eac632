#include "formula/number_text.h"
#include "support/decimal_separator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace kurvant {
namespace {

// The rows are written with ','; every row is also checked with '.'.
using kurvant_test::WithSeparator;

struct TNumberTextRow {
    const char* Name;
    long double Value;
    const char* Text;
    friend void PrintTo(const TNumberTextRow& row, std::ostream* os) { *os << row.Name; }
};

class FormulaNumberText : public ::testing::TestWithParam<TNumberTextRow> {};

TEST_P(FormulaNumberText, WritesWithEitherSeparator) {
    const TNumberTextRow& row = GetParam();
    EXPECT_EQ(NumberText(row.Value, ','), row.Text);
    EXPECT_EQ(NumberText(row.Value, '.'), WithSeparator(row.Text, '.'));
}

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNan = std::numeric_limits<long double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaNumberText,
    ::testing::Values(
        TNumberTextRow{"Zero", 0.0L, "0"}, TNumberTextRow{"NegativeZero", -0.0L, "0"},
        TNumberTextRow{"NotANumber", kNan, "NAN"},
        TNumberTextRow{"NegativeNotANumber", -kNan, "NAN"}, TNumberTextRow{"Infinity", kInf, "INF"},
        TNumberTextRow{"NegativeInfinity", -kInf, "-INF"},
        TNumberTextRow{"Integer", 100000.0L, "100000"}, TNumberTextRow{"Fraction", 2.5L, "2,5"},
        TNumberTextRow{"NegativeFraction", -0.5L, "-0,5"},
        // 0.1L is 0.1000000000000000000013...: the binary excess is rounded away.
        TNumberTextRow{"OneTenth", 0.1L, "0,1"},
        TNumberTextRow{"OneThird", 1.0L / 3, "0,333333333333333"},
        TNumberTextRow{"TwoThirdsRoundUp", 2.0L / 3, "0,666666666666667"},
        TNumberTextRow{"SmallestFixed", 0.0001L, "0,0001"},
        TNumberTextRow{"JustBelowFixedRange", 9.99999999999999e-5L, "9,99999999999999E-5"},
        // 9.9999999999999995E-5 rounds to 1E-4, which is written in fixed form.
        TNumberTextRow{"RoundsUpIntoFixedRange", 9.9999999999999995e-5L, "0,0001"},
        TNumberTextRow{"Epsilon", 0.00001L, "1E-5"},
        TNumberTextRow{"NegativeSmall", -0.00001L, "-1E-5"},
        TNumberTextRow{"ExponentWithFraction", 2.5e20L, "2,5E20"},
        TNumberTextRow{"LargestFixed", 999999999999999.0L, "999999999999999"},
        TNumberTextRow{"FifteenDigitsWithFraction", 12345678901234.5L, "12345678901234,5"},
        TNumberTextRow{"PowerOfTenFixed", 1e14L, "100000000000000"},
        TNumberTextRow{"PowerOfTenExponent", 1e15L, "1E15"},
        // An exact half is rounded away from zero, and the form is chosen after rounding.
        TNumberTextRow{"TieAwayFromZero", 123456789012344.5L, "123456789012345"},
        TNumberTextRow{"NegativeTieAwayFromZero", -123456789012344.5L, "-123456789012345"},
        TNumberTextRow{"TieOnOddDigit", 123456789012345.5L, "123456789012346"},
        TNumberTextRow{"TieCarriesIntoExponentForm", 999999999999999.5L, "1E15"},
        TNumberTextRow{"BelowTieInLastPlace", 999999999999999.4375L, "999999999999999"},
        // 1000000000000025/100 = 40000000000001/4 is exact in binary: a tie in the fraction.
        TNumberTextRow{"TieInFraction", 10000000000000.25L, "10000000000000,3"},
        TNumberTextRow{"JustBelowTieInFraction", 10000000000000.2499990463256836L,
                       "10000000000000,2"},
        // Decimal ties that binary cannot hold exactly, whose nearest 80-bit values lie within
        // 10^-21 of them (found with exact rational arithmetic): 21 digits still show a tie,
        // the side comes from the exact expansion.
        TNumberTextRow{"NearTieBelow", 1653031858238375e56L, "1,65303185823837E71"},
        TNumberTextRow{"NegativeNearTieBelow", -1653031858238375e56L, "-1,65303185823837E71"},
        TNumberTextRow{"NearTieAbove", 5192798093027255e-48L, "5,19279809302726E-33"},
        TNumberTextRow{"NearTieBelowLarge", 1671069929760675e19L, "1,67106992976067E34"},
        TNumberTextRow{"NearTieAboveSmall", 5707649741147485e-39L, "5,70764974114749E-24"},
        TNumberTextRow{"NegativeNearTieAbove", -5707649741147485e-39L, "-5,70764974114749E-24"},
        TNumberTextRow{"Pi", 3.14159265358979323846264338327950288L, "3,14159265358979"},
        TNumberTextRow{"TwoToThe64", 18446744073709551616.0L, "1,84467440737096E19"},
        TNumberTextRow{"Largest", std::numeric_limits<long double>::max(), "1,18973149535723E4932"},
        // 2^-16445 = 3.6451995318824746025...E-4951.
        TNumberTextRow{"SmallestSubnormal", std::numeric_limits<long double>::denorm_min(),
                       "3,64519953188247E-4951"}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TReadRow {
    const char* Name;
    const char* Text; // with ','; also read with '.' after the same change
    bool Reads;
    long double Value;
    friend void PrintTo(const TReadRow& row, std::ostream* os) { *os << row.Name; }
};

class FormulaReadNumberText : public ::testing::TestWithParam<TReadRow> {};

TEST_P(FormulaReadNumberText, ReadsOnlyNumbersInTheirOwnForm) {
    const TReadRow& row = GetParam();
    for (const char separator : {',', '.'}) {
        long double value = -12345;
        const bool reads = ReadNumberText(WithSeparator(row.Text, separator), separator, value);
        EXPECT_EQ(reads, row.Reads) << "separator " << separator;
        if (row.Reads && reads) {
            EXPECT_EQ(value, row.Value) << "separator " << separator;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaReadNumberText,
    ::testing::Values(
        TReadRow{"Integer", "42", true, 42.0L}, TReadRow{"Fraction", "2,5", true, 2.5L},
        TReadRow{"Negative", "-0,5", true, -0.5L}, TReadRow{"NoIntegerDigits", ",5", true, 0.5L},
        TReadRow{"NoFractionDigits", "5,", true, 5.0L}, TReadRow{"SeparatorAlone", ",", false, 0},
        TReadRow{"Empty", "", false, 0}, TReadRow{"MinusAlone", "-", false, 0},
        TReadRow{"Exponent", "-1E-5", true, -0.00001L},
        TReadRow{"ExponentPlus", "2,5E+3", true, 2500.0L},
        TReadRow{"ExponentWithoutDigits", "1E", false, 0},
        TReadRow{"LowerCaseExponent", "1e5", false, 0},
        TReadRow{"ExponentWithoutMantissa", "E5", false, 0},
        TReadRow{"CorrectlyRounded", "0,1", true, 0.1L},
        TReadRow{"Pi", "3,14159265358979", true, 3.14159265358979L},
        TReadRow{"TwoSeparators", "1,2,3", false, 0}, TReadRow{"PlusSign", "+1", false, 0},
        TReadRow{"LeadingBlank", " 1", false, 0}, TReadRow{"TrailingGarbage", "1x", false, 0},
        TReadRow{"Hexadecimal", "0x10", false, 0}, TReadRow{"Infinity", "INF", false, 0},
        TReadRow{"NegativeInfinity", "-INF", false, 0}, TReadRow{"NotANumber", "NAN", false, 0},
        TReadRow{"Overflow", "1E5000", false, 0},
        TReadRow{"LargestFinite", "1,18973149535723E4932", true, 1.18973149535723E4932L},
        TReadRow{"UnderflowReadsAsZero", "1E-5000", true, 0.0L}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(FormulaReadNumberTextSeparator, OtherSeparatorIsNotRead) {
    long double value = 0;
    EXPECT_FALSE(ReadNumberText("2.5", ',', value));
    EXPECT_FALSE(ReadNumberText("2,5", '.', value));
}

// Every number text is read back as the value rounded to 15 digits.
TEST(FormulaNumberTextRoundTrip, ReadsBackItsOwnText) {
    for (const long double v : {1.0L / 7, -2.0L / 3, 1e-300L / 3, 7e300L / 3, 123456.789L}) {
        for (const char separator : {',', '.'}) {
            long double back = 0;
            ASSERT_TRUE(ReadNumberText(NumberText(v, separator), separator, back));
            EXPECT_LE(std::fabs(back - v), std::fabs(v) * 5e-15L);
            EXPECT_EQ(NumberText(back, separator), NumberText(v, separator));
        }
    }
}

// The same for a few thousand seeded random values with every exponent of the type, subnormals
// included, and as many again among the magnitudes where the fixed and the exponent form meet.
TEST(FormulaNumberTextRoundTrip, SeededValuesAcrossMagnitudesReadBackToTheirOwnText) {
    std::mt19937_64 random(20240612); // raw engine output: the same values on every build
    for (int n = 0; n < 4000; ++n) {
        const std::uint64_t bits = random();
        // A full 64-bit significand (top bit set) in [1, 2), scaled.
        const long double significand =
            static_cast<long double>(random() | (std::uint64_t{1} << 63)) / 9223372036854775808.0L;
        const int exponent = n % 2 == 0 ? static_cast<int>(bits % 32829) - 16445 // every exponent
                                        : static_cast<int>(bits % 121) - 60;     // 1E-18 to 1E18
        long double value = std::ldexp(significand, exponent);
        value = (bits & (std::uint64_t{1} << 40)) != 0 ? -value : value;
        ASSERT_TRUE(std::isfinite(value));
        const std::string comma = NumberText(value, ',');
        EXPECT_EQ(NumberText(value, '.'), WithSeparator(comma, '.'));
        for (const char separator : {',', '.'}) {
            const std::string text = WithSeparator(comma, separator);
            long double back = 0;
            ASSERT_TRUE(ReadNumberText(text, separator, back)) << text;
            ASSERT_EQ(NumberText(back, separator), text) << std::hexfloat << value;
            // Within half a unit of the 15th digit; a subnormal read back is the one nearest to
            // the text, so it is no farther from the text than the value is.
            if (value != 0) {
                ASSERT_LE(std::fabs(back - value), std::fabs(value) * 5.01e-15L)
                    << std::hexfloat << value << " " << text;
            }
        }
    }
}

} // namespace
} // namespace kurvant
