#pragma once

#include <cstdint>
#include <string>

namespace kurvant {

struct TBatchControl;

/// Which evaluator computes a formula's values.
enum class TEvaluator : std::uint8_t {
    Program, ///< the formula's program where it has one, else the rewriting
    Text     ///< always the rewriting of the text: the reference, slow
};

/// What the formula engine keeps for the whole run: the decimal separator that every number text
/// uses, and the results of the last `PrepareFormula` call that the graph dialog reads for its
/// conversion notice. One object is owned by the application and passed to the engine.
struct TFormulaContext {
    /// `DecimalSeparator`: ',' or '.'; the locale's choice, but settable.
    char DecimalSeparator = '.';
    /// `FormulaRewritten`: the last preparation inserted at least one '*'.
    bool FormulaRewritten = false;
    /// `RewrittenFormula`: the text after the '*' insertion of the last preparation that inserted
    /// one; left as it was by a preparation that inserted none.
    std::string RewrittenFormula;
    /// The evaluator of sampling and of the command line's eval; `Text` for kurvant-cli's
    /// --literal, which checks the program against the rewriting from outside.
    TEvaluator Evaluator = TEvaluator::Program;
    /// Where sampling runs off the window's thread: its progress and its cancel (none: sampling
    /// runs to the end).
    TBatchControl* Batch = nullptr;
};

} // namespace kurvant
