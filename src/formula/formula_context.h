#pragma once

#include <string>

namespace kurvant {

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
};

} // namespace kurvant
