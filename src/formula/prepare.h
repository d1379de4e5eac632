#pragma once

#include "formula/formula_context.h"

#include <string>
#include <string_view>

namespace kurvant {

/// `PrepareFormula`: rewrites a typed formula in place into its prepared form, in which every
/// number and every variable occurrence is enclosed in '#' ('2x^2 - 3.5x' becomes
/// '#2#*#x#^#2#-#3,5#*#x#' with ',' as separator). Sets `FormulaRewritten` in the context, and
/// `RewrittenFormula` when a '*' was inserted. Fails, leaving everything as it was, only when the
/// text is empty once blanks are removed; any other fault shows when the formula is evaluated.
[[nodiscard]] bool PrepareFormula(std::string& formula, std::string_view variables,
                                  TFormulaContext& context);

/// `SubstituteVariable`: a copy of a prepared text in which every marked occurrence of the letter
/// ('#x#') holds the marked `NumberText` of the value instead.
std::string SubstituteVariable(std::string_view prepared, char letter, long double value,
                               const TFormulaContext& context);

/// A copy of a prepared text in which every marked occurrence of the letter ('#x#') holds
/// `replacement` between its markers instead: the substitution of a value's text, or of a slot
/// name when a formula's program is built.
std::string WithMarkedLetterReplaced(std::string_view prepared, char letter,
                                     std::string_view replacement);

} // namespace kurvant
