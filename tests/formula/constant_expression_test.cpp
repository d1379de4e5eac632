// Constant expressions as number fields read them: formulas of the language without variables,
// with e standing alone as Euler's number.

#include "formula/constant_expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace kurvant {
namespace {

using enum TConstantOutcome;

struct TConstantRow {
    const char* Name;
    const char* Text; // with '.' as the mark; each row runs with ',' too
    TConstantOutcome Outcome;
    long double Value; // within 1e-14 of it, relative, for `Value`
    friend void PrintTo(const TConstantRow& row, std::ostream* os) { *os << row.Name; }
};

class ConstantExpression : public testing::TestWithParam<TConstantRow> {};

TEST_P(ConstantExpression, GivesTheValueOrWhyNotWithEitherSeparator) {
    const TConstantRow& row = GetParam();
    for (const char separator : {'.', ','}) {
        const TConstantValue read = EvaluateConstant(row.Text, separator);
        EXPECT_EQ(static_cast<int>(read.Outcome), static_cast<int>(row.Outcome))
            << "separator " << separator;
        if (row.Outcome == Value && read.Outcome == Value) {
            EXPECT_LE(std::fabs(read.Value - row.Value), 1e-14L * std::fabs(row.Value) + 1e-300L)
                << "separator " << separator << ": " << static_cast<double>(read.Value);
        }
    }
}

// π and e are written with fifteen digits, as the formula engine writes every number; so are
// the values of functions and quotients.
INSTANTIATE_TEST_SUITE_P(
    Rows, ConstantExpression,
    testing::Values(TConstantRow{"PlainNumber", "2.5", Value, 2.5L},
                    TConstantRow{"CommaMark", "0,25", Value, 0.25L},
                    TConstantRow{"Pi", "pi", Value, 3.14159265358979L},
                    TConstantRow{"PiInCapitals", "PI", Value, 3.14159265358979L},
                    TConstantRow{"NumberBeforePi", "2pi", Value, 6.28318530717958L},
                    TConstantRow{"NegativeHalfPi", "-pi/2", Value, -1.570796326794895L},
                    TConstantRow{"SquareRoot", "sqrt(2)", Value, 1.4142135623731L},
                    TConstantRow{"ExpOfOneKeepsItsE", "exp(1)", Value, 2.71828182845905L},
                    TConstantRow{"Third", "1/3", Value, 0.333333333333333L},
                    TConstantRow{"E", "e", Value, 2.71828182845905L},
                    TConstantRow{"NumberBeforeE", "2e", Value, 5.4365636569181L},
                    TConstantRow{"ESquared", "E^2", Value, 7.38905609893064L},
                    TConstantRow{"SecantKeepsItsE", "sec(0)", Value, 1},
                    TConstantRow{"BlanksInside", " 1 + 2 * 3 ", Value, 7},
                    TConstantRow{"ColonAndBars", "|-6|:4", Value, 1.5L},
                    TConstantRow{"RunOfSigns", "--3", Value, 3},
                    TConstantRow{"Empty", "", NotAFormula, 0},
                    TConstantRow{"BlanksOnly", "   ", NotAFormula, 0},
                    TConstantRow{"TrailingOperator", "pi+", SyntaxError, 0},
                    TConstantRow{"AVariable", "x", SyntaxError, 0},
                    TConstantRow{"EInsideAWord", "ee", SyntaxError, 0},
                    TConstantRow{"InfinityWord", "-inf", SyntaxError, 0},
                    TConstantRow{"NotANumberWord", "nan", SyntaxError, 0},
                    TConstantRow{"SignAfterProduct", "2*-3", SyntaxError, 0},
                    TConstantRow{"TwoMarks", "1.2.3", SyntaxError, 0},
                    TConstantRow{"CyrillicLetter", "\xd0\xb5", SyntaxError, 0},
                    TConstantRow{"Overflow", "exp(100000)", SyntaxError, 0},
                    TConstantRow{"DivisionByZero", "1/0", NotDefined, 0},
                    TConstantRow{"RootOfANegative", "sqrt(-1)", NotDefined, 0},
                    TConstantRow{"LogarithmOfZero", "ln(0)", NotDefined, 0}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
} // namespace kurvant
