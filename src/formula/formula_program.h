#pragma once
// A prepared formula turned into the steps that the rewriting evaluator performs on its text, in
// the order it performs them, so that running the steps gives the rewriting's code and value to
// the last bit without touching any text.

#include "formula/evaluate.h"
#include "formula/formula_context.h"
#include "formula/functions.h"
#include "formula/operations.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kurvant {

/// One step. Every operand that the rewriting reads from the text is checked: a slot holding
/// not-a-number stands for a text that does not read back, and reading it is a syntax error.
/// The left operand of a sum step is the running total, which is never such a slot.
struct TStep {
    TStepOp Op = TStepOp::Fail;
    TFunction Function = TFunction::Sin;
    EvalResult Code = EvalSyntaxError;
    std::uint32_t Out = 0;
    std::uint32_t A = 0;
    std::uint32_t B = 0;
};

/// Slots 0 .. Variables-1 hold the variables' written values, in the order of the letters the
/// program was built for; the constants and every step have slots of their own after those, so
/// each slot is written once.
struct TConstant {
    std::uint32_t Slot = 0;
    long double Value = 0; ///< not-a-number for a text of the formula that does not read
};

struct TFormulaProgram {
    std::uint32_t Variables = 0;
    std::vector<TConstant> Constants;
    std::vector<TStep> Steps;
    std::uint32_t SlotCount = 0;
    std::uint32_t Result = 0;
    /// Per slot: which variables its value depends on, one bit each.
    std::vector<std::uint32_t> Depends;
};

/// The program of a prepared formula into which `letters` are substituted one after the other
/// (a letter given twice finds nothing the second time), as `SubstituteVariable` would. None
/// where the program cannot mirror the rewriting faithfully: letters other than 'a'..'z', more
/// than 32 of them, or a text holding every character that could mark slots while building;
/// such a formula is evaluated by the rewriting itself. Where the rewriting stops for every
/// value, the program ends with a `Fail` step.
std::optional<TFormulaProgram> BuildFormulaProgram(std::string_view prepared,
                                                   std::string_view letters,
                                                   const TFormulaContext& context);

/// Runs the program: `slots` (at least `SlotCount` long) receives every value; the variables'
/// values are those substituted, not yet written. Returns the rewriting's code, and on `EvalOk`
/// its value. Needs `FastRoundingHolds()`.
EvalResult RunFormulaProgram(const TFormulaProgram& program, std::span<const long double> variables,
                             std::span<long double> slots, long double& value);

/// One step on the slots; the code the rewriting would stop with there, or `EvalOk`.
EvalResult RunStep(const TStep& step, std::span<long double> slots);

} // namespace kurvant
