#pragma once

#include <string>
#include <string_view>

namespace kurvant {

/// `NumberText`: the one text form of numbers in formulas. The exact binary value is rounded to
/// 15 significant digits (halves away from zero), trailing zeros are dropped, and fixed notation is
/// used for magnitudes from 0.0001 up to below 10^15 (decided after rounding), otherwise '2,5E20',
/// '1E-5'. Zero of either sign is "0", infinities "INF" and "-INF", not-a-number "NAN".
std::string NumberText(long double value, char decimalSeparator);

/// Reads the text of a marked number: `[-]digits[SEP digits][E[+|-]digits]` with at least one
/// mantissa digit, correctly rounded. Anything else, and a value too large for the type, fails.
bool ReadNumberText(std::string_view text, char decimalSeparator, long double& value);

} // namespace kurvant
