// Which formulas get a program, which are found to have no value anywhere, and that either way
// the program and the batches give what the rewriting gives.

#include "formula/batch_evaluation.h"
#include "formula/compiled_formula.h"
#include "formula/prepare.h"
#include "support/same_value.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kurvant {
namespace {

using kurvant_test::SameValue;

// Every character the rewriting gives no meaning to, once each.
std::string EveryNeutralCharacter() {
    std::string text;
    for (int c = 1; c < 256; ++c) {
        const bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric &&
            std::string_view("#()^*/+-.,").find(static_cast<char>(c)) == std::string_view::npos) {
            text += static_cast<char>(c);
        }
    }
    return text;
}

// A long sum of sines that the last term makes a syntax error.
std::string LongSumEndingIn(const std::string& last) {
    std::string text;
    for (int i = 1; i <= 1500; ++i) {
        text += "sin(" + std::to_string(i) + "x)+";
    }
    return text + last;
}

struct TCompileRow {
    const char* Name;
    std::string Text;
    bool Typed; // prepared with the letters 'x' and 'y' first; otherwise taken as prepared
    const char* Letters;
    bool HasProgram;
    bool FailsEverywhere;
    friend void PrintTo(const TCompileRow& row, std::ostream* os) { *os << row.Name; }
};

class CompiledFormula : public ::testing::TestWithParam<TCompileRow> {
protected:
    TCompiledFormula Compiled() const {
        const TCompileRow& row = GetParam();
        TFormulaContext context;
        std::string text = row.Text;
        if (row.Typed) {
            EXPECT_TRUE(PrepareFormula(text, "xy", context));
        }
        return TCompiledFormula(text, row.Letters, context);
    }
};

TEST_P(CompiledFormula, HasAProgramWhereExpectedAndFailsEverywhereOnlyWhenItShould) {
    const TCompiledFormula formula = Compiled();
    EXPECT_EQ(formula.Program() != nullptr, GetParam().HasProgram);
    EXPECT_EQ(formula.FailsEverywhere(), GetParam().FailsEverywhere);
}

TEST_P(CompiledFormula, GivesTheRewritingsCodesAndBits) {
    const TCompiledFormula formula = Compiled();
    const std::vector<long double> points = {0.0L, 1.0L, -2.5L, 1e-6L, 3.75L};
    bool someOk = false;
    for (const long double a : points) {
        for (const long double b : points) {
            std::vector<long double> values{a, b};
            values.resize(formula.Letters().size());
            long double text = -777;
            long double program = -777;
            const EvalResult textCode = formula.Evaluate(values, text, TEvaluator::Text);
            const EvalResult programCode = formula.Evaluate(values, program, TEvaluator::Program);
            EXPECT_EQ(static_cast<int>(programCode), static_cast<int>(textCode)) << a << " " << b;
            if (textCode == EvalOk) {
                someOk = true;
                EXPECT_TRUE(SameValue(program, text)) << a << " " << b;
            }
            if (values.size() < 2) {
                break;
            }
        }
    }
    if (formula.FailsEverywhere()) {
        EXPECT_FALSE(someOk);
    }

    std::vector<TSample> byText(points.size() * points.size());
    std::vector<TSample> byProgram(byText.size(), TSample{1, true});
    if (formula.Letters().size() == 2) {
        EvaluateGrid(formula, points, points, byText, TEvaluator::Text);
        EvaluateGrid(formula, points, points, byProgram, TEvaluator::Program);
    } else {
        byText.resize(points.size());
        byProgram.resize(points.size());
        EvaluateLine(formula, points, byText, TEvaluator::Text);
        EvaluateLine(formula, points, byProgram, TEvaluator::Program);
    }
    for (std::size_t i = 0; i < byText.size(); ++i) {
        EXPECT_EQ(byProgram[i].Ok, byText[i].Ok) << "point " << i;
        if (byText[i].Ok && byProgram[i].Ok) {
            EXPECT_TRUE(SameValue(byProgram[i].Value, byText[i].Value)) << "point " << i;
        }
    }
}

std::string RowName(const ::testing::TestParamInfo<TCompileRow>& info) {
    return info.param.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, CompiledFormula,
    ::testing::Values(
        TCompileRow{"Plain", "sin(x)+x", true, "x", true, false},
        TCompileRow{"UndefinedAtZeroOnly", "1/x", true, "x", true, false},
        TCompileRow{"SurfaceOfTwoLetters", "sin(x*y)-x^2", true, "yx", true, false},
        TCompileRow{"EndsInAStrayAt", "sin(x)+@", true, "x", true, true},
        TCompileRow{"StrayAtAfterAQuotient", "1/x + @", true, "x", true, true},
        TCompileRow{"StrayAtInASurface", "sin(x*y)+@", true, "yx", true, true},
        TCompileRow{"StrayAtInsideAGroup", "cos(@x)+y", true, "yx", true, true},
        TCompileRow{"OnlyAnAt", "@", true, "x", true, true},
        TCompileRow{"UnclosedGroup", "sin(x", true, "x", true, false},
        TCompileRow{"ClosingBracketAlone", "x)", true, "x", true, true},
        TCompileRow{"SyntaxErrorWithoutLetters", "2+*3", true, "", true, true},
        // What looks like a slot name in the formula's own text must not read as one.
        TCompileRow{"MarkedLikeASlotName", "#@0#+#x#", false, "x", true, true},
        TCompileRow{"MarkedLikeASlotNameAlone", "#@0#", false, "x", true, true},
        TCompileRow{"AtAndDollarMarked", "#@0#+#$1#+#x#", false, "x", true, true},
        TCompileRow{"EveryMarkButOne", "x+" + EveryNeutralCharacter().substr(1), true, "x", true,
                    true},
        TCompileRow{"EveryPossibleMark", "#x#+" + EveryNeutralCharacter(), false, "x", false,
                    false},
        TCompileRow{"LongSumEndingInAnAt", LongSumEndingIn("@"), true, "x", true, true},
        TCompileRow{"LongSumThatIsFine", LongSumEndingIn("x"), true, "x", true, false}),
    RowName);

} // namespace
} // namespace kurvant
