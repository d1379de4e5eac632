#pragma once
// A prepared formula made ready to be evaluated many times: its program where one can be built,
// and always its text, which the rewriting evaluator reads when there is no program or when the
// rewriting is asked for by name.

#include "formula/evaluate.h"
#include "formula/formula_context.h"
#include "formula/formula_program.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kurvant {

class TCompiledFormula {
public:
    /// `letters` are the variables in the order their values are given (and substituted).
    TCompiledFormula(std::string_view prepared, std::string_view letters,
                     const TFormulaContext& context);

    /// The value with `values[i]` for `letters[i]`, one value per letter: `SubstituteVariable` for
    /// each letter in turn, then `EvaluateFormula`; or the program, which gives the same code and
    /// value.
    EvalResult Evaluate(std::span<const long double> values, long double& value,
                        TEvaluator evaluator = TEvaluator::Program) const;

    /// `text` with `values[k]` substituted for `letters[first + k]`, one letter after the other.
    std::string Substituted(std::string_view text, std::span<const long double> values,
                            std::size_t first) const;

    /// The program, or null when the formula is left to the rewriting.
    const TFormulaProgram* Program() const { return Built ? &*Built : nullptr; }

    /// Whether the formula has a value nowhere: its program ends in a `Fail` step, which it
    /// reaches wherever no earlier step fails (the code may still differ from point to point).
    bool FailsEverywhere() const { return FailsAlways; }

    /// Whether the program computes here and now: it exists, and the floating-point environment
    /// of the calling thread is the one its rounding needs.
    bool ProgramUsable() const;

    std::string_view Prepared() const { return Text; }
    std::string_view Letters() const { return LetterList; }
    const TFormulaContext& Context() const { return Ctx; }

private:
    std::string Text;
    std::string LetterList;
    TFormulaContext Ctx;
    std::optional<TFormulaProgram> Built;
    bool FailsAlways = false;
};

} // namespace kurvant
