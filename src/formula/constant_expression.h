#pragma once
// A formula without variables, as number fields take one: "2pi", "-pi/2", "sqrt(2)", "1/3", "e".

#include <cstdint>
#include <string_view>

namespace kurvant {

/// How the reading of a constant expression ended.
enum class TConstantOutcome : std::uint8_t {
    Value,       ///< the expression has a value
    NotAFormula, ///< nothing to read: an empty text or blanks only
    SyntaxError, ///< no expression of the formula language: 'pi+', 'x', '2*-3'
    NotDefined   ///< an expression with no value: '1/0', 'sqrt(-1)', 'ln(0)'
};

struct TConstantValue {
    TConstantOutcome Outcome = TConstantOutcome::NotAFormula;
    long double Value = 0; ///< finite; meaningful only for `Value`
};

/// The value of a formula of the formula language that has no variable, prepared and evaluated as
/// any formula is (either decimal mark, implicit products, "pi" as π with fifteen digits). The
/// letter e standing alone is Euler's number, written with fifteen digits as π is; inside a name
/// ("exp", "sec") it is part of the name. A value that is not finite counts as not defined.
TConstantValue EvaluateConstant(std::string_view text, char decimalSeparator);

} // namespace kurvant
