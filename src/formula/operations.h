#pragma once
// What each operation of a formula means, written once: the rewriting takes its values from here
// (and writes them into its text), the program's step runner and its block runner take theirs
// from here too (and round them to the written value by arithmetic).
//
// How a new function is added: its name in `FunctionNames` and its member of `TFunction`
// (functions.h, in the order the rewriting looks for names: a name containing another comes after
// it), and its value with its domain test in `ComputeFunction` (functions.cpp). Nothing else
// changes: the scanning of texts (text_rewriting.h) finds it by its name, and every evaluator
// reaches it through `OperationValue`.

#include "formula/evaluate.h"
#include "formula/functions.h"

#include <cmath>
#include <cstdint>
#include <type_traits>

namespace kurvant {

enum class TStepOp : std::uint8_t {
    Function, ///< Out := written(f(A)); the function's own domain errors
    Absolute, ///< Out := |A| for a written A, which writing again leaves as it is
    Power,    ///< Out := written(A ^ B), A the base
    Multiply, ///< Out := written(A * B)
    Divide,   ///< Out := written(A / B); a divisor near zero is a math error
    Add,      ///< Out := A + B, a running sum: not written
    Subtract, ///< Out := A - B, a running sum: not written
    Write,    ///< Out := written(A): a group's sum written back as its marked value
    Fail      ///< the rewriting stops here with `Code`
};

/// A slot holding not-a-number stands for a text that does not read back: reading it is a syntax
/// error.
inline bool Unreadable(long double v) {
    return std::isnan(v);
}

/// Whether the operation reads a second operand, B.
template <TStepOp Op>
inline constexpr bool TwoOperands =
    Op == TStepOp::Power || Op == TStepOp::Multiply || Op == TStepOp::Divide ||
    Op == TStepOp::Add || Op == TStepOp::Subtract;

/// Whether the operation's value is written back into the text (and so rounded to what its
/// text reads as); the running sums are not.
template <TStepOp Op>
inline constexpr bool WritesValue =
    Op != TStepOp::Add&& Op != TStepOp::Subtract&& Op != TStepOp::Absolute;

/// The value of an operation on operands a (the left one, or the only one) and b, before it is
/// written; or the code the rewriting stops with. Only the operands the rewriting reads from the
/// text are checked for reading back: a running sum's left operand is never such a value.
template <TStepOp Op>
inline EvalResult OperationValue(TFunction function, long double a, long double b,
                                 long double& out) {
    if constexpr (Op == TStepOp::Function) {
        return Unreadable(a) ? EvalSyntaxError : ComputeFunction(function, a, out);
    } else if constexpr (Op == TStepOp::Absolute) {
        out = std::fabs(a);
        return Unreadable(a) ? EvalSyntaxError : EvalOk;
    } else if constexpr (Op == TStepOp::Power) {
        return Unreadable(b) || Unreadable(a) ? EvalSyntaxError : ComputePower(a, b, out);
    } else if constexpr (Op == TStepOp::Multiply) {
        out = a * b;
        return Unreadable(b) || Unreadable(a) ? EvalSyntaxError : EvalOk;
    } else if constexpr (Op == TStepOp::Divide) {
        if (Unreadable(b) || Unreadable(a)) {
            return EvalSyntaxError;
        }
        if (std::fabs(b) < DomainEpsilon) {
            return EvalMathError;
        }
        out = a / b;
        return EvalOk;
    } else if constexpr (Op == TStepOp::Add) {
        out = a + b;
        return Unreadable(b) ? EvalSyntaxError : EvalOk;
    } else if constexpr (Op == TStepOp::Subtract) {
        out = a - b;
        return Unreadable(b) ? EvalSyntaxError : EvalOk;
    } else if constexpr (Op == TStepOp::Write) {
        out = a;
        return EvalOk;
    } else {
        return EvalSyntaxError; // Fail: its code is the step's own
    }
}

/// Calls `f` with the operation as a compile-time constant
/// (`std::integral_constant<TStepOp, Op>`), so that each runner picks its loop once per step.
template <typename F> inline decltype(auto) WithOperation(TStepOp op, F&& f) {
    using enum TStepOp;
    switch (op) {
    case Function:
        return f(std::integral_constant<TStepOp, Function>{});
    case Absolute:
        return f(std::integral_constant<TStepOp, Absolute>{});
    case Power:
        return f(std::integral_constant<TStepOp, Power>{});
    case Multiply:
        return f(std::integral_constant<TStepOp, Multiply>{});
    case Divide:
        return f(std::integral_constant<TStepOp, Divide>{});
    case Add:
        return f(std::integral_constant<TStepOp, Add>{});
    case Subtract:
        return f(std::integral_constant<TStepOp, Subtract>{});
    case Write:
        return f(std::integral_constant<TStepOp, Write>{});
    case Fail:
        break;
    }
    return f(std::integral_constant<TStepOp, Fail>{});
}

} // namespace kurvant
