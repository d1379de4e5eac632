#pragma once

#include "formula/evaluate.h"

#include <array>
#include <string_view>

namespace kurvant {

/// The functions of the formula language in the order in which the evaluator looks for them.
/// Every name that contains another name comes after it.
enum class TFunction {
    Sin,
    Cos,
    Tg,
    Ctg,
    ArcSin,
    ArcCos,
    ArcTg,
    ArcCtg,
    Abs,
    Ln,
    Lg,
    Exp,
    Sec,
    Csc,
    Sqrt,
    Round
};

inline constexpr std::array<std::string_view, 16> FunctionNames = {
    "sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg",
    "abs", "ln",  "lg", "exp", "sec",    "csc",    "sqrt",  "round"};

/// The threshold of every domain test.
inline constexpr long double DomainEpsilon = 1e-5L;

/// The value of a function, or `EvalMathError` outside its domain.
EvalResult ComputeFunction(TFunction function, long double argument, long double& result);

/// base^exponent as the '^' operator computes it, or `EvalMathError` for a negative base with a
/// fractional exponent and for a base near zero with a negative exponent.
EvalResult ComputePower(long double base, long double exponent, long double& result);

} // namespace kurvant
