// The quick share of the differential test: the program against the rewriting on generated
// formulas, values and both separators. The long run is formula_differential_soak.

#include "formula_differential.h"

#include <gtest/gtest.h>

namespace kurvant::testing {
namespace {

TEST(FormulaProgramDifferential, GivesTheRewritingsCodesAndBits) {
    TDifferentialTally tally;
    RunDifferential(20240611, 200000, 25, tally);
    for (const std::string& mismatch : tally.FirstMismatches) {
        ADD_FAILURE() << mismatch;
    }
    EXPECT_EQ(tally.Mismatches, 0u);
    EXPECT_EQ(tally.MissingPrograms, 0u);
    // The comparison means something only if every outcome occurs often.
    EXPECT_GT(tally.Ok, tally.Evaluations / 5);
    EXPECT_GT(tally.SyntaxErrors, tally.Evaluations / 20);
    EXPECT_GT(tally.MathErrors, tally.Evaluations / 50);
    EXPECT_GT(tally.FormulasWithProgram, tally.Formulas * 9 / 10);
    EXPECT_GT(tally.BatchEvaluations, 10000u);
}

} // namespace
} // namespace kurvant::testing
