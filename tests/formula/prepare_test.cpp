#include "formula/prepare.h"
#include "support/decimal_separator.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kurvant {
namespace {

using kurvant_test::Context;
using kurvant_test::WithSeparator;

std::string Prepared(std::string formula, const char* variables, char separator) {
    TFormulaContext context = Context(separator);
    EXPECT_TRUE(PrepareFormula(formula, variables, context));
    return formula;
}

struct TPrepareRow {
    const char* Name;
    const char* Typed;
    const char* Variables;
    const char* Prepared; // with ','; with '.' the same text with '.'
    friend void PrintTo(const TPrepareRow& row, std::ostream* os) { *os << row.Name; }
};

class FormulaPrepare : public ::testing::TestWithParam<TPrepareRow> {};

TEST_P(FormulaPrepare, PreparesWithEitherSeparator) {
    const TPrepareRow& row = GetParam();
    EXPECT_EQ(Prepared(row.Typed, row.Variables, ','), row.Prepared);
    EXPECT_EQ(Prepared(row.Typed, row.Variables, '.'), WithSeparator(row.Prepared, '.'));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaPrepare,
    ::testing::Values(
        TPrepareRow{"PolynomialWithPoint", "2x^2 - 3.5x", "x", "#2#*#x#^#2#-#3,5#*#x#"},
        TPrepareRow{"PolynomialWithComma", "2x^2 - 3,5x", "x", "#2#*#x#^#2#-#3,5#*#x#"},
        TPrepareRow{"ProductInsideCall", "sin(2x)", "x", "sin(#2#*#x#)"},
        TPrepareRow{"BarsAndColon", "|x|:2", "x", "(abs(#x#))/#2#"},
        TPrepareRow{"ParenthesesSideBySide", "(x+1)(x-1)", "x", "(#x#+#1#)*(#x#-#1#)"},
        TPrepareRow{"NumberBeforePi", "2pi", "q", "#2#*#3,14159265358979#"},
        TPrepareRow{"TwoVariables", "x*y", "xy", "#x#*#y#"},
        TPrepareRow{"LettersSideBySideStayUnmarked", "xy", "xy", "xy"},
        TPrepareRow{"UpperCaseIsLowered", "X+1", "x", "#x#+#1#"},
        TPrepareRow{"BlanksRemoved", "  x  +  1 ", "x", "#x#+#1#"},
        TPrepareRow{"OtherWhiteSpaceKept", "x\t+1", "x", "#x#\t+#1#"},
        TPrepareRow{"NumberBeforeFunction", "2sin(x)", "x", "#2#*sin(#x#)"},
        TPrepareRow{"NumberAfterFunctionName", "sin2x", "x", "sin*#2#*#x#"},
        TPrepareRow{"VariableBeforeParenthesis", "x(x+1)", "x", "#x#*(#x#+#1#)"},
        TPrepareRow{"VariableBeforeParenthesisTwoVariables", "x(y+1)", "xy", "#x#*(#y#+#1#)"},
        TPrepareRow{"NumberVariableParenthesis", "2x(x-1)", "x", "#2#*#x#*(#x#-#1#)"},
        TPrepareRow{"ParenthesisBeforeNumber", "(x)2", "x", "(#x#)*#2#"},
        TPrepareRow{"ParenthesisBeforeLetter", "(x)y", "xy", "(#x#)*#y#"},
        TPrepareRow{"NumberBeforeParenthesis", "3(x)", "x", "#3#*(#x#)"},
        TPrepareRow{"SeparatorCountsAsDigit", ".5x", "x", "#,5#*#x#"},
        TPrepareRow{"OneBarLeavesGroupsOpen", "|x", "x", "(abs(#x#"},
        TPrepareRow{"BarsDoNotNest", "|a|+|b|", "ab", "(abs(#a#))+(abs(#b#))"},
        TPrepareRow{"SecondBarAlwaysCloses", "||x||", "x", "(abs())*#x#*(abs())"},
        // 'pi' becomes a number only after the first '*' insertion; the marked factors are
        // joined after marking.
        TPrepareRow{"PiBeforeVariable", "pix", "x", "#3,14159265358979#*#x#"},
        TPrepareRow{"VariableBeforePi", "xpi", "x", "#x#*#3,14159265358979#"},
        TPrepareRow{"PiBeforeParenthesis", "pi(x+1)", "x", "#3,14159265358979#*(#x#+#1#)"},
        TPrepareRow{"PiBeforeFunction", "pisin(x)", "x", "#3,14159265358979#*sin(#x#)"},
        TPrepareRow{"PiBeforeUnknownLetterStays", "piz", "x", "#3,14159265358979#z"},
        TPrepareRow{"VariableBeforeFunctionNameStays", "xsin(x)", "x", "xsin(#x#)"},
        TPrepareRow{"PiInCapitals", "PI", "x", "#3,14159265358979#"},
        TPrepareRow{"TwoSeparatorsMakeOneRun", "1,2.3", "x", "#1,2,3#"},
        TPrepareRow{"VariableInsideNameStays", "exp(x)", "x", "exp(#x#)"},
        TPrepareRow{"NoVariables", "x+1", "", "x+#1#"},
        TPrepareRow{"NonLatinByteIsNoLetter", "2\xE0", "x", "#2#\xE0"},
        TPrepareRow{"TypedMarkerPassesThrough", "#1", "x", "##1#"},
        TPrepareRow{"TypedMarkerIsNoFactor", "x#(1)", "x", "#x##(#1#)"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(FormulaPrepareFailure, EmptyOrBlankTextFailsAndChangesNothing) {
    for (const char* typed : {"", " ", "     "}) {
        TFormulaContext context;
        context.FormulaRewritten = true;
        context.RewrittenFormula = "earlier";
        std::string formula = typed;
        EXPECT_FALSE(PrepareFormula(formula, "x", context)) << '\'' << typed << '\'';
        EXPECT_EQ(formula, typed);
        EXPECT_TRUE(context.FormulaRewritten);
        EXPECT_EQ(context.RewrittenFormula, "earlier");
    }
}

struct TRewrittenRow {
    const char* Name;
    const char* Typed;
    bool Rewritten;
    const char* RewrittenText; // with ','; the text left from before when nothing was inserted
    friend void PrintTo(const TRewrittenRow& row, std::ostream* os) { *os << row.Name; }
};

class FormulaRewrittenNotice : public ::testing::TestWithParam<TRewrittenRow> {};

TEST_P(FormulaRewrittenNotice, TellsWhetherAProductSignWasInserted) {
    const TRewrittenRow& row = GetParam();
    for (const char separator : {',', '.'}) {
        TFormulaContext context = Context(separator);
        context.RewrittenFormula = "left from before";
        std::string formula = row.Typed;
        ASSERT_TRUE(PrepareFormula(formula, "x", context));
        EXPECT_EQ(context.FormulaRewritten, row.Rewritten);
        EXPECT_EQ(context.RewrittenFormula, WithSeparator(row.RewrittenText, separator));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaRewrittenNotice,
    ::testing::Values(TRewrittenRow{"ImplicitProduct", "2x", true, "2*x"},
                      TRewrittenRow{"ShowsNormalisedText", "2 X + 0.5X", true, "2*x+0,5*x"},
                      TRewrittenRow{"PiStillWritten", "2pi", true, "2*pi"},
                      TRewrittenRow{"BarsAreNotARewrite", "|x|", false, "left from before"},
                      TRewrittenRow{"ColonIsNotARewrite", "x:2", false, "left from before"},
                      TRewrittenRow{"BarsShownWhenProductInserted", "2|x|", true, "2*(abs(x))"},
                      TRewrittenRow{"VariableBeforeParenthesis", "x(x+1)", true, "x*(x+1)"},
                      TRewrittenRow{"PiBesideVariable", "pix+xpi", true, "pi*x+x*pi"},
                      TRewrittenRow{"BothKindsOfInsertion", "2x(x-1)pisin(x)", true,
                                    "2*x*(x-1)*pi*sin(x)"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(FormulaRewrittenNoticeSequence, ACallWithoutInsertionKeepsTheEarlierText) {
    TFormulaContext context;
    std::string first = "3x";
    ASSERT_TRUE(PrepareFormula(first, "x", context));
    std::string second = "x+1";
    ASSERT_TRUE(PrepareFormula(second, "x", context));
    EXPECT_FALSE(context.FormulaRewritten);
    EXPECT_EQ(context.RewrittenFormula, "3*x");
}

// Long texts: the result is built independently, piece by piece.
TEST(FormulaPrepareLongText, HundredThousandCharacters) {
    std::string typed;
    std::string expected;
    for (int i = 0; i < 50000; ++i) {
        typed += "2x";
        expected += i == 0 ? "#2#*#x#" : "*#2#*#x#";
    }
    EXPECT_EQ(Prepared(typed, "x", '.'), expected);

    std::string bars(100000, '|');
    std::string barsExpected;
    for (int i = 0; i < 50000; ++i) {
        barsExpected += i == 0 ? "(abs())" : "*(abs())";
    }
    EXPECT_EQ(Prepared(bars, "x", '.'), barsExpected);

    const std::string open(100000, '(');
    EXPECT_EQ(Prepared(open, "x", '.'), open);
}

struct TSubstituteRow {
    const char* Name;
    const char* Prepared; // with ','
    char Letter;
    long double Value;
    const char* Substituted; // with ','
    friend void PrintTo(const TSubstituteRow& row, std::ostream* os) { *os << row.Name; }
};

class FormulaSubstitute : public ::testing::TestWithParam<TSubstituteRow> {};

TEST_P(FormulaSubstitute, PutsTheMarkedNumberInPlace) {
    const TSubstituteRow& row = GetParam();
    for (const char separator : {',', '.'}) {
        const TFormulaContext context = Context(separator);
        EXPECT_EQ(SubstituteVariable(WithSeparator(row.Prepared, separator), row.Letter, row.Value,
                                     context),
                  WithSeparator(row.Substituted, separator));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaSubstitute,
    ::testing::Values(
        TSubstituteRow{"NegativeValue", "#x#^#2#", 'x', -0.5L, "#-0,5#^#2#"},
        TSubstituteRow{"ExponentForm", "#x#^#2#", 'x', 0.00001L, "#1E-5#^#2#"},
        TSubstituteRow{"RoundedTo15Digits", "#x#", 'x', 1.0L / 3, "#0,333333333333333#"},
        TSubstituteRow{"EveryOccurrence", "#x#*#x#+#x#", 'x', 2.0L, "#2#*#2#+#2#"},
        TSubstituteRow{"MarkersSharedByNeighbours", "#x#x#", 'x', 2.0L, "#2#2#"},
        TSubstituteRow{"OtherLetterUntouched", "#x#*#y#", 'y', 3.0L, "#x#*#3#"},
        TSubstituteRow{"UnmarkedLetterUntouched", "xy+exp(#x#)", 'x', 1.0L, "xy+exp(#1#)"},
        TSubstituteRow{"NotANumberIsWrittenToo", "#x#", 'x',
                       std::numeric_limits<long double>::quiet_NaN(), "#NAN#"},
        TSubstituteRow{"LetterAtTheEdges", "x#x", 'x', 1.0L, "x#x"}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(FormulaSubstituteOrder, EitherOrderGivesTheSameText) {
    TFormulaContext context;
    std::string formula = "x^2+y^2-xy";
    ASSERT_TRUE(PrepareFormula(formula, "xy", context));
    const std::string yThenX =
        SubstituteVariable(SubstituteVariable(formula, 'y', 0.25L, context), 'x', -3, context);
    const std::string xThenY =
        SubstituteVariable(SubstituteVariable(formula, 'x', -3, context), 'y', 0.25L, context);
    EXPECT_EQ(yThenX, "#-3#^#2#+#0.25#^#2#-xy");
    EXPECT_EQ(xThenY, yThenX);
}

} // namespace
} // namespace kurvant
