#pragma once

#include "formula/formula_context.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kurvant {

/// `EvalResult`: how an evaluation ended. A syntax error means "not a formula"; a math error
/// means "a formula, but not defined here" (sampling leaves a gap, dialogs accept it).
enum EvalResult : std::uint8_t { EvalOk = 0, EvalSyntaxError = 1, EvalMathError = 2 };

/// Parentheses nested deeper than this give `EvalSyntaxError`.
inline constexpr std::size_t MaxNesting = 10000;

/// `EvaluateFormula`: the value of a prepared formula whose variables have all been substituted.
/// Works by rewriting the text operation by operation; every value written back into the text is
/// rounded to its `NumberText`, the final sum is not. `value` is written only on `EvalOk`.
[[nodiscard]] EvalResult EvaluateFormula(std::string_view text, long double& value,
                                         const TFormulaContext& context);

} // namespace kurvant
