#include "formula/formula_program.h"

#include "formula/written_value.h"

#include <cmath>

namespace kurvant {

namespace {

// Reading a slot that holds a text which does not read back.
bool Unreadable(long double v) {
    return std::isnan(v);
}

} // namespace

EvalResult RunStep(const TStep& step, std::span<long double> s) {
    switch (step.Op) {
    case TStepOp::Function: {
        const long double argument = s[step.A];
        if (Unreadable(argument)) {
            return EvalSyntaxError;
        }
        long double result = 0;
        const EvalResult code = ComputeFunction(step.Function, argument, result);
        if (code != EvalOk) {
            return code;
        }
        s[step.Out] = WrittenValue(result);
        return EvalOk;
    }
    case TStepOp::Absolute:
        if (Unreadable(s[step.A])) {
            return EvalSyntaxError;
        }
        s[step.Out] = std::fabs(s[step.A]);
        return EvalOk;
    case TStepOp::Power: {
        const long double base = s[step.A];
        const long double exponent = s[step.B];
        if (Unreadable(exponent) || Unreadable(base)) {
            return EvalSyntaxError;
        }
        long double result = 0;
        const EvalResult code = ComputePower(base, exponent, result);
        if (code != EvalOk) {
            return code;
        }
        s[step.Out] = WrittenValue(result);
        return EvalOk;
    }
    case TStepOp::Multiply:
        if (Unreadable(s[step.B]) || Unreadable(s[step.A])) {
            return EvalSyntaxError;
        }
        s[step.Out] = WrittenValue(s[step.A] * s[step.B]);
        return EvalOk;
    case TStepOp::Divide:
        if (Unreadable(s[step.B]) || Unreadable(s[step.A])) {
            return EvalSyntaxError;
        }
        if (std::fabs(s[step.B]) < DomainEpsilon) {
            return EvalMathError;
        }
        s[step.Out] = WrittenValue(s[step.A] / s[step.B]);
        return EvalOk;
    case TStepOp::Add:
        if (Unreadable(s[step.B])) {
            return EvalSyntaxError;
        }
        s[step.Out] = s[step.A] + s[step.B];
        return EvalOk;
    case TStepOp::Subtract:
        if (Unreadable(s[step.B])) {
            return EvalSyntaxError;
        }
        s[step.Out] = s[step.A] - s[step.B];
        return EvalOk;
    case TStepOp::Write:
        s[step.Out] = WrittenValue(s[step.A]);
        return EvalOk;
    case TStepOp::Fail:
        return step.Code;
    }
    return EvalSyntaxError;
}

EvalResult RunFormulaProgram(const TFormulaProgram& program, std::span<const long double> variables,
                             std::span<long double> slots, long double& value) {
    for (std::uint32_t i = 0; i < program.Variables; ++i) {
        slots[i] = WrittenValue(variables[i]);
    }
    for (const TConstant& constant : program.Constants) {
        slots[constant.Slot] = constant.Value;
    }
    for (const TStep& step : program.Steps) {
        const EvalResult code = RunStep(step, slots);
        if (code != EvalOk) {
            return code;
        }
    }
    value = slots[program.Result];
    return EvalOk;
}

} // namespace kurvant
