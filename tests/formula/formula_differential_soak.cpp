// The long run of the differential test, not run by CTest by default:
//   build/bin/formula_differential_soak [EVALUATIONS [SEED]]      (default 10000000, 1)
//   ctest -C Soak -R soak
// Prints the figures; exits 1 on any mismatch.

#include "formula_differential.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const unsigned long long evaluations =
        argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10000000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    kurvant::testing::TDifferentialTally tally;
    kurvant::testing::RunDifferential(seed, evaluations, 50, tally);
    std::printf("formulas %llu (with a program %llu, missing programs %llu)\n",
                static_cast<unsigned long long>(tally.Formulas),
                static_cast<unsigned long long>(tally.FormulasWithProgram),
                static_cast<unsigned long long>(tally.MissingPrograms));
    std::printf("evaluations %llu: ok %llu, syntax errors %llu, math errors %llu\n",
                static_cast<unsigned long long>(tally.Evaluations),
                static_cast<unsigned long long>(tally.Ok),
                static_cast<unsigned long long>(tally.SyntaxErrors),
                static_cast<unsigned long long>(tally.MathErrors));
    std::printf("line and grid points %llu\n",
                static_cast<unsigned long long>(tally.BatchEvaluations));
    std::printf("mismatches %llu\n", static_cast<unsigned long long>(tally.Mismatches));
    for (const std::string& mismatch : tally.FirstMismatches) {
        std::printf("  %s\n", mismatch.c_str());
    }
    return tally.Mismatches == 0 && tally.MissingPrograms == 0 ? 0 : 1;
}
