#include "formula/formula_program.h"

#include "formula/written_value.h"

namespace kurvant {

EvalResult RunStep(const TStep& step, std::span<long double> s) {
    if (step.Op == TStepOp::Fail) {
        return step.Code;
    }
    return WithOperation(step.Op, [&](auto op) {
        constexpr TStepOp Op = decltype(op)::value;
        long double value = 0;
        const EvalResult code =
            OperationValue<Op>(step.Function, s[step.A], TwoOperands<Op> ? s[step.B] : 0, value);
        if (code == EvalOk) {
            s[step.Out] = WritesValue<Op> ? WrittenValue(value) : value;
        }
        return code;
    });
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
