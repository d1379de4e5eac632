#pragma once
// The program against the rewriting on generated formulas: same code, and on `EvalOk` the same
// bits. Shared by the quick test and the long run.

#include <cstdint>
#include <string>
#include <vector>

namespace kurvant::testing {

struct TDifferentialTally {
    std::uint64_t Formulas = 0;
    std::uint64_t FormulasWithProgram = 0;
    std::uint64_t Evaluations = 0;      ///< single evaluations compared
    std::uint64_t BatchEvaluations = 0; ///< points of lines and grids compared
    std::uint64_t Ok = 0;
    std::uint64_t SyntaxErrors = 0;
    std::uint64_t MathErrors = 0;
    std::uint64_t Mismatches = 0;
    /// Programs that were missing although the formula gave no reason to refuse one.
    std::uint64_t MissingPrograms = 0;
    std::vector<std::string> FirstMismatches; ///< described, at most ten
};

/// Compares at least `evaluations` single evaluations, formulas made from `seed`; every
/// `batchEvery`-th formula (0: none) is also compared on a small line and grid.
void RunDifferential(std::uint64_t seed, std::uint64_t evaluations, std::uint64_t batchEvery,
                     TDifferentialTally& tally);

} // namespace kurvant::testing
