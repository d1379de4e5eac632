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

// The reader's own rules: e where it stands alone, the outcomes told apart. What a number field
// makes of them (pi, 2pi, -pi/2, sqrt(2), 1/3, e, the messages) is the field's table
// (tests/graphs/test_number_checks.cpp). π and e are written with fifteen digits, as the formula
// engine writes every number; so are the values of functions.
INSTANTIATE_TEST_SUITE_P(
    Rows, ConstantExpression,
    testing::Values(TConstantRow{"PiInCapitals", "PI", Value, 3.14159265358979L},
                    TConstantRow{"ExpOfOneKeepsItsE", "exp(1)", Value, 2.71828182845905L},
                    TConstantRow{"NumberBeforeE", "2e", Value, 5.4365636569181L},
                    TConstantRow{"ESquared", "E^2", Value, 7.38905609893064L},
                    TConstantRow{"SecantKeepsItsE", "sec(0)", Value, 1},
                    TConstantRow{"BlanksInside", " 1 + 2 * 3 ", Value, 7},
                    TConstantRow{"ColonAndBars", "|-6|:4", Value, 1.5L},
                    TConstantRow{"RunOfSigns", "--3", Value, 3},
                    TConstantRow{"BlanksOnly", "   ", NotAFormula, 0},
                    TConstantRow{"EInsideAWord", "ee", SyntaxError, 0},
                    TConstantRow{"InfinityWord", "-inf", SyntaxError, 0},
                    TConstantRow{"NotANumberWord", "nan", SyntaxError, 0},
                    TConstantRow{"SignAfterProduct", "2*-3", SyntaxError, 0},
                    TConstantRow{"CyrillicLetter", "\xd0\xb5", SyntaxError, 0},
                    TConstantRow{"Overflow", "exp(100000)", SyntaxError, 0},
                    TConstantRow{"DivisionByZero", "1/0", NotDefined, 0},
                    TConstantRow{"RootOfANegative", "sqrt(-1)", NotDefined, 0},
                    TConstantRow{"LogarithmOfZero", "ln(0)", NotDefined, 0}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
} // namespace kurvant
