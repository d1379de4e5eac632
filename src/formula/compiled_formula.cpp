#include "formula/compiled_formula.h"

#include "formula/prepare.h"
#include "formula/written_value.h"

#include <vector>

namespace kurvant {

TCompiledFormula::TCompiledFormula(std::string_view prepared, std::string_view letters,
                                   const TFormulaContext& context)
    : Text(prepared), LetterList(letters) {
    Ctx.DecimalSeparator = context.DecimalSeparator;
    // Constants are judged by the rounding they meet when the program runs.
    if (FastRoundingHolds()) {
        Built = BuildFormulaProgram(prepared, letters, context);
    }
    FailsAlways =
        Built.has_value() && !Built->Steps.empty() && Built->Steps.back().Op == TStepOp::Fail;
}

bool TCompiledFormula::ProgramUsable() const {
    return Built.has_value() && FastRoundingHolds();
}

std::string TCompiledFormula::Substituted(std::string_view text,
                                          std::span<const long double> values,
                                          std::size_t first) const {
    std::string s(text);
    for (std::size_t i = first; i < LetterList.size() && i < first + values.size(); ++i) {
        s = SubstituteVariable(s, LetterList[i], values[i - first], Ctx);
    }
    return s;
}

EvalResult TCompiledFormula::Evaluate(std::span<const long double> values, long double& value,
                                      TEvaluator evaluator) const {
    if (evaluator == TEvaluator::Program && values.size() == LetterList.size() && ProgramUsable()) {
        std::vector<long double> slots(Built->SlotCount);
        return RunFormulaProgram(*Built, values, slots, value);
    }
    return EvaluateFormula(Substituted(Text, values, 0), value, Ctx);
}

} // namespace kurvant
