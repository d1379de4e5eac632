#pragma once
// The one scanner of decimal number texts. Every reader of numbers (marked numbers in formulas,
// numbers the user types, single numbers of files) takes the same shape,
//     [sign] digits [mark digits] [exponent-letter [sign] digits]
// with at least one digit in the mantissa, and differs only in the details of `TDecimalSyntax`.

#include <optional>
#include <string>
#include <string_view>

namespace kurvant {

struct TDecimalSyntax {
    std::string_view Signs = "-"; ///< the signs allowed in front of the number
    std::string_view Marks = "."; ///< the characters taken as the decimal mark
    std::string_view ExponentLetters =
        "E"; ///< the letters that open an exponent; none: no exponent
};

/// The whole of `text` scanned as a decimal number; its C form ("-12.5e3": '.' as the mark, 'e'
/// as the exponent letter, no '+' in front) for strtod-like conversion, or nothing when `text`
/// is not such a number. Words such as "inf" or "nan" and hexadecimal are never numbers here.
std::optional<std::string> ScanDecimal(std::string_view text, const TDecimalSyntax& syntax);

/// `ScanDecimal`, then the value as the nearest double; fails (leaving `value`) for texts that are
/// no number and for values beyond the double range.
bool ReadDecimalDouble(std::string_view text, const TDecimalSyntax& syntax, double& value);

} // namespace kurvant
