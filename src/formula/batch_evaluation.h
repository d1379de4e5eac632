#pragma once
// A formula evaluated at many points at once, as sampling needs it: along a line of values of
// one variable, or over a grid of two.

#include "formula/batch_control.h"
#include "formula/compiled_formula.h"

#include <span>

namespace kurvant {

/// One evaluation: whether it gave `EvalOk`, and then its value.
struct TSample {
    long double Value = 0;
    bool Ok = false;
};

/// `out[i]`: the formula, of one letter, at `points[i]`. With a `control`, each evaluation is
/// counted in it as it ends, and a cancel stops the batch soon, leaving `out` incomplete.
void EvaluateLine(const TCompiledFormula& formula, std::span<const long double> points,
                  std::span<TSample> out, TEvaluator evaluator, TBatchControl* control = nullptr);

/// `out[j * columns.size() + i]`: the formula, of two letters, with the first letter at `rows[j]`
/// and the second at `columns[i]`. The text path substitutes the first once per row, as the
/// program always has; the program computes what depends on one letter only once per row or
/// column, and spreads the rows over the cores.
void EvaluateGrid(const TCompiledFormula& formula, std::span<const long double> rows,
                  std::span<const long double> columns, std::span<TSample> out,
                  TEvaluator evaluator, TBatchControl* control = nullptr);

} // namespace kurvant
