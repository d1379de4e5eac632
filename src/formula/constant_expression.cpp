#include "formula/constant_expression.h"

#include "formula/evaluate.h"
#include "formula/prepare.h"

#include <cmath>
#include <numbers>
#include <string>

namespace kurvant {

TConstantValue EvaluateConstant(std::string_view text, char decimalSeparator) {
    // A context of its own: the graph dialog's conversion notice reads the record of the last
    // preparation in the run's context, which reading a number must not touch.
    TFormulaContext context;
    context.DecimalSeparator = decimalSeparator;
    context.Evaluator = TEvaluator::Text;
    std::string prepared(text);
    // e is prepared as a variable: marked only where it stands alone, so "exp" and "sec" keep it.
    if (!PrepareFormula(prepared, "e", context)) {
        return {TConstantOutcome::NotAFormula, 0};
    }
    prepared = SubstituteVariable(prepared, 'e', std::numbers::e_v<long double>, context);
    long double value = 0;
    switch (EvaluateFormula(prepared, value, context)) {
    case EvalOk:
        break;
    case EvalSyntaxError:
        return {TConstantOutcome::SyntaxError, 0};
    case EvalMathError:
        return {TConstantOutcome::NotDefined, 0};
    }
    if (!std::isfinite(value)) {
        return {TConstantOutcome::NotDefined, 0};
    }
    return {TConstantOutcome::Value, value};
}

} // namespace kurvant
